#!/usr/bin/env bash
# Plays each keystroke script on a host and compares what the fields showed
# after every step with the record of the same script on the Windows dialog
# manager (the script's .fields file beside it).
# Usage: compare_keystroke_fields.sh <launcher|-> <quorvane-probe> <script.keys...>
set -uo pipefail
launcher=$1
program=$2
shift 2
here=$(dirname "$0")
status=0
for script in "$@"; do
  shown=$(bash "$here/keystroke_fields.sh" "$launcher" "$program" "$script")
  played=$?
  [ $played -eq 77 ] && exit 77
  if [ $played -ne 0 ]; then
    echo "FAIL: $(basename "$script") did not play: $shown"
    status=1
  elif ! diff -u "${script%.keys}.fields" <(echo "$shown") >&2; then
    echo "FAIL: $(basename "$script"): the fields differ from the Windows dialog manager's"
    status=1
  fi
done
[ $status -eq 0 ] && echo "PASS"
exit $status
