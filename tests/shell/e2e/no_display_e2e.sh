#!/usr/bin/env bash
# Where no display can be opened the program says so in one line on standard
# error and ends with exit code 1: never a toolkit abort, never a silent 0.
# Usage: no_display_e2e.sh <quorvane>
set -uo pipefail
program=$1
ulimit -c 0

# A display number no X server here answers on.
silent=199
while [ -e "/tmp/.X11-unix/X$silent" ] || [ -e "/tmp/.X$silent-lock" ]; do
  silent=$((silent + 1))
done

hint="run it under a virtual one with  xvfb-run -a $program"
# name | environment | what the one line says
cases=(
  "no display at all|-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM|^No display found: $hint\$"
  "an X display nobody answers on|-u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:$silent|^No display found: the X display \":$silent\" does not answer; $hint\$"
  "the X platform asked for by name|-u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb DISPLAY=:$silent|does not answer; $hint\$"
  "an unknown platform|QT_QPA_PLATFORM=no-such-platform|^No display found: there is no platform \"no-such-platform\" \\(installed: .*xcb.*\\)\$"
  "only unknown platforms in a list|QT_QPA_PLATFORM=nothing;no-such-platform|^No display found: there is no platform \"nothing\" .*; there is no platform \"no-such-platform\""
  "a Wayland display nobody answers on|-u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=/nonexistent/wayland-0|^No display found: .*wayland"
)

failures=0
for entry in "${cases[@]}"; do
  IFS='|' read -r name environment expected <<<"$entry"
  read -ra settings <<<"$environment"
  output=$(env "${settings[@]}" timeout 20 "$program" 2>&1 >/dev/null)
  status=$?
  lines=$(printf '%s\n' "$output" | wc -l)
  if [ $status -ne 1 ]; then
    echo "FAIL ($name): exit code $status, expected 1; output: $output" >&2
    failures=$((failures + 1))
  elif [ "$lines" -ne 1 ]; then
    echo "FAIL ($name): expected one line, got: $output" >&2
    failures=$((failures + 1))
  elif ! grep -qE -- "$expected" <<<"$output"; then
    echo "FAIL ($name): unexpected message: $output" >&2
    failures=$((failures + 1))
  fi
done
[ $failures -eq 0 ] || exit 1
echo "PASS"
