#!/usr/bin/env bash
# Builds and runs the whole suite headless: the dev preset (gcc, warnings as
# errors) and the asan preset (clang, AddressSanitizer + UBSan, fuzzers).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

for preset in dev asan; do
  [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

status=0
ctest --preset dev -j2 || status=1
ctest --preset asan -j2 || status=1
exit $status
