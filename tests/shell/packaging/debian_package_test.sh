#!/usr/bin/env bash
# The Debian package of a build tree: built with cpack, it carries the
# copyright, the changelog and both manual pages where Debian looks for them,
# and lintian finds no error in it (its warnings are printed).
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
  { cat "$work/cpack.log" >&2; echo "FAIL: cpack could not build the package" >&2; exit 1; }
package=$(ls "$work"/*.deb)

contents=$(dpkg-deb -c "$package" | awk '{print $6}')
missing=0
for file in ./usr/bin/quorvane ./usr/bin/quorvane-eos \
            ./usr/share/doc/quorvane/copyright ./usr/share/doc/quorvane/changelog.gz \
            ./usr/share/man/man1/quorvane.1.gz ./usr/share/man/man1/quorvane-eos.1.gz; do
  grep -qxF "$file" <<<"$contents" || { echo "FAIL: the package lacks $file" >&2; missing=1; }
done
[ $missing -eq 0 ] || exit 1

lintian --fail-on error --display-level ">=warning" "$package"
status=$?
[ $status -eq 0 ] || { echo "FAIL: lintian reports errors" >&2; exit 1; }
echo "PASS"
