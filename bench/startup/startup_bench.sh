#!/usr/bin/env bash
# Start-up time (process start to the form's window mapped) and peak resident
# memory of quorvane, next to a minimal Qt dialog program, on a private Xvfb
# display. Prints the medians of N runs each and their ratios.
# Usage: bench/startup/startup_bench.sh [build dir, default build/release] [runs, default 15]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
runs=${2:-15}
probe=$build/bench/startup/startup_probe
programs=("Quorvane v6.0|$build/shell/quorvane" "Floor dialog|$build/bench/startup/floor_dialog")
for file in "$probe" "$build/shell/quorvane" "$build/bench/startup/floor_dialog"; do
  [ -x "$file" ] || { echo "missing $file: build the release preset first" >&2; exit 1; }
done

# A display number other X servers leave alone (see tests/shell/e2e/x_session.sh).
for _ in $(seq 20); do
  number=$((200 + RANDOM % 700))
  [ -e "/tmp/.X$number-lock" ] && continue
  Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp -noreset 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 200); do xprop -display ":$number" -root >/dev/null 2>&1 && break 2; sleep 0.05; done
  kill $xvfb_pid 2>/dev/null
done
trap 'kill $xvfb_pid 2>/dev/null; rm -f "$samples"' EXIT
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb
xprop -root >/dev/null 2>&1 || { echo "Xvfb did not start" >&2; exit 1; }

median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
minimum() { sort -n | head -1; }

# The two programs take turns, so that a change in the machine's load during
# the run weighs on both alike. One start of each first warms the file cache.
samples=$(mktemp)
for round in $(seq 0 "$runs"); do
  for entry in "${programs[@]}"; do
    title=${entry%%|*}
    result=$("$probe" "$title" "${entry#*|}" 2>/dev/null) || { echo "no window: $title" >&2; exit 1; }
    [ "$round" -gt 0 ] && echo "$title|$result" >>"$samples"
  done
done

# On a shared machine the fastest start is the steadiest figure of the work a
# program does; the median shows what a user waits for under that load.
declare -A fastest startup peak
for entry in "${programs[@]}"; do
  title=${entry%%|*}
  results=$(grep -F "$title|" "$samples")
  times=$(sed -n 's/.*startup_ms=\([0-9.]*\).*/\1/p' <<<"$results")
  fastest[$title]=$(minimum <<<"$times")
  startup[$title]=$(median <<<"$times")
  peak[$title]=$(sed -n 's/.*peak_kib=\([0-9]*\)/\1/p' <<<"$results" | median)
  printf '%-14s start-up fastest %6.1f ms, median %6.1f ms   peak memory %6d KiB   (%d runs)\n' \
    "$(basename "${entry#*|}")" "${fastest[$title]}" "${startup[$title]}" "${peak[$title]}" "$runs"
done
q="Quorvane v6.0" f="Floor dialog"
awk -v a="${fastest[$q]}" -v b="${fastest[$f]}" -v m="${startup[$q]}" -v n="${startup[$f]}" \
    -v c="${peak[$q]}" -v d="${peak[$f]}" \
    'BEGIN {printf "ratio to floor: start-up fastest %.2fx, median %.2fx; peak memory %.2fx (target <= 1.30x)\n", a/b, m/n, c/d}'
