#!/usr/bin/env bash
# Installs the Debian packages the project needs to build and test, where missing.
set -euo pipefail
packages=(g++ cmake ninja-build libgtest-dev libgmock-dev strace util-linux mount)
# A FAT image, which folds case, for the file-name tests (kernel vfat or FUSE).
packages+=(dosfstools fusefat)
# The window: wxWidgets on GTK, its Japanese font, a display for its tests, the desktop's launches,
# and the SVG loader that draws the theme's check and radio marks.
packages+=(libwxgtk3.2-dev libglib2.0-dev libgtk-3-dev pkgconf fonts-ipafont-gothic xvfb xauth xdg-utils shared-mime-info librsvg2-common)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
