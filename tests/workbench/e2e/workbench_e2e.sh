#!/usr/bin/env bash
# A user opens a data file given on the command line, fits it with Ctrl+R and
# exports the report with Ctrl+E, typing the path and Enter: the report is the
# one `quorvane-eos fit DATA --format json` prints. Then the user opens a file
# the reader refuses: a message box names its line, and the program goes on
# with the data it had. Last the parameters are saved (Ctrl+S) and the
# program quits (Ctrl+Q) with status 0.
# Usage: workbench_e2e.sh <quorvane-workbench> <quorvane-eos> <data.csv>
set -uo pipefail
program=$(realpath "$1")
eos=$(realpath "$2")
data=$3
source "$(dirname "$0")/../../shell/e2e/x_session.sh"
require_tools

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-workbench-e2e.XXXXXX")
readonly work
readonly program_log=$work/stderr
trap 'stop_everything; rm -rf "$work"' EXIT
# The window's size and the last folder are remembered here, not in the
# user's own settings.
export XDG_CONFIG_HOME=$work/config
cp "$data" "$work/data.csv"
printf 'P,V\n1,10\n2,not-a-number\n' >"$work/bad.csv"
cd "$work" || fail "no working folder"
start_x_server

readonly title='Quorvane Workbench - data.csv'

none_named() {
  [ -z "$(windows_named "$1")" ]
}

# The window whose name matches, focused, for the keys that follow.
focus_named() {
  local window
  wait_until 30 windows_named "$1" || fail "no window named $1"
  window=$(windows_named "$1" | head -n 1)
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
}

# In the dialog named $1, types the path $2 and presses Enter, until the
# dialog is gone. The dialogs open in the data file's folder, so a name is a
# path there. The field is read back (select all, copy) before Enter, and
# typed again when keys were lost to a window still taking the focus.
type_path() {
  local attempt
  for attempt in 1 2 3 4 5; do
    focus_named "$1"
    clear_clipboard
    xdotool key --delay 30 ctrl+a
    xdotool type --delay 20 "$2"
    copy_until 5 clipboard_is "$2" ctrl+a ctrl+c || continue
    xdotool key --delay 30 Return
    wait_until 10 none_named "$1" && return 0
  done
  fail "the dialog $1 did not take the path $2"
}

"$program" data.csv 2>"$program_log" &
program_pid=$!
focus_named "$title"
xdotool key --delay 30 ctrl+r
# The fit marks the window modified: its title gains the asterisk.
wait_until 60 windows_named "$title\\*" || fail "Ctrl+R gave no fit"

focus_named "$title\\*"
xdotool key --delay 30 ctrl+e
type_path "Export report" report.json
wait_until 30 test -s "$work/report.json" || fail "Ctrl+E and Enter wrote no report"

"$eos" fit data.csv --format json >"$work/expected.json" || fail "quorvane-eos fit failed"
/usr/bin/python3 - "$work/expected.json" "$work/report.json" <<'PYTHON' || fail "the reports differ"
import json, sys
expected, got = (json.load(open(path)) for path in sys.argv[1:])
if expected != got:
    for key in expected:
        if expected.get(key) != got.get(key):
            print(f"{key}: quorvane-eos {expected.get(key)!r}, workbench {got.get(key)!r}")
    sys.exit(1)
PYTHON

focus_named "$title\\*"
xdotool key --delay 30 ctrl+o
type_path "Open data" bad.csv
focus_named "Cannot open the data"
clear_clipboard
copy_until 10 clipboard_holds "line 3" ctrl+c || fail "the message does not name line 3"
xdotool key --delay 30 Return
wait_until 10 none_named "Cannot open the data" || fail "the message stayed"
holds_for 1 program_running || fail "the program ended after an unreadable file"
windows_named "$title\\*" >/dev/null || fail "the data file is no longer the one shown"

# The data it had are still there: they fit and export again.
focus_named "$title\\*"
xdotool key --delay 30 ctrl+r
xdotool key --delay 30 ctrl+e
type_path "Export report" again.json
wait_until 30 test -s "$work/again.json" || fail "after the message the data could not be fitted"
cmp -s "$work/report.json" "$work/again.json" || fail "the data changed after the message"

# Saved, the fit is the parameter file --params-out writes (but for the
# program named in it), and the program quits without asking.
focus_named "$title\\*"
xdotool key --delay 30 ctrl+s
type_path "Save parameters" params.json
wait_until 10 windows_named "$title" || fail "saving the parameters left the window modified"
"$eos" fit data.csv --params-out expected-params.json >/dev/null || fail "quorvane-eos fit failed"
/usr/bin/python3 - expected-params.json params.json <<'PYTHON' || fail "the parameter files differ"
import json, sys
expected, got = (json.load(open(path)) for path in sys.argv[1:])
expected["provenance"].pop("program")
got["provenance"].pop("program")
sys.exit(expected != got)
PYTHON
focus_named "$title"
xdotool key --delay 30 ctrl+q
wait_until 30 program_ended || fail "Ctrl+Q did not end the program"
wait "$program_pid"
status=$?
program_pid=
[ $status -eq 0 ] || fail "the program ended with status $status"
echo PASS
