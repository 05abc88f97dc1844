#!/usr/bin/env bash
# own_prefix.sh <command...>: runs a test's command in a Wine prefix of its
# own, a copy of the template the test run prepared ($QUORVANE_WINE_TEMPLATE).
#
# The first program of a prefix to need windows starts the prefix's desktop,
# and every later program of that prefix draws through the desktop's display,
# or through none when the first had none. Tests that share a prefix therefore
# break one another whenever they run at once: a test without a display beside
# one with its own X server leaves the latter unable to create any window.
set -uo pipefail
template=${QUORVANE_WINE_TEMPLATE:?the test run prepares the template prefix}
copies=$template.copies

mkdir -p "$copies" || exit 1
WINEPREFIX=$(mktemp -d "$copies/XXXXXX") || exit 1
export WINEPREFIX
# The sessions on a display end their prefix's server before the display
# (tests/shell/e2e/x_session.sh); only for this copy, never the user's own.
export QUORVANE_OWN_WINE_PREFIX=$WINEPREFIX

remove_copy() {
  wineserver -k 2>/dev/null
  rm -rf "$WINEPREFIX"
}
trap remove_copy EXIT

# The system's libraries are nearly all of the prefix and Wine only reads
# them: linked, not copied. Everything else is copied, the registry first of
# all, which every program may write.
readonly libraries=drive_c/windows/system32
tar -C "$template" --exclude="./$libraries" -cf - . | tar -C "$WINEPREFIX" -xf - || exit 1
cp -al "$template/$libraries" "$WINEPREFIX/$libraries" || exit 1

"$@"
status=$?
exit $status
