#!/usr/bin/env bash
# Builds and runs the whole suite headless: the dev preset (gcc, warnings as
# errors), the asan preset (clang, AddressSanitizer + UBSan, fuzzers), the
# windows preset (MinGW-w64 cross build, its tests under Wine) and the wasm
# preset (the core as WebAssembly and the workbench page, which the dev
# preset's tests check under node and in headless Chromium).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# A compiler cache keyed on paths relative to this checkout, so that a second
# clone on the same machine reuses the first one's objects.
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi

# emscripten's own tools run on the system's node.
export NODE_PATH=/usr/share/nodejs
for preset in wasm dev asan windows; do
  [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

status=0
ctest --preset dev -j2 || status=1
ctest --preset asan -j2 || status=1
ctest --preset windows -j2 || status=1
exit $status
