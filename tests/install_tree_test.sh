#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks the tree with the
# tools that read it: desktop-file-validate, appstreamcli, man and bash.
# Usage: install_tree_test.sh BUILD_DIR HAVE_WINDOW(0|1)
. "$(dirname "$0")/shell_check.sh"

if ! DESTDIR=$root/dest cmake --install "$build" --prefix /usr >"$root/install.log" 2>&1; then
  cat "$root/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi
usr=$root/dest/usr
app_id=org.example.Zormin

expected=(
  bin/zormin-cli
  share/man/man1/zormin-cli.1.gz
  share/bash-completion/completions/zormin-cli
  share/doc/zormin/copyright
  share/doc/zormin/changelog.gz
  share/locale/ja/LC_MESSAGES/zormin-cli.mo
)
window_files=(
  bin/zormin
  share/man/man1/zormin.1.gz
  share/applications/$app_id.desktop
  share/metainfo/$app_id.metainfo.xml
  share/icons/hicolor/16x16/apps/$app_id.png
  share/icons/hicolor/32x32/apps/$app_id.png
  share/icons/hicolor/48x48/apps/$app_id.png
  share/icons/hicolor/128x128/apps/$app_id.png
  share/icons/hicolor/scalable/apps/$app_id.svg
)
if [ "$have_window" = 1 ]; then
  expected+=("${window_files[@]}")
else
  echo "note: the window program is not built; its files are not expected"
  for f in "${window_files[@]}"; do
    [ ! -e "$usr/$f" ] || fail "$f installed without the window program"
  done
fi
for f in "${expected[@]}"; do
  [ -f "$usr/$f" ] || fail "$f missing"
done
[ -x "$usr/bin/zormin-cli" ] || fail "bin/zormin-cli not executable"

# The installed program runs, and every place that states the version agrees.
version=$("$usr/bin/zormin-cli" --version | awk '{print $2}')
[ -n "$version" ] || fail "installed zormin-cli --version printed nothing"
changelog_version=$(zcat "$usr/share/doc/zormin/changelog.gz" | sed -n '1s/^zormin (\([^)]*\)).*/\1/p')
[ "$changelog_version" = "$version" ] || fail "changelog says $changelog_version, the program $version"

# The installed program finds its message catalogs where they were put.
if locale -a 2>/dev/null | grep -qix 'ja_JP.utf-8\|ja_JP.utf8'; then
  mkdir -p "$root/empty"
  said=$(cd "$root/empty" && LANG=ja_JP.UTF-8 LC_ALL= LANGUAGE= "$usr/bin/zormin-cli" run --lower --all . 2>&1)
  [[ $said == *変換対象ファイルがありません* ]] || fail "installed zormin-cli speaks no Japanese: $said"
else
  echo "note: the locale ja_JP.UTF-8 is not installed; the Japanese messages are not checked"
fi

# Desktop entry and metainfo: the window's, checked as installed; without the
# window, the sources are checked so that they stay valid.
packaging=$(dirname "$0")/../packaging
desktop=$usr/share/applications/$app_id.desktop
metainfo=$usr/share/metainfo/$app_id.metainfo.xml
if [ "$have_window" != 1 ]; then
  desktop=$packaging/$app_id.desktop
  metainfo=$packaging/$app_id.metainfo.xml
fi
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate says: $out"
for key in Name 'Name\[ja\]' Comment 'Comment\[ja\]' Icon Categories Keywords; do
  grep -q "^$key=" "$desktop" || fail "desktop entry has no $key"
