#!/usr/bin/env bash
# Start-up of quorvane-eos, for --version and for one state point, next to a
# program that loads the C library alone (floor_command) and a minimal C++
# program that loads the C++ run-time library too (hello_command), each
# started without a shell. Prints
# the fastest and the median start of each, its mean CPU time (user and
# system), and their ratios to the floor and to the hello world.
# With hyperfine the four take turns in rounds, so that a change in the
# machine's load weighs on all alike; without it, each is timed as one loop.
# Usage: bench/startup/command_startup_bench.sh [build dir, default build/release] [runs, default 200]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
runs=${2:-200}
readonly rounds=5
eos=$build/cli/quorvane-eos
floor=$build/bench/startup/floor_command
hello=$build/bench/startup/hello_command
for file in "$eos" "$floor" "$hello"; do
  [ -x "$file" ] || { echo "missing $file: build the release preset first" >&2; exit 1; }
done
commands=("$floor" "$hello" "$eos --version" "$eos --P 10")
titles=("floor" "hello" "--version" "--P 10")

if ! command -v hyperfine >/dev/null 2>&1; then
  # Mean wall time of one start, loop overhead included for every command alike.
  TIMEFORMAT=%R
  for i in "${!commands[@]}"; do
    seconds=$( { time (for _ in $(seq "$runs"); do ${commands[$i]} >/dev/null; done); } 2>&1)
    awk -v s="$seconds" -v n="$runs" -v t="${titles[$i]}" \
        'BEGIN {printf "%-10s mean %6.2f ms (%d runs, no hyperfine)\n", t, 1000 * s / n, n}'
  done
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for round in $(seq "$rounds"); do
  hyperfine --shell=none --warmup 10 --runs $((runs / rounds)) --style none \
            --export-json "$work/round$round.json" "${commands[@]}" >/dev/null 2>"$work/log" ||
    { cat "$work/log" >&2; exit 1; }
done
/usr/bin/python3 - "$work" "${titles[@]}" <<'PY'
import json, pathlib, statistics, sys
work, titles = pathlib.Path(sys.argv[1]), sys.argv[2:]
times = [[] for _ in titles]
cpu = [[] for _ in titles]
for round_file in sorted(work.glob("round*.json")):
    for i, result in enumerate(json.loads(round_file.read_text())["results"]):
        times[i] += result["times"]
        cpu[i].append(result["user"] + result["system"])
fastest = [1000 * min(t) for t in times]
median = [1000 * statistics.median(t) for t in times]
cpu = [1000 * statistics.mean(c) for c in cpu]
for i, title in enumerate(titles):
    line = (f"{title:<10} fastest {fastest[i]:5.2f} ms, median {median[i]:5.2f} ms, "
            f"CPU {cpu[i]:5.2f} ms ({len(times[i])} runs)")
    for j, name in ((0, "floor"), (1, "hello")):
        if i > j:
            line += (f"\n{'':<10} ratio to {name}: fastest {fastest[i] / fastest[j]:.2f}x, "
                     f"median {median[i] / median[j]:.2f}x, CPU {cpu[i] / cpu[j]:.2f}x")
    print(line)
PY
