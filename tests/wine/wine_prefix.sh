#!/bin/bash
# wine_prefix.sh create|remove PREFIX: a fresh 64-bit Wine prefix for a test
# run, without the .NET and browser add-ons nothing here uses, the template of
# the copies the tests run in (own_prefix.sh); remove also ends and removes
# any copy a test left behind.
set -euo pipefail
action=$1
export WINEPREFIX=$2 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
copies=$WINEPREFIX.copies

remove_copies() {
  local copy
  for copy in "$copies"/*; do
    if [ -d "$copy" ]; then WINEPREFIX=$copy wineserver -k 2>/dev/null || true; fi
  done
  rm -rf "$copies"
}

case $action in
  create)
    remove_copies
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    # No display is needed to create the prefix.
    DISPLAY= wineboot --init >/dev/null 2>&1
    # Without a window manager Wine waits up to two seconds for one at every
    # window it hides; windows it does not hand to a manager close at once.
    DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    test -f "$WINEPREFIX/system.reg"
    ;;
  remove)
    remove_copies
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    ;;
esac
