#!/usr/bin/env bash
# Builds the release preset and starts the calculator.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
[ -f build/release/build.ninja ] || cmake --preset release >/dev/null
cmake --build --preset release
program=build/release/shell/quorvane
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: run it under a virtual one with  xvfb-run -a $program" >&2
  exit 1
fi
exec "$program"
