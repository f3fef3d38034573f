#!/usr/bin/env bash
# Installs the Debian packages the project needs to build and test, where missing.
set -euo pipefail
packages=(g++ cmake ninja-build libgtest-dev libgmock-dev strace util-linux mount)
# Checks of the installed tree and of the Debian package.
packages+=(lintian desktop-file-utils appstream man-db dpkg-dev file)
# A FAT image, which folds case, for the file-name tests (kernel vfat or FUSE).
packages+=(dosfstools fusefat)
# The window: wxWidgets on GTK, its Japanese font, a display for its tests, the desktop's launches,
# and the SVG loader that draws the theme's check and radio marks.
packages+=(libwxgtk3.2-dev libglib2.0-dev libgtk-3-dev pkgconf fonts-ipafont-gothic xvfb xauth xdg-utils shared-mime-info librsvg2-common)
# gettext: the command line's message catalogs; locales: its Japanese locale;
# time: the benchmarks' peak-memory figures.
packages+=(gettext locales time)
# With PACKAGE arguments (the benchmarks' corpus), those are installed instead.
[ $# -eq 0 ] || packages=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# The command line's Japanese messages are tested under this locale.
locale_missing=false
if [ $# -eq 0 ] && ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
  locale_missing=true
fi
[ ${#missing[@]} -eq 0 ] && ! $locale_missing && exit 0

# Installing needs root: as root apt-get runs as it is, otherwise through sudo
# (said before sudo asks for a password); without either the script names
# what to install.
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null && { sudo -n true 2>/dev/null || [ -t 0 ]; }; then
    echo "Installing as root through sudo, which may ask for your password."
    as_root=(sudo)
  else
    echo "Installing needs root or sudo. As root, run:" >&2
    [ ${#missing[@]} -eq 0 ] || echo "  apt-get install ${missing[*]}" >&2
    $locale_missing && echo "  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8" >&2
    exit 1
  fi
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
if $locale_missing; then
  echo "Generating the locale ja_JP.UTF-8"
  "${as_root[@]}" localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
