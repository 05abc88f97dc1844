#!/usr/bin/env bash
# Plays keystroke scripts on the calculator's test build and writes what every
# field shows after every step, so that the Qt host and the Windows dialog
# manager can be held against the same record.
# Usage: keystroke_fields.sh <launcher|-> <quorvane-probe> <script.keys...>
#   launcher: "wine" for the Windows build, "-" to run the program directly.
# A script holds one step per line, each xdotool arguments ("key Tab",
# "type 10") or "hold <key> <seconds>"; lines starting with # are comments.
# For every script it prints "== <script name>", then for the start and after
# each step the step and every field as id=text.
set -uo pipefail
launcher=$1
program=$2
shift 2
source "$(dirname "$0")/x_session.sh"
require_tools
readonly form="Quorvane v6.0"
fields=$(mktemp)

# Wine's windows carry no process id of the program; the X server is private.
form_window() {
  xdotool search --onlyvisible --name "^$form\$" 2>/dev/null | head -1
}

form_shown() {
  [ -n "$(form_window)" ]
}

# The fields are settled when their file has not changed for 0.6 s.
settle() {
  local last="" now quiet=0 deadline=$((SECONDS + 10))
  while [ $quiet -lt 12 ] && [ $SECONDS -lt $deadline ]; do
    sleep 0.05
    now=$(cat "$fields" 2>/dev/null)
    if [ "$now" = "$last" ]; then quiet=$((quiet + 1)); else quiet=0; last=$now; fi
  done
}

start_form() {
  rm -f "$fields"
  if [ "$launcher" = "-" ]; then
    QUORVANE_FIELD_FILE=$fields "$program" 2>/dev/null &
  else
    QUORVANE_FIELD_FILE=$(winepath -w "$fields") "$launcher" "$program" 2>/dev/null &
  fi
  program_pid=$!
  wait_until 60 form_shown || fail "the form did not appear"
  xdotool windowfocus --sync "$(form_window)" 2>/dev/null
  wait_until 10 test -s "$fields" || fail "no field texts"
  # Both hosts give the keyboard to the form once it shows.
  wait_until 10 eval '[ "$(xdotool getwindowfocus)" = "$(form_window)" ]' ||
    fail "the form did not get the keyboard"
}

stop_form() {
  kill "$program_pid" 2>/dev/null
  wait "$program_pid" 2>/dev/null
  program_pid=
}

play() {
  local step
  case $1 in
    hold)
      xdotool keydown "$2"
      sleep "$3"
      xdotool keyup "$2"
      ;;
    *)
      step=("$@")
      xdotool "${step[0]}" --delay 80 "${step[@]:1}"
      ;;
  esac
}

start_x_server
for script in "$@"; do
  echo "== $(basename "$script" .keys)"
  start_form
  settle
  echo "-- start"
  cat "$fields"
  while IFS= read -r line; do
    [ -z "$line" ] || [ "${line:0:1}" = "#" ] && continue
    read -ra words <<<"$line"
    play "${words[@]}"
    settle
    echo "-- $line"
    cat "$fields"
  done <"$script"
  stop_form
done
