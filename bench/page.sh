#!/bin/sh
# The driver's whole page path as korvaconv page runs it natively (read the picture, scale,
# reduce or keep colour, code, append to the page file), against netpbm and cjpeg doing the
# same work with files, in one run. Median wall time of RUNS runs; instructions (callgrind)
# for our side.
#   bench/page.sh [BUILD_DIR]     (default build/native)
set -eu
BUILD=${1:-build/native}
TOOL=$BUILD/tools/korvaconv/korvaconv
for need in man ps2pdf pdftoppm ppmforge pamscale ppmtopgm pamditherbw pamthreshold pnmtotiff cjpeg valgrind "$TOOL"; do
  command -v "$need" >/dev/null 2>&1 || { echo "page.sh: $need is missing (scripts/install-deps.sh bench)" >&2; exit 1; }
done
. "$(dirname "$0")/measure.sh"
. "$(dirname "$0")/pages.sh"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
make_pages "$WORK"

# Each appends one page to a fresh page file.
page() { picture=$1; shift; rm -f "$WORK/o.tif"; "$TOOL" page "$WORK/$picture" "$WORK/o.tif" "$@" >/dev/null; }
netpbm_floyd() { ppmtopgm "$WORK/page200.ppm" | pamditherbw -floyd | pamtopnm | pnmtotiff -g4 >"$WORK/n.tif"; }
netpbm_threshold() { ppmtopgm "$WORK/page200.ppm" | pamthreshold -simple -threshold=0.75 | pamtopnm | pnmtotiff -g4 >"$WORK/n.tif"; }
netpbm_600() { pamscale -reduce 3 "$WORK/page600.ppm" | ppmtopgm | pamditherbw -floyd | pamtopnm | pnmtotiff -g4 >"$WORK/n.tif"; }
cjpeg_plain() { JSIMD_FORCENONE=1 cjpeg -quality 75 -outfile "$WORK/c.jpg" "$WORK/photo.ppm"; }

row() {  # row NAME [instructions of: ARGS of korvaconv page]
  name=$1; shift
  count=-
  [ $# -gt 0 ] && count=$(instructions "$TOOL" page "$WORK/$1" "$WORK/i.tif" $(shift; echo "$@"))
  case $name in
    ours-*) ms=$(median_ms page "$@") ;;
    *) ms=$(median_ms "$name") ;;
  esac
  printf '%-22s %12s %16s\n' "$name" "$ms" "$count"
}

printf '%-22s %12s %16s\n' work "ms (median)" instructions
row ours-floyd page200.ppm
row netpbm_floyd
row ours-threshold page200.ppm --dither 4
row netpbm_threshold
row ours-600dpi page600.ppm --draw-dpi 600
row netpbm_600
row ours-jpeg page200.ppm --color 1
row ours-jpeg-photo photo.ppm --color 1
row cjpeg_plain
