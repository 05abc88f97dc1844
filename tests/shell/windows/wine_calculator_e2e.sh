#!/usr/bin/env bash
# The calculator under Wine as a user runs it: the form appears showing the
# start-up display, a pressure typed into its field gives its volume, Escape
# and Alt+F4 leave the form open, and Exit ends the process with exit code 0.
# Usage: wine_calculator_e2e.sh <quorvane.exe> <quorvane-probe.exe>
set -uo pipefail
program=$1
probe=$2
source "$(dirname "$0")/wine_session.sh"
require_tools
readonly form="Quorvane v6.0"
fields=$(mktemp)

field_is() {
  grep -qx "$1=$2" "$fields"
}

start_x_server

# The test build that keeps its field texts in a file: Exit has the focus at
# start-up, Tab goes to Pressure and selects its text.
QUORVANE_FIELD_FILE=$(winepath -w "$fields") start_program "$probe"
wait_until 60 window_count_is "$form" 1 || fail "the form \"$form\" did not appear"
wait_until 10 has_focus "$form" || fail "the form did not get the keyboard"
wait_until 10 field_is 1001 10.0000 || fail "start-up Volume: $(cat "$fields")"
field_is 1000 0.0 || fail "start-up Pressure: $(cat "$fields")"
xdotool key --delay 50 Tab
xdotool type --delay 80 "10"
# Bulk modulus 100 and K' 4 at the reference temperature: 10 = 150
# ((10/V)^(7/3) - (10/V)^(5/3)) gives V = 9.190190..., shown 7 characters wide.
wait_until 10 field_is 1001 9.19019 || fail "Volume after typing 10: $(cat "$fields")"
xdotool key Escape
kill "$program_pid" 2>/dev/null
wait "$program_pid" 2>/dev/null
program_pid=

# The program itself.
start_program "$program"
wait_until 60 window_count_is "$form" 1 || fail "the form \"$form\" did not appear"
wait_until 10 has_focus "$form" || fail "the form did not get the keyboard"
xdotool key Escape
holds_for 1 window_count_is "$form" 1 || fail "Escape closed the form"
xdotool key alt+F4
holds_for 1 window_count_is "$form" 1 || fail "Alt+F4 closed the form"
program_running || fail "the program ended without Exit"
# Exit is the first control in the tab order.
xdotool key --delay 50 Tab shift+Tab space
wait_for_exit 30
[ "$exit_status" -eq 0 ] || fail "exit code $exit_status after Exit, expected 0"
echo "PASS"
