# Shared by the benchmark scripts: the folders, the build, timing and
# arithmetic. Sourced with the script's arguments: $1 is the work folder.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mkdir -p "${1:-$here/bench/out}" && cd "${1:-$here/bench/out}" && pwd)
cli="$here/build/zormin-cli"
rounds=${ROUNDS:-5}
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" >/dev/null
# The HTML corpus, made once in $work/corpus.
"$here/bench/build-corpus.sh" "$work"

now() { date +%s.%N; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
calc() { awk "BEGIN {print $*}"; }
# Writes before a timed step are let settle (sync, pause), so that no step
# pays for the write-back of another.
settle() { sync; sleep "${SETTLE:-3}"; }
