#!/usr/bin/env bash
# The window checks the end-to-end tests share count the windows of the
# program they started and no other: a second copy of the program, showing
# the same title, is not taken for a window of the first.
# Usage: x_session_windows_e2e.sh <quorvane>
set -uo pipefail
program=$1
source "$(dirname "$0")/x_session.sh"
require_tools

readonly form="Quorvane v6.0"
start_x_server
"$program" &
other_pid=$!
program_pid=$other_pid
trap 'kill "$other_pid" 2>/dev/null; stop_everything' EXIT
wait_until 30 window_count_is "$form" 1 || fail "the first copy showed no form"
"$program" &
program_pid=$!
# Both forms are up, by their name alone.
forms_shown() {
  [ "$(xdotool search --onlyvisible --name "^$form\$" 2>/dev/null | wc -l)" -eq 2 ]
}
wait_until 30 forms_shown || fail "the second copy showed no form"

holds_for 1 window_count_is "$form" 1 ||
  fail "$(windows_named "$form" | wc -l) windows named \"$form\" counted for one program"
[ -z "$(comm -12 <(all_visible_windows) <(program_pid=$other_pid all_visible_windows))" ] ||
  fail "a window of the other copy counted among the program's"
echo "PASS"
