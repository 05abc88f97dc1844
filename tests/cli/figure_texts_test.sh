#!/usr/bin/env bash
# Fits P-V-T data with --plot and compares every figure's texts and the count
# of each kind of SVG element with the expected ones, which every build, the
# Windows one under Wine too, must give alike.
# Usage: figure_texts_test.sh <expected texts> <data file> <plot name> <program command...>
set -uo pipefail
expected=$1
data=$2
plot_name=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$data" "$work/data.csv" || exit 1
cd "$work" || exit 1

"$@" fit data.csv --eos bm --thermal mgd --volume-unit A3 --Z 4 --theta0 773 --q 1.5 \
  --natoms 2 --Tref 300 --refine V0,K0,Kp0,gamma0 --plot "$plot_name" >report.txt 2>err.txt
status=$?
if [ $status -ne 0 ]; then
  echo "FAIL: fit --plot exits with $status: $(cat err.txt)" >&2
  exit 1
fi

# Each figure: its name, its elements counted by kind, and its texts in order.
for svg in fig-*.svg; do
  echo "== $svg"
  grep -o '<[a-z]\+' "$svg" | sort | uniq -c | awk '{print "element " $2 " " $1}'
  grep -o '<text[^>]*>[^<]*</text>' "$svg" | sed 's/<[^>]*>//g'
done >found.txt
if ! diff -u "$expected" found.txt >&2; then
  echo "FAIL: the figures differ from $expected" >&2
  exit 1
fi
echo PASS