done
grep -qx "Exec=zormin" "$desktop" || fail "desktop entry does not run zormin directly"
grep -qx "Icon=$app_id" "$desktop" || fail "desktop entry's icon is not $app_id"
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  fail "metainfo does not launch $app_id.desktop"
grep -q '<summary xml:lang="ja">' "$metainfo" || fail "metainfo has no Japanese summary"
grep -q '<p xml:lang="ja">' "$metainfo" || fail "metainfo has no Japanese description"
grep -q '<screenshot' "$metainfo" || fail "metainfo has no screenshot"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"
if [ "$have_window" = 1 ]; then
  # Ties the component, its desktop entry and its icons together.
  out=$(appstreamcli validate-tree --no-net "$root/dest" 2>&1) || fail "appstreamcli validate-tree: $out"
fi

# Manual pages render without a warning, and document every option that
# zormin-cli --help names...
pages=(zormin-cli)
[ "$have_window" = 1 ] && pages+=(zormin)
for page in "${pages[@]}"; do
  file=$usr/share/man/man1/$page.1.gz
  [ -f "$file" ] || continue
  warnings=$(MANWIDTH=80 man --warnings -l "$file" 2>&1 >"$root/$page.txt")
  [ -z "$warnings" ] || fail "man $page: $warnings"
  for section in NAME SYNOPSIS DESCRIPTION 'EXIT STATUS'; do
    grep -q "^$section" "$root/$page.txt" || fail "man $page has no $section"
  done
done
help_options=$("$usr/bin/zormin-cli" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
completion=$usr/share/bash-completion/completions/zormin-cli
# Options as the page's source spells them (the rendered text may hyphenate).
zcat "$usr/share/man/man1/zormin-cli.1.gz" | sed 's/\\-/-/g' >"$root/zormin-cli.1"
for option in $help_options; do
  grep -q -- "$option\b" "$root/zormin-cli.1" || fail "man zormin-cli does not document $option"
  [ "$option" = --version ] || [ "$option" = --help ] ||
    grep -q -- "$option\\b" "$completion" || fail "completion does not offer $option"
done
# ...and name no option that the program does not take.
for option in $(grep -o -- '--[a-z][a-z-]*' "$root/zormin-cli.1" "$completion" | cut -d: -f2 | sort -u); do
  grep -qx -- "$option" <<<"$help_options" || fail "man page or completion names $option, which zormin-cli --help does not"
done
for section in COMMANDS OPTIONS ENCODINGS 'IN PLACE' EXAMPLES; do
  grep -q "^$section" "$root/zormin-cli.txt" || fail "man zormin-cli has no $section"
done

# Bash completion: parses, and completes what a user types.
bash -n "$completion" || fail "bash -n rejects the completion"
mkdir -p "$root/work/site" && touch "$root/work/index.htm" "$root/work/-x.htm"
set -f  # the words below hold wildcards, to be taken as they stand
cases=(
  # words typed (the last one is being completed) | words expected
  'zormin-cli |tags list run names'
  'zormin-cli ru|run'
  'zormin-cli run --enc|--encoding'
  'zormin-cli tags --encoding |auto shift_jis sjis cp932 euc-jp eucjp iso-2022-jp jis utf-8 utf8'
  'zormin-cli tags --encoding u|utf-8 utf8'
  'zormin-cli run --encoding = e|euc-jp eucjp'
  "zormin-cli list --type |'*.htm' '*.html' '*.*'"
  'zormin-cli list |site'
  'zormin-cli tags --lower |index.htm site'
  'zormin-cli tags --subfolder |site'
  'zormin-cli tags --lower -- -|-x.htm'
)
for case in "${cases[@]}"; do
  typed=${case%%|*}
  want=${case#*|}
  got=$(cd "$root/work" && bash -c '
    source "$1"
    read -r -a COMP_WORDS <<<"$2"
    [[ $2 == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _zormin_cli
    printf "%s\n" "${COMPREPLY[@]}"' bash "$completion" "$typed" 2>&1)
  for word in $want; do
    grep -qxF -- "$word" <<<"$got" || fail "completing '$typed' does not offer $word (got: $(echo $got))"
  done
done
set +f
[ "$failures" -eq 0 ] || exit 1
echo "the installed tree is complete and valid"
