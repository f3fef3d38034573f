#!/usr/bin/env bash
# Benchmark of the window's file list: rebuilding the list box for a folder of
# 100,000 matching files, against `zormin-cli list` of the same folder
# (target: within 5x). Each figure is the median of ROUNDS runs (default 5)
# on a warm page cache. The window runs on a virtual display (xvfb-run).
# Usage: bench/window_bench.sh [WORKDIR]   (default: a temporary folder)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
rounds=${ROUNDS:-5}
work=${1:-}
if [ -z "$work" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" >/dev/null
cmake --build "$here/build" --target window_refresh >/dev/null

now() { date +%s.%N; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
calc() { awk "BEGIN {print $*}"; }

many="$work/window-many"
if [ ! -d "$many" ] || [ "$(ls -f "$many" | wc -l)" -ne 100002 ]; then
  rm -rf "$many"; mkdir -p "$many"
  (cd "$many" && seq 1 100000 | awk '{printf "<P>%d</P>\n", $1}' | split -l 1 -a 5 -d --additional-suffix=.htm - Page_)
fi
ls -f "$many" >/dev/null

cli_times=()
for ((i = 1; i <= rounds; i++)); do
  t0=$(now); "$here/build/zormin-cli" list "$many" >/dev/null; t1=$(now)
  cli_times+=("$(calc "$t1 - $t0")")
done
cli_med=$(printf '%s\n' "${cli_times[@]}" | median)
read -r window_med count < <(GSETTINGS_BACKEND=memory xvfb-run -a -s "-screen 0 1024x768x24" \
  "$here/build/window_refresh" "$many" "$rounds" 2>/dev/null)
[ "$count" -eq 100000 ] || { echo "the window listed $count files" >&2; exit 1; }
printf 'zormin-cli list (100,000 files):  %.3f s (median of %d)\n' "$cli_med" "$rounds"
printf 'window list rebuild:              %.3f s (median of %d)\n' "$window_med" "$rounds"
printf 'ratio window / zormin-cli list:   %.2f (target <= 5)\n' "$(calc "$window_med / $cli_med")"
