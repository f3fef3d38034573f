#!/usr/bin/env bash
# Benchmark of the folder commands. Prints, measured in one run:
#  - `zormin-cli list --type "*.*"` of a folder of 100,000 small files,
#    against `ls -f FOLDER | sort -f` (target: within 2x);
#  - `zormin-cli run --lower --all --type "*.*" --yes` over the HTML corpus
#    flattened into one folder, against `cp -r` of that folder (target:
#    within 1.5x).
# Each figure is the median of ROUNDS runs (default 5) on a warm page cache.
# Usage: bench/folder_bench.sh [WORKDIR]   (default bench/out; needs about 1 GB)
set -euo pipefail
# shellcheck source=bench/lib.sh
. "$(dirname "$0")/lib.sh"



# --- Listing 100,000 files -------------------------------------------------
many="$work/many"
if [ ! -d "$many" ] || [ "$(ls -f "$many" | wc -l)" -ne 100002 ]; then
  rm -rf "$many"; mkdir -p "$many"
  # One line per file; the names come in pairs that differ only in case, so
  # that the case-blind order and its tie-break both have work to do.
  (cd "$many" &&
   seq 1 50000 | awk '{printf "<P>line %d</P>\n", $1}' | split -l 1 -a 5 -d --additional-suffix=.htm - Page_ &&
   seq 1 50000 | awk '{printf "<P>LINE %d</P>\n", $1}' | split -l 1 -a 5 -d --additional-suffix=.HTM - PAGE_)
fi
echo "list folder: $(ls -f "$many" | wc -l) entries (with . and ..)"
ls -f "$many" >/dev/null
list_times=() ref_times=()
for ((i = 1; i <= rounds; i++)); do
  t0=$(now); LC_ALL=C ls -f "$many" | LC_ALL=C sort -f >/dev/null; t1=$(now)
  ref_times+=("$(calc "$t1 - $t0")")
  t0=$(now); "$cli" list --type '*.*' "$many" >/dev/null; t1=$(now)
  list_times+=("$(calc "$t1 - $t0")")
done
[ "$("$cli" list --type '*.*' "$many" | wc -l)" -eq 100000 ] || { echo "list printed a wrong count" >&2; exit 1; }
ref_med=$(printf '%s\n' "${ref_times[@]}" | median)
list_med=$(printf '%s\n' "${list_times[@]}" | median)
printf 'ls -f | sort -f (C locale):    %.3f s (median of %d)\n' "$ref_med" "$rounds"
printf 'zormin-cli list --type "*.*":  %.3f s (median of %d)\n' "$list_med" "$rounds"
printf 'ratio list / ls|sort:          %.2f (target <= 2)\n' "$(calc "$list_med / $ref_med")"

# --- A conversion run over the corpus in one folder -------------------------
flat="$work/flat"
if [ ! -d "$flat" ]; then
  mkdir -p "$flat.part"
  # A running number in front keeps names apart that the folders kept apart.
  (cd "$work/corpus" && find . -type f | sort | awk '{n = $0; sub(/.*\//, "", n); printf "%s\t%05d_%s\n", $0, NR, n}') |
    while IFS=$'\t' read -r from to; do cp -p "$work/corpus/$from" "$flat.part/$to"; done
  mv "$flat.part" "$flat"
fi
echo "run folder: $(ls -f "$flat" | wc -l) entries, $(du -sb "$flat" | cut -f1) bytes"
cat "$flat"/* >/dev/null
cp_times=() run_times=()
for ((i = 1; i <= rounds; i++)); do
  rm -rf "$work/copy" "$work/conv"
  cp -r "$flat" "$work/conv"
  settle
  t0=$(now); cp -r "$flat" "$work/copy"; t1=$(now)
  cp_times+=("$(calc "$t1 - $t0")")
  settle
  t0=$(now)
  status=0
  "$cli" run --lower --all --type '*.*' --yes "$work/conv" 2>"$work/run.log" || status=$?
  t1=$(now)
  run_times+=("$(calc "$t1 - $t0")")
done
cp_med=$(printf '%s\n' "${cp_times[@]}" | median)
run_med=$(printf '%s\n' "${run_times[@]}" | median)
echo "last run: exit $status, $(wc -l <"$work/run.log") lines of messages"
printf 'cp -r folder:                  %.3f s (median of %d)\n' "$cp_med" "$rounds"
printf 'zormin-cli run --lower --all:  %.3f s (median of %d)\n' "$run_med" "$rounds"
printf 'ratio run / cp -r:             %.2f (target <= 1.5)\n' "$(calc "$run_med / $cp_med")"
rm -rf "$work/copy" "$work/conv"
