#!/usr/bin/env bash
# A user opens a file of 200,000 P-V-T points given on the command line: the
# window comes up at most of the screen's size, shows the file, and while
# the fit runs (Ctrl+R) it still answers keys: the Results pane's text is
# selected and copied before the fit's report replaces it. Esc forgets the
# fit and Ctrl+Q ends the program with status 0.
# Usage: workbench_large_file_e2e.sh <quorvane-workbench>
set -uo pipefail
program=$(realpath "$1")
source "$(dirname "$0")/../../shell/e2e/x_session.sh"
require_tools python3 xdpyinfo

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-workbench-large.XXXXXX")
readonly work
readonly program_log=$work/stderr
trap 'stop_everything; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config

# Five isotherms of an MgO-like solid, 3rd-order Birch-Murnaghan with V(T,0)
# and K(T) from a constant expansion and dK/dT, and a small scatter in P.
python3 - "$work/many.csv" <<'PYTHON' || fail "the data could not be written"
import math, sys
count, temperatures = 200000, (298.0, 700.0, 1100.0, 1500.0, 1900.0)
with open(sys.argv[1], "w") as out:
    out.write("P,V,T,sigP,sigV\n")
    for i in range(count):
        T = temperatures[i % 5]
        V = 11.25 * (1.0 - 0.25 * (i // 5) / (count / 5))
        x = (11.25 * math.exp(3e-5 * (T - 298.0)) / V) ** (2.0 / 3.0)
        P = 1.5 * (160.0 - 0.02 * (T - 298.0)) * (x**3.5 - x**2.5) + 0.05 * math.sin(0.37 * i)
        out.write(f"{P:.5f},{V:.6f},{T:g},0.05,0.002\n")
PYTHON
cd "$work" || fail "no working folder"
start_x_server

readonly title='Quorvane Workbench - many.csv'

"$program" many.csv 2>"$program_log" &
program_pid=$!
wait_until 120 windows_named "$title" || fail "the file was not shown"
window=$(windows_named "$title" | head -n 1)
read_geometry "$window"
screen_width=$(xdpyinfo | awk '/dimensions:/ { split($2, size, "x"); print size[1] }')
[ $((win_width * 4)) -ge $((screen_width * 3)) ] ||
  fail "the window is $win_width wide on a screen $screen_width wide"

xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key --delay 30 ctrl+r
# The fit of 200,000 points outlasts this copy by far: the text copied is the
# one shown before the fit, which only a window answering keys meanwhile copies.
clear_clipboard
xdotool key --delay 30 ctrl+4
copy_until 20 clipboard_holds "read from many.csv" ctrl+a ctrl+c ||
  fail "no key was answered while the fit ran: the clipboard holds \"$(xclip -o -selection clipboard 2>/dev/null | head -c 80)\""

xdotool key --delay 30 Escape
xdotool key --delay 30 ctrl+q
wait_until 30 program_ended || fail "Ctrl+Q did not end the program"
wait "$program_pid"
status=$?
program_pid=
[ $status -eq 0 ] || fail "the program ended with status $status"
echo PASS
