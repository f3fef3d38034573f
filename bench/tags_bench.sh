#!/usr/bin/env bash
# Benchmark of the tag conversion. Prints, measured in one run:
#  - converting every file of the HTML corpus in place with `zormin-cli tags
#    --lower`, against `cp -r` of the same corpus (target: within 1.5x);
#  - the peak memory of converting one generated 1 GB file, in place, as a
#    filter from a file and as a filter from a pipe (target: under 16 MB).
# Usage: bench/tags_bench.sh [WORKDIR]   (default bench/out; needs about 3 GB)
set -euo pipefail
# shellcheck source=bench/lib.sh
. "$(dirname "$0")/lib.sh"

cmake --build "$here/build" --target replace_floor >/dev/null
floor="$here/build/replace_floor"
corpus="$work/corpus"
echo "corpus: $(find "$corpus" -type f | wc -l) files, $(du -sb "$corpus" | cut -f1) bytes"


# Warm the page cache so that both sides read from memory.
cat $(find "$corpus" -type f) >/dev/null 2>&1 || find "$corpus" -type f -exec cat {} + >/dev/null

cp_times=() floor_times=() conv_times=()
for ((i = 1; i <= rounds; i++)); do
  rm -rf "$work/copy" "$work/conv" "$work/floor"
  cp -r "$corpus" "$work/conv"
  cp -r "$corpus" "$work/floor"
  settle
  t0=$(now); cp -r "$corpus" "$work/copy"; t1=$(now)
  cp_times+=("$(calc "$t1 - $t0")")
  settle
  t0=$(now); find "$work/floor" -type f | "$floor"; t1=$(now)
  floor_times+=("$(calc "$t1 - $t0")")
  settle
  t0=$(now)
  find "$work/conv" -type f -print0 | xargs -0 "$cli" tags --lower 2>/dev/null || true
  t1=$(now)
  conv_times+=("$(calc "$t1 - $t0")")
done
rm -rf "$work/copy" "$work/conv" "$work/floor"
cp_med=$(printf '%s\n' "${cp_times[@]}" | median)
floor_med=$(printf '%s\n' "${floor_times[@]}" | median)
conv_med=$(printf '%s\n' "${conv_times[@]}" | median)
echo "cp -r times:                  ${cp_times[*]}"
echo "replace-only times:           ${floor_times[*]}"
echo "conversion times:             ${conv_times[*]}"
printf 'cp -r corpus:                 %.3f s (median of %d)\n' "$cp_med" "$rounds"
printf 'replace only (no conversion): %.3f s (temporary file and rename for each file)\n' "$floor_med"
printf 'zormin-cli tags --lower:      %.3f s\n' "$conv_med"
printf 'ratio conversion / cp -r:     %.2f (target <= 1.5)\n' "$(calc "$conv_med / $cp_med")"
printf 'ratio conversion / replace:   %.2f\n' "$(calc "$conv_med / $floor_med")"

big="$work/big.htm"
# One 1 GB file made of corpus pages, made afresh (the last step converts it).
{ find "$corpus" -type f -name "*.html" | head -200 | xargs cat 2>/dev/null || true; } | head -c 1048576 >"$work/piece.htm"
for ((i = 0; i < 1024; i++)); do cat "$work/piece.htm"; done >"$big"
peak() { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1; }
echo "generated file: $(stat -c %s "$big") bytes"
printf 'peak memory, in place:        %s KB\n' "$(peak "$cli" tags --lower "$big")"
printf 'peak memory, filter (file):   %s KB\n' "$(/usr/bin/time -f '%M' "$cli" tags --upper <"$big" 2>&1 >/dev/null | tail -n 1)"
printf 'peak memory, filter (pipe):   %s KB\n' "$(cat "$big" | /usr/bin/time -f '%M' "$cli" tags --lower 2>&1 >/dev/null | tail -n 1)"
t0=$(now); "$cli" tags --upper "$big"; t1=$(now)
printf 'time, 1 GB in place:          %.2f s\n' "$(calc "$t1 - $t0")"
