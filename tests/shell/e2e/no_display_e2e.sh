#!/usr/bin/env bash
# Without any display the program says so in one line, names the command
# that runs it on a virtual display, and ends with exit code 0.
# Usage: no_display_e2e.sh <quorvane>
set -uo pipefail
program=$1
output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" 2>&1)
status=$?
[ $status -eq 0 ] || { echo "FAIL: exit code $status, expected 0" >&2; exit 1; }
[ "$(printf '%s\n' "$output" | wc -l)" -eq 1 ] || { echo "FAIL: more than one line: $output" >&2; exit 1; }
grep -q "^No display found: .*xvfb-run -a $program\$" <<<"$output" ||
  { echo "FAIL: unexpected message: $output" >&2; exit 1; }
echo "PASS"
