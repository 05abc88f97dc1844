#!/usr/bin/env bash
# quorvane-eos loads the plotting module only to draw a PNG: the program
# itself links no Qt, draws both files of --plot with the module the build
# put beside it, without a usable module says so in one line, exits with 1
# and writes nothing, and writes an SVG asked for by name without it.
# Usage: figure_module_loader_test.sh <quorvane-eos of the build tree> <its plotting module>
#        <the module's install folder relative to the prefix>
set -uo pipefail
program=$1
module_name=$(basename "$2")
installed_folder=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Qt back among the program's own libraries would cost every command its
# start-up again.
qt=$(readelf -d "$program" | grep -i 'NEEDED.*libQt')
[ -z "$qt" ] || fail "the program links Qt: $qt"

# The build tree: both files, drawn, and the table still on standard output.
"$program" --P 10 --plot "$work/isotherms" >"$work/table.csv" 2>"$work/err"
status=$?
[ $status -eq 0 ] || fail "--plot in the build tree exits with $status: $(cat "$work/err")"
grep -q '</svg>' "$work/isotherms.svg" 2>/dev/null || fail "no SVG document drawn"
[ "$(head -c 4 "$work/isotherms.png" 2>/dev/null | tail -c 3)" = PNG ] || fail "no PNG image drawn"
grep -q '^10,' "$work/table.csv" || fail "no table beside the plot"

# A copy of the program in a tree of its own, under a folder whose name holds
# a line break (it appears in the loader's message). Each case puts something
# else, or nothing, where an installed module lies.
tree=$work/$'odd\nfolder'
mkdir -p "$tree/bin" "$tree/$installed_folder"
cp "$program" "$tree/bin/"
module=$tree/$installed_folder/$module_name
libm=$(ldd "$program" | awk '/libm\.so/ {print $3}')
no_module() { rm -f "$module"; }
empty_file() { rm -f "$module" && : >"$module"; }
other_library() { rm -f "$module" && cp "$libm" "$module"; }
cases=(
  "no_module|is not installed"
  "empty_file|plots are not available"
  "other_library|is not the plotting module"
)
for entry in "${cases[@]}"; do
  IFS='|' read -r setup expected <<<"$entry"
  $setup
  rm -f "$work/missing".*
  "$tree/bin/quorvane-eos" --P 10 --plot "$work/missing" >"$work/out" 2>"$work/err"
  status=$?
  [ $status -eq 1 ] || fail "$setup: exit $status, not 1"
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$setup: not one line: $(cat "$work/err")"
  grep -q -- "--plot: .*$expected" "$work/err" || fail "$setup: says $(cat "$work/err")"
  [ ! -s "$work/out" ] || fail "$setup: a table was written"
  ! ls "$work/missing".* >/dev/null 2>&1 || fail "$setup: a figure file was written"
done

# An SVG asked for by name needs no module: it is written without Qt.
no_module
"$tree/bin/quorvane-eos" --P 10 --plot "$work/alone.svg" >"$work/out" 2>"$work/err"
status=$?
[ $status -eq 0 ] || fail "--plot NAME.svg without the module exits with $status: $(cat "$work/err")"
grep -q '</svg>' "$work/alone.svg" 2>/dev/null || fail "--plot NAME.svg drew no SVG"
[ ! -e "$work/alone.png" ] || fail "--plot NAME.svg drew a PNG as well"

[ $failures -eq 0 ] || exit 1
echo PASS
