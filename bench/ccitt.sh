#!/bin/sh
# Group 4 coding, this library against libtiff, on the same pages in one run.
#   bench/ccitt.sh [BUILD_DIR]     (default build/native; needs its bench/ccitt_tool)
# Pages: a 1728 x 2200 fax page of rendered manual text (tests/lib/data) and the same
# text at 600 dpi on a 5100 x 6600 page. libtiff works through tiffcp, this library
# through bench/ccitt_tool; both read and write files, and both code a page into memory
# (libtiff its strip buffer, ours a page buffer) before writing it out.
# - instructions: callgrind, counting only the coding calls (libtiff: TIFFWriteScanline
#   when encoding, TIFFReadEncodedStrip when decoding; ours: the bitmap-to-Group-4 and
#   Group-4-to-bitmap chains), so start-up and file handling are left out;
# - ms per page: median over REPEATS runs of the extra wall time of a run of PAGES pages
#   over a run of one page, so start-up is left out; it includes writing the output.
set -eu
BUILD=${1:-build/native}
TOOL=$BUILD/bench/ccitt_tool
PAGES=${PAGES:-21}
REPEATS=${REPEATS:-5}
for need in tiffcp valgrind "$TOOL"; do
  command -v "$need" >/dev/null 2>&1 || { echo "ccitt.sh: $need is missing" >&2; exit 1; }
done
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
"$TOOL" pages "$WORK"

instructions() {
  toggle=$1
  shift
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "--toggle-collect=$toggle" "$@" 2>&1 |
    sed -n 's/.*Collected : *\([0-9]*\).*/\1/p'
}

now_us() { echo $(( $(date +%s%N) / 1000 )); }

# The median extra time of "$@ PAGES" over "$@ 1" per extra page, in ms; the command
# gets the page count as its last argument and picks its input by it.
ms_per_page() {
  i=0
  while [ $i -lt "$REPEATS" ]; do
    t0=$(now_us); "$@" 1; t1=$(now_us); "$@" "$PAGES"; t2=$(now_us)
    echo $(( (t2 - t1) - (t1 - t0) ))
    i=$((i + 1))
  done | sort -n | awk -v pages="$PAGES" '{ v[NR] = $1 } END { printf "%.2f", v[int((NR + 1) / 2)] / 1000 / (pages - 1) }'
}

libtiff_encode() { tiffcp -c g4 -r 1000000 "$WORK/none-$1.tif" "$WORK/out.tif"; }
libtiff_decode() { tiffcp -c none -r 1000000 "$WORK/g4-$1.tif" "$WORK/out.tif"; }
ours_encode() { "$TOOL" encode "$WORK/none-1.tif" "$WORK/out" "$1"; }
ours_decode() { "$TOOL" decode "$WORK/g4-1.tif" "$WORK/out" "$1"; }

printf '%-16s %-7s %13s %13s %9s %9s\n' page work "libtiff instr" "ours instr" "libtiff ms" "ours ms"
for page in text-1728x2200 text-5100x6600; do
  cp "$WORK/$page.tif" "$WORK/none-1.tif"
  copies=""
  i=0
  while [ $i -lt "$PAGES" ]; do copies="$copies $WORK/none-1.tif"; i=$((i + 1)); done
  # shellcheck disable=SC2086
  tiffcp $copies "$WORK/none-$PAGES.tif"
  tiffcp -c g4 -r 1000000 "$WORK/none-1.tif" "$WORK/g4-1.tif"
  tiffcp -c g4 -r 1000000 "$WORK/none-$PAGES.tif" "$WORK/g4-$PAGES.tif"
  for work in encode decode; do
    if [ $work = encode ]; then
      lib_count=$(instructions TIFFWriteScanline tiffcp -c g4 -r 1000000 "$WORK/none-1.tif" "$WORK/out.tif")
      our_count=$(instructions 'velmo::bench::group4OfBitmap*' "$TOOL" encode "$WORK/none-1.tif" "$WORK/out")
    else
      lib_count=$(instructions TIFFReadEncodedStrip tiffcp -c none -r 1000000 "$WORK/g4-1.tif" "$WORK/out.tif")
      our_count=$(instructions 'velmo::bench::bitmapOfGroup4*' "$TOOL" decode "$WORK/g4-1.tif" "$WORK/out")
    fi
    printf '%-16s %-7s %13s %13s %9s %9s\n' "$page" "$work" "$lib_count" "$our_count" \
      "$(ms_per_page libtiff_$work)" "$(ms_per_page ours_$work)"
  done
done
