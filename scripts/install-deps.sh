#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need,
# skipping those already present so that a second run costs nothing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config git ccache
  clang-14 libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev libfmt-dev libfast-float-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  fonts-dejavu-core fonts-liberation2
  xvfb xauth xdotool xclip x11-utils libx11-dev
  libeigen3-dev nlohmann-json3-dev qt6-svg-dev
  qt6-charts-dev libqt6opengl6-dev
  g++-mingw-w64-x86-64-posix wine wine64
  python3-dev pybind11-dev python3-pybind11 python3-numpy python3-pytest python3-mpmath
  python3-dask python3-distributed
  libsleef-dev libexpat1-dev
  lintian help2man
  emscripten chromium
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
