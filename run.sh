#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
# The window needs a display; without one, the command line does the same work.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
  echo "The command line does the same work: build/zormin-cli --help" >&2
  exit 1
fi
exec build/zormin "$@"
