#!/usr/bin/env bash
# Under Wine, the build without form 101: the frame shows the error, the
# status bar says Finished, the end-of-program prompt asks, and Yes closes
# the frame and ends the process with exit code 0.
# Usage: wine_failure_path_e2e.sh <quorvane-no-form.exe>
set -uo pipefail
program=$1
source "$(dirname "$0")/wine_session.sh"
require_tools
readonly title="quorvane-no-form"

logged() {
  grep -qF -- "$1" "$program_log"
}

start_x_server
start_program "$program"
# The frame and the prompt above it both carry the program's title.
wait_until 60 window_count_is "$title" 2 || fail "the frame and the prompt did not appear"
logged "output: Error: dialog not found" || fail "the frame did not show the error"
wait_until 5 logged "status: Finished" || fail "the status bar did not say Finished"
holds_for 1 window_count_is "$title" 2 || fail "the prompt went away by itself"
# No is the default: Enter would keep the frame. Y answers Yes, once the
# prompt has the keyboard.
deadline=$((SECONDS + 30))
until program_ended || [ $SECONDS -ge $deadline ]; do
  xdotool key y
  wait_until 2 program_ended
done
wait_for_exit 1
[ "$exit_status" -eq 0 ] || fail "exit code $exit_status after Yes, expected 0"
echo "PASS"
