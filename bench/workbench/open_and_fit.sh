#!/usr/bin/env bash
# Times the workbench on a file of COUNT P-V-T points on a private Xvfb screen
# of 1600 x 1000: from start until the window shows the file, and from Ctrl+R
# until the fit is shown (the title's asterisk), with the CPU time of the
# window's thread and of the whole process over each; then the command line's
# fit of the same file.
# Usage: open_and_fit.sh <quorvane-workbench> <quorvane-eos> [COUNT]
set -uo pipefail
workbench=$(realpath "$1")
eos=$(realpath "$2")
count=${3:-200000}
source "$(dirname "$0")/../../tests/shell/e2e/x_session.sh"
require_tools python3 bc

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-workbench-bench.XXXXXX")
trap 'stop_everything; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
python3 - "$work/points.csv" "$count" <<'PYTHON'
import math, sys
path, count = sys.argv[1], int(sys.argv[2])
temperatures = (298.0, 700.0, 1100.0, 1500.0, 1900.0)
with open(path, "w") as out:
    out.write("P,V,T,sigP,sigV\n")
    for i in range(count):
        T = temperatures[i % 5]
        V = 11.25 * (1.0 - 0.25 * (i // 5) / (count / 5))
        x = (11.25 * math.exp(3e-5 * (T - 298.0)) / V) ** (2.0 / 3.0)
        P = 1.5 * (160.0 - 0.02 * (T - 298.0)) * (x**3.5 - x**2.5) + 0.05 * math.sin(0.37 * i)
        out.write(f"{P:.5f},{V:.6f},{T:g},0.05,0.002\n")
PYTHON

# Xvfb on a screen the size of a common laptop's.
number=$((200 + RANDOM % 700))
Xvfb ":$number" -screen 0 1600x1000x24 -nolisten tcp -noreset 2>/dev/null &
xvfb_pid=$!
wait_until 10 xprop -display ":$number" -root || fail "Xvfb did not start"
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb

seconds_since() { echo "$(date +%s.%N) - $1" | bc; }
thread_cpu() { awk '{ print ($14 + $15) / 100 }' "/proc/$program_pid/task/$program_pid/stat"; }
process_cpu() { awk '{ print ($14 + $15) / 100 }' "/proc/$program_pid/stat"; }

cd "$work" || fail "no working folder"
start=$(date +%s.%N)
"$workbench" points.csv 2>/dev/null &
program_pid=$!
readonly title='Quorvane Workbench - points.csv'
wait_until 300 windows_named "$title" || fail "not shown in 300 s"
echo "shown after $(seconds_since "$start") s; window thread $(thread_cpu) s CPU"
window=$(windows_named "$title" | head -n 1)
xdotool windowfocus --sync "$window"
thread_before=$(thread_cpu)
process_before=$(process_cpu)
start=$(date +%s.%N)
xdotool key ctrl+r
wait_until 600 windows_named "$title\\*" || fail "no fit shown in 600 s"
echo "fit shown after $(seconds_since "$start") s;" \
  "window thread $(echo "$(thread_cpu) - $thread_before" | bc) s CPU," \
  "process $(echo "$(process_cpu) - $process_before" | bc) s CPU"
/usr/bin/time -f "quorvane-eos fit: %e s wall, %U s user" "$eos" fit points.csv >/dev/null
