#!/usr/bin/env bash
# A build of the program without form 101: the frame shows the program's
# output "Error: dialog not found", the status "Finished" and the end prompt.
# No keeps the frame open until it is closed; Yes ends the process. Both end
# with exit code 0.
# Usage: failure_path_e2e.sh <quorvane-no-form> <send_close_request>
set -uo pipefail
program=$1
send_close_request=$2
source "$(dirname "$0")/x_session.sh"
require_tools

readonly title=$(basename "$program")
readonly program_log=$(mktemp)
start_x_server

# The frame and the prompt carry the title; the prompt is the transient one.
start_and_wait_for_prompt() {
  "$program" 2>"$program_log" &
  program_pid=$!
  wait_until 30 window_count_is "$title" 2 || fail "the frame and the prompt did not appear"
  prompt_window=
  frame_window=
  local window
  for window in $(windows_named "$title"); do
    if xprop -id "$window" WM_TRANSIENT_FOR | grep -q 'window id'; then
      prompt_window=$window
    else
      frame_window=$window
    fi
  done
  [ -n "$prompt_window" ] && [ -n "$frame_window" ] || fail "no prompt owned by the frame"
  grep -qx "status: Finished" "$program_log" || fail "the status bar does not read Finished"
}

focus_window() {
  read_geometry "$1"
  xdotool mousemove --sync $((win_x + win_width / 2)) $((win_y + win_height / 3))
  xdotool windowfocus "$1"
}

expect_exit_code_zero() {
  wait_until 30 program_ended || fail "the program did not end $1"
  wait "$program_pid"
  local status=$?
  program_pid=
  [ $status -eq 0 ] || fail "exit code $status $1, expected 0"
}

# First run: read the prompt, answer No, read the output, close the frame.
start_and_wait_for_prompt
clear_clipboard
focus_window "$prompt_window"
copy_until 10 clipboard_holds "Program Terminated with exit code 0" ctrl+c ||
  fail "the prompt does not say the program terminated with exit code 0"
clipboard_holds "Exit Window?" || fail "the prompt does not ask Exit Window?"

xdotool key n
wait_until 10 window_count_is "$title" 1 || fail "No did not dismiss the prompt"
holds_for 1 window_count_is "$title" 1 || fail "No did not keep the frame open"

clear_clipboard
focus_window "$frame_window"
copy_until 10 clipboard_holds "Error: dialog not found" ctrl+a ctrl+c ||
  fail "the output window does not show Error: dialog not found"

"$send_close_request" "$frame_window"
expect_exit_code_zero "after the frame was closed"

# Second run: Yes ends the process.
start_and_wait_for_prompt
focus_window "$prompt_window"
xdotool key y
expect_exit_code_zero "after Yes"
echo "PASS"
