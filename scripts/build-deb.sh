#!/usr/bin/env bash
# Builds the Debian package build-deb/zormin_<version>_<arch>.deb with
# Debian's compiler and hardening flags, and checks it with lintian.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
# The build type None adds no flags of its own: the ones above are all.
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr -DZORMIN_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$cflags" -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build build-deb
rm -f build-deb/zormin_*.deb
(cd build-deb && cpack -G DEB >/dev/null)
deb=$(ls build-deb/zormin_*.deb)
lintian --fail-on error "$deb" 2> >(grep -v 'root privileges' >&2)
echo "$deb"
