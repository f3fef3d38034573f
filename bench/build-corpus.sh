#!/usr/bin/env bash
# Makes the benchmarks' HTML corpus, about 3,000 real files and 100 MB, in
# WORKDIR/corpus, from the HTML manuals of Debian documentation packages,
# which it installs where missing (root or sudo). The Japanese pages are also
# written in Shift_JIS, EUC-JP and ISO-2022-JP, so that the legacy encodings
# get their share. A corpus made before is kept.
# Usage: bench/build-corpus.sh WORKDIR
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mkdir -p "${1:?usage: build-corpus.sh WORKDIR}" && cd "$1" && pwd)
corpus="$work/corpus"
[ -d "$corpus" ] && exit 0

"$here/scripts/install-deps.sh" python3.11-doc postgresql-doc-15 apache2-doc \
  debian-reference-en debian-reference-ja

part="$corpus.part"
rm -rf "$part"
mkdir -p "$part"
# Copies the HTML files under FOLDER into the corpus folder NAME.
take() {
  local from=$1 name=$2
  mkdir -p "$part/$name"
  (cd "$from" && find -L . -type f \( -iname '*.html' -o -iname '*.htm' \) -print0 |
     xargs -0 -r cp -L --parents -t "$part/$name")
}
take /usr/share/doc/python3.11/html python
take /usr/share/doc/postgresql-doc-15/html postgresql
take /usr/share/doc/apache2-doc/manual/en apache-en
take /usr/share/doc/apache2-doc/manual/ja apache-ja
take /usr/share/debian-reference debian-reference

# The Japanese pages, declared and written in each legacy encoding (CP932
# for Shift_JIS, as Japanese Windows writes it).
japanese=$(cd "$part" && find apache-ja debian-reference -type f \( -path 'apache-ja/*' -o -name '*.ja.html' \))
for enc in Shift_JIS EUC-JP ISO-2022-JP; do
  to=$enc
  [ "$enc" = Shift_JIS ] && to=CP932
  while IFS= read -r f; do
    mkdir -p "$part/$enc/$(dirname "$f")"
    # -c drops the few characters the encoding lacks; iconv then exits 1.
    sed "s/charset=utf-8/charset=$enc/I" "$part/$f" | iconv -c -f UTF-8 -t "$to" >"$part/$enc/$f" || true
  done <<<"$japanese"
done
mv "$part" "$corpus"
echo "corpus: $(find "$corpus" -type f | wc -l) files, $(du -sb "$corpus" | cut -f1) bytes"
