#!/usr/bin/env bash
# The calculator as a user runs it on an X display: the form appears, a typed
# pressure gives its volume, Escape and the title-bar close leave the form
# open, and Exit ends the process with exit code 0 and nothing more shown.
# Usage: calculator_e2e.sh <quorvane> <send_close_request>
set -uo pipefail
program=$1
send_close_request=$2
source "$(dirname "$0")/x_session.sh"
require_tools

readonly form="Quorvane v6.0"
start_x_server
"$program" &
program_pid=$!

wait_until 30 window_count_is "$form" 1 || fail "the form \"$form\" did not appear"
form_window=$(windows_named "$form")
read_geometry "$form_window"

# Pressure field (70, 102, 40 x 14): replace its text by 10.
click_form_point 90 109
xdotool key --delay 30 ctrl+a
xdotool type --delay 60 "10"

# Volume field (70, 132, 40 x 14): select all and copy. Bulk modulus 100 and
# K' 4 at the reference temperature: 10 = 150 ((10/V)^(7/3) - (10/V)^(5/3))
# gives V = 9.190190..., shown 7 characters wide.
clear_clipboard
click_form_point 90 139
copy_until 10 clipboard_is "9.19019" ctrl+a ctrl+c ||
  fail "Volume field reads \"$(xclip -o -selection clipboard 2>/dev/null)\", expected 9.19019"

windows_before=$(all_visible_windows)

xdotool key Escape
holds_for 1 window_count_is "$form" 1 || fail "Escape closed the form"

"$send_close_request" "$form_window"
holds_for 1 window_count_is "$form" 1 || fail "the title-bar close closed the form"
program_running || fail "the program ended without Exit"

# Exit (205, 230, 50 x 14). Until the process is gone no new window may show.
click_form_point 230 237
deadline=$((SECONDS + 30))
while program_running; do
  [ $SECONDS -ge $deadline ] && fail "the program did not end after Exit"
  extra=$(comm -13 <(echo "$windows_before") <(all_visible_windows))
  [ -z "$extra" ] || fail "a window appeared after Exit: $extra"
  sleep 0.02
done
wait "$program_pid"
status=$?
program_pid=
[ $status -eq 0 ] || fail "exit code $status after Exit, expected 0"
echo "PASS"
