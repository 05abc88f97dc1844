# Shared by the end-to-end tests of the Windows programs: the X session of the
# Linux tests with the program run by Wine. Sourced, not run.
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/x_session.sh"

# Wine's windows carry no process id of the program; the X server is private.
windows_named() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null
}

# The window named $1 has the keyboard: Wine gives it once the window is up,
# and keys sent before then are lost.
has_focus() {
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(windows_named "$1" | head -1)" ]
}

# start_program <file.exe> [arguments...]: under Wine, standard error to program_log.
start_program() {
  program_log=$(mktemp)
  wine "$@" 2>"$program_log" &
  program_pid=$!
}

# Ends with the program's exit code once it has ended; fails after <seconds>.
wait_for_exit() {
  wait_until "$1" program_ended || fail "the program did not end"
  wait "$program_pid"
  exit_status=$?
  program_pid=
}
