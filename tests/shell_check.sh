# What the shell checks of the installed tree and the package share: their
# arguments (BUILD_DIR HAVE_WINDOW), a temporary folder removed on exit, and
# a count of failures. Sourced, not run.
set -uo pipefail
build=$1
have_window=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
