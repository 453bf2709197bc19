#!/bin/sh
# The conversions of korvaconv against libtiff's tools on the same 50-page file, in one run:
#   recode  an uncompressed 1-bit file to Group 4     korvaconv tiff --compression 4  vs  tiffcp -c g4
#   copy    a Group 4 file page by page               korvaconv tiff                   vs  tiffcp (decodes and codes again)
#   pdf     a Group 4 file (one strip a page) to PDF  korvaconv pdf                    vs  tiff2pdf
# Usage: bench/conversions.sh [BUILD_DIR]   (default build/native)
set -eu
BUILD=${1:-build/native}
TOOL=$BUILD/tools/korvaconv/korvaconv
PAGES=${PAGES:-50}
. "$(dirname "$0")/measure.sh"
for need in tiffcp tiff2pdf valgrind "$TOOL"; do
  command -v "$need" >/dev/null 2>&1 || { echo "conversions.sh: $need is missing" >&2; exit 1; }
done
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# A text page rendered at 200 dpi, PAGES times in one file, uncompressed and Group 4.
page=$WORK/page.tif
tiffcp -c none -r 1000000 "$(dirname "$0")/../tests/lib/data/text-a4-200dpi.tif" "$page"
set --
i=0
while [ $i -lt "$PAGES" ]; do set -- "$@" "$page"; i=$((i + 1)); done
tiffcp -c none -r 1000000 "$@" "$WORK/none.tif"
tiffcp -c g4 -r 1000000 "$WORK/none.tif" "$WORK/g4.tif"

out=$WORK/out
row() {  # row WORK SIDE COMMAND...
  work=$1 side=$2
  shift 2
  rm -f "$out"
  count=$(instructions "$@")
  ms=$(median_ms sh -c 'rm -f "$0"; exec "$@"' "$out" "$@")
  printf '%-7s %-9s %14s %12s %14s %12s\n' "$work" "$side" "$count" "$ms" $((count / PAGES)) \
    "$(awk -v t="$ms" -v p="$PAGES" 'BEGIN { printf "%.3f", t / p }')"
}

printf '%s pages of %s\n' "$PAGES" "$(tiffinfo "$page" 2>/dev/null | sed -n 's/.*Image Width: \([0-9]*\) Image Length: \([0-9]*\).*/\1 x \2/p')"
printf '%-7s %-9s %14s %12s %14s %12s\n' work side instructions "ms (median)" "instr./page" "ms/page"
row recode libtiff tiffcp -c g4 -r 1000000 "$WORK/none.tif" "$out"
row recode korvaconv "$TOOL" tiff "$WORK/none.tif" "$out" --compression 4
row copy libtiff tiffcp -r 1000000 "$WORK/g4.tif" "$out"
row copy korvaconv "$TOOL" tiff "$WORK/g4.tif" "$out"
row pdf tiff2pdf tiff2pdf -o "$out" "$WORK/g4.tif"
row pdf korvaconv "$TOOL" pdf "$WORK/g4.tif" "$out"
