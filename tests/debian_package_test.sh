#!/usr/bin/env bash
# Makes the Debian package from the build with cpack, in a temporary folder,
# and checks its control fields, its contents and what lintian says of it.
# Usage: debian_package_test.sh BUILD_DIR HAVE_WINDOW(0|1)
. "$(dirname "$0")/shell_check.sh"

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$root" >"$root/cpack.log" 2>&1; then
  cat "$root/cpack.log"
  echo "FAIL: cpack -G DEB"
  exit 1
fi
version=$("$build/zormin-cli" --version | awk '{print $2}')
deb=$root/zormin_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$root"; echo "FAIL: no $(basename "$deb")"; exit 1; }

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = zormin ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Section)" = text ] || fail "Section: $(field Section)"
[[ $(field Maintainer) == *@* ]] || fail "Maintainer: $(field Maintainer)"
[ "$(field Description | wc -l)" -gt 2 ] || fail "the description has no long part"
# Computed from the binaries, not written by hand.
for lib in libc6 libstdc++6; do
  [[ $(field Depends) == *"$lib ("* ]] || fail "Depends lacks $lib: $(field Depends)"
done

app_id=org.example.Zormin
dpkg-deb --contents "$deb" >"$root/contents"
expected=(
  ./usr/bin/zormin-cli
  ./usr/share/man/man1/zormin-cli.1.gz
  ./usr/share/bash-completion/completions/zormin-cli
  ./usr/share/doc/zormin/copyright
  ./usr/share/doc/zormin/changelog.gz
  ./usr/share/locale/ja/LC_MESSAGES/zormin-cli.mo
)
if [ "$have_window" = 1 ]; then
  expected+=(
    ./usr/bin/zormin
    ./usr/share/man/man1/zormin.1.gz
    ./usr/share/applications/$app_id.desktop
    ./usr/share/metainfo/$app_id.metainfo.xml
    ./usr/share/icons/hicolor/48x48/apps/$app_id.png
    ./usr/share/icons/hicolor/scalable/apps/$app_id.svg
  )
else
  echo "note: the window program is not built; the package holds the command line only"
fi
for path in "${expected[@]}"; do
  grep -q " $path\$" "$root/contents" || fail "the package lacks $path"
done
awk '$2 != "root/root" { print "FAIL: not owned by root: " $0; bad = 1 } END { exit bad }' "$root/contents" ||
  failures=$((failures + 1))
! grep -q ' \./usr/local/' "$root/contents" || fail "the package installs under /usr/local"

# The packaged program runs (stripped, from where the package puts it).
dpkg-deb --extract "$deb" "$root/tree"
[ "$("$root/tree/usr/bin/zormin-cli" --version)" = "zormin-cli $version" ] || fail "the packaged zormin-cli does not run"

# lintian: no error. Its other findings are shown for the reader.
lintian --fail-on error --info "$deb" >"$root/lintian" 2>&1
status=$?
grep -v 'root privileges' "$root/lintian"
[ "$status" -eq 0 ] || fail "lintian found errors"

[ "$failures" -eq 0 ] || exit 1
echo "$(basename "$deb") is complete and lintian finds no error"
