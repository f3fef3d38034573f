# Shared by the benchmark scripts: timing and arithmetic.
now() { date +%s.%N; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
calc() { awk "BEGIN {print $*}"; }
# Writes before a timed step are let settle (sync, pause), so that no step
# pays for the write-back of another.
settle() { sync; sleep "${SETTLE:-3}"; }
