#!/usr/bin/env bash
# The Debian packages of a build tree, built with cpack: quorvane carries the
# programs, their plotting module, the copyright, the changelog and both
# manual pages where Debian looks for them; python3-quorvane (where the build
# has the Python module) the module in Debian's folder for Python packages
# with its own copyright and changelog. lintian finds no error in either (its
# warnings are printed). Unpacked into a temporary root, quorvane-eos draws a
# plot with the module beside it, and Debian's Python imports the module from
# there and computes the volume the program prints.
# Usage: debian_package_test.sh <build directory>
set -uo pipefail
build=$1
readonly SKIP=77
for tool in cpack dpkg-deb lintian; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit $SKIP; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; echo "FAIL: cpack could not build the packages" >&2; exit 1; }

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# package|files it must hold
expected=("quorvane|./usr/bin/quorvane ./usr/bin/quorvane-eos
  ./usr/share/doc/quorvane/copyright ./usr/share/doc/quorvane/changelog.gz
  ./usr/share/man/man1/quorvane.1.gz ./usr/share/man/man1/quorvane-eos.1.gz
  ./usr/share/quorvane/scales/au-fei2007.json
  ./usr/bin/quorvane-workbench ./usr/share/man/man1/quorvane-workbench.1.gz
  ./usr/share/applications/quorvane-workbench.desktop")
with_python=no
if [ -d "$build/python/quorvane" ]; then
  with_python=yes
  expected+=("python3-quorvane|./usr/lib/python3/dist-packages/quorvane/__init__.py
    ./usr/share/doc/python3-quorvane/copyright ./usr/share/doc/python3-quorvane/changelog.gz")
fi

root=$work/root
for entry in "${expected[@]}"; do
  name=${entry%%|*}
  package=$(ls "$work/${name}"_*.deb 2>/dev/null)
  [ -n "$package" ] || { fail "cpack made no package $name"; continue; }
  contents=$(dpkg-deb -c "$package" | awk '{print $6}')
  for file in ${entry#*|}; do
    grep -qxF "$file" <<<"$contents" || fail "$name lacks $file"
  done
  lintian --fail-on error --display-level ">=warning" "$package" || fail "lintian reports errors in $name"
  dpkg-deb -x "$package" "$root"
done
[ $failures -eq 0 ] || exit 1

# Where quorvane-eos finds its module once installed.
"$root/usr/bin/quorvane-eos" --P 10 --plot "$work/isotherms" >/dev/null 2>"$work/err" ||
  fail "the installed quorvane-eos cannot plot: $(cat "$work/err")"
grep -q '</svg>' "$work/isotherms.svg" 2>/dev/null || fail "the installed quorvane-eos drew no SVG"

# Where quorvane-eos finds the shipped pressure scales once installed.
"$root/usr/bin/quorvane-eos" pressure --scale au-fei2007 --V 60 >/dev/null 2>"$work/err" ||
  fail "the installed quorvane-eos finds no scales: $(cat "$work/err")"

if [ $with_python = yes ]; then
  program_volume=$("$root/usr/bin/quorvane-eos" --P 10 | awk -F, 'NR == 2 {print $3}')
  (cd "$work" && PYTHONPATH="$root/usr/lib/python3/dist-packages" /usr/bin/python3 -s -c '
import sys
import quorvane
assert quorvane.__file__.startswith(sys.argv[1]), quorvane.__file__
volume, converged = quorvane.Eos().volume(10)
assert converged and repr(volume) == sys.argv[2], (volume, sys.argv[2])
' "$root/" "$program_volume") || fail "the installed module does not compute the volume $program_volume"
fi
[ $failures -eq 0 ] || exit 1
echo "PASS"
