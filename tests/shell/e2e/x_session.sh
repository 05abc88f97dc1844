# Shared by the end-to-end tests: a private X server, polling with time
# limits, and the user's actions through xdotool and xclip. Sourced, not run.

# Exit status CTest reads as "skipped".
readonly SKIP=77

require_tools() {
  local tool
  for tool in Xvfb xdotool xclip xprop "$@"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
      exit $SKIP
    fi
  done
}

# A test may name the file that holds the program's standard error.
fail() {
  echo "FAIL: $*" >&2
  if [ -n "${program_log:-}" ] && [ -s "$program_log" ]; then
    echo "--- the program's standard error:" >&2
    cat "$program_log" >&2
  fi
  exit 1
}

# Starts Xvfb on a free display number and exports DISPLAY. The number is
# drawn from a range other X servers on the machine leave alone: a server
# ending on a low number can remove the socket of the next one to take it.
# -noreset: by default the server resets whenever its last client leaves and
# refuses connections meanwhile, which a program starting just then meets.
start_x_server() {
  local attempt number
  for attempt in $(seq 20); do
    number=$((200 + RANDOM % 700))
    [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp -noreset 2>/dev/null &
    xvfb_pid=$!
    if wait_until 10 xprop -display ":$number" -root; then
      export DISPLAY=":$number"
      # The program must use the X server, whatever the test environment chose.
      export QT_QPA_PLATFORM=xcb
      unset WAYLAND_DISPLAY
      return 0
    fi
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  done
  fail "Xvfb did not start"
}

# A Wine prefix's desktop keeps the display it started on: in a test's own
# prefix (tests/wine/own_prefix.sh) the Wine session ends before its X server,
# so the next session of the prefix starts on a display that is there.
end_wine_session() {
  [ -n "${QUORVANE_OWN_WINE_PREFIX:-}" ] || return 0
  WINEPREFIX=$QUORVANE_OWN_WINE_PREFIX wineserver -k 2>/dev/null
  return 0
}

stop_everything() {
  [ -n "${program_pid:-}" ] && kill "$program_pid" 2>/dev/null
  end_wine_session
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  return 0
}
trap stop_everything EXIT

# wait_until <seconds> <command...>: polls the command every 50 ms until it
# succeeds (status 0) or the time is up (status 1).
wait_until() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.05
  done
  return 0
}

# holds_for <seconds> <command...>: the command keeps succeeding for that long.
holds_for() {
  local seconds=$1
  shift
  local checks=$((seconds * 20))
  while [ $checks -gt 0 ]; do
    "$@" >/dev/null 2>&1 || return 1
    sleep 0.05
    checks=$((checks - 1))
  done
  return 0
}

# Visible windows of the program whose name is exactly $1. --all: both the
# process and the name must match, where xdotool by default takes either.
windows_named() {
  xdotool search --all --onlyvisible --pid "$program_pid" --name "^$1\$" 2>/dev/null
}

window_count_is() {
  [ "$(windows_named "$1" | wc -l)" -eq "$2" ]
}

all_visible_windows() {
  xdotool search --all --onlyvisible --pid "$program_pid" --name '' 2>/dev/null | sort
}

program_running() {
  kill -0 "$program_pid" 2>/dev/null
}

program_ended() {
  ! program_running
}

# Reads a window's geometry into win_x, win_y, win_width and win_height.
read_geometry() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  win_x=$X
  win_y=$Y
  win_width=$WIDTH
  win_height=$HEIGHT
}

# click_dialog_point <dialog units x> <y>: clicks a point of the form given in
# its template's dialog units (the form is 272 x 255 of them).
click_form_point() {
  local x=$((win_x + $1 * win_width / 272))
  local y=$((win_y + $2 * win_height / 255))
  xdotool mousemove --sync "$x" "$y" click 1
}

clipboard_is() {
  [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]
}

clipboard_holds() {
  xclip -o -selection clipboard 2>/dev/null | grep -qF -- "$1"
}

clear_clipboard() {
  printf '' | xclip -i -selection clipboard
}

# copy_until <seconds> <check> <argument> <xdotool key...>: presses the keys
# (a copy) and runs the check on the clipboard, again every 200 ms, until the
# check passes; status 1 when the time is up.
copy_until() {
  local seconds=$1 check=$2 expected=$3
  shift 3
  local deadline=$((SECONDS + seconds))
  while :; do
    xdotool key --delay 30 "$@"
    wait_until 0 "$check" "$expected" && return 0
    sleep 0.2
    "$check" "$expected" && return 0
    [ $SECONDS -ge $deadline ] && return 1
  done
}
