#!/bin/sh
# The codec engine against netpbm, ImageMagick and cjpeg on the same pages, in one run.
#   bench/codec.sh [BUILD_DIR]     (default build/native; needs its bench/codec_bench)
# Pages: see pages.sh. The peers read and
# write files (median wall time of RUNS runs); the engine's figures are Google Benchmark's
# CPU times of the same work in memory. ImageMagick runs when it is installed.
set -eu
BUILD=${1:-build/native}
BENCH=$BUILD/bench/codec_bench
for need in man ps2pdf pdftoppm pamscale pamditherbw pamthreshold pnmtotiff ppmforge pnmpsnr cjpeg djpeg tiffinfo "$BENCH"; do
  command -v "$need" >/dev/null 2>&1 || { echo "codec.sh: $need is missing" >&2; exit 1; }
done
. "$(dirname "$0")/measure.sh"
. "$(dirname "$0")/pages.sh"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

make_pages "$WORK"

echo "== engine (CPU time per page)"
CODEC_BENCH_PAGE200=$WORK/page200.ppm CODEC_BENCH_PAGE600=$WORK/page600.ppm CODEC_BENCH_PHOTO=$WORK/photo.ppm \
  CODEC_BENCH_JPEG_TIFF=$WORK/ours.tif "$BENCH" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>/dev/null |
  awk '/_median/ { printf "%-48s %8s ms\n", $1, $4 }'

echo "== peers (per page, ms: median wall time, median CPU time of all their processes)"
# CPU time by GNU time, in steps of 10 ms; it matters on a busy machine, where the wall
# time of the peers' pipelines grows with the load.
cpu_ms() {
  i=0
  while [ $i -lt "$RUNS" ]; do
    /usr/bin/time -f "%U %S" -o "$WORK/time" sh -c "$1" >/dev/null 2>&1
    awk '{ printf "%d\n", ($1 + $2) * 1000 }' "$WORK/time"
    i=$((i + 1))
  done | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
P200=$WORK/page200.ppm
P600=$WORK/page600.ppm
netpbm_floyd="ppmtopgm $P200 | pamditherbw -floyd | pamtopnm | pnmtotiff -g4 >$WORK/n.tif"
netpbm_threshold="ppmtopgm $P200 | pamthreshold -simple -threshold=0.75 | pamtopnm | pnmtotiff -g4 >$WORK/n.tif"
netpbm_600="pamscale -reduce 3 $P600 | ppmtopgm | pamditherbw -floyd | pamtopnm | pnmtotiff -g4 >$WORK/n.tif"
magick_floyd="convert $P200 -dither FloydSteinberg -monochrome -compress Group4 $WORK/m.tif"
magick_600="convert $P600 -scale 33.3333% -dither FloydSteinberg -monochrome -compress Group4 $WORK/m.tif"
cjpeg_simd="cjpeg -quality 75 -outfile $WORK/c.jpg $WORK/photo.ppm"
cjpeg_plain="JSIMD_FORCENONE=1 cjpeg -quality 75 -outfile $WORK/c.jpg $WORK/photo.ppm"
peers="netpbm_floyd netpbm_threshold netpbm_600 cjpeg_simd cjpeg_plain"
if convert -version 2>/dev/null | grep -q ImageMagick; then
  peers="$peers magick_floyd magick_600"
fi
for peer in $peers; do
  eval "command=\$$peer"
  printf "%-20s %8s %8s\n" "$peer" "$(median_ms sh -c "$command")" "$(cpu_ms "$command")"
done

echo "== JPEG quality against the photograph (PSNR, dB)"
sh -c "$cjpeg_simd"
djpeg -ppm -outfile "$WORK/c.ppm" "$WORK/c.jpg"
start=$(tiffinfo "$WORK/ours.tif" 2>/dev/null | sed -n 's/.*JpegInterchangeFormat: *\([0-9]*\).*/\1/p')
length=$(tiffinfo "$WORK/ours.tif" 2>/dev/null | sed -n 's/.*JpegInterchangeFormatLength: *\([0-9]*\).*/\1/p')
tail -c +$((start + 1)) "$WORK/ours.tif" | head -c "$length" >"$WORK/ours.jpg"
djpeg -ppm -outfile "$WORK/o.ppm" "$WORK/ours.jpg"
# The PSNR over all three colours, from pnmpsnr's one per colour.
psnr() {
  pnmpsnr -machine -rgb "$WORK/photo.ppm" "$1" 2>/dev/null |
    awk '{ for (i = 1; i <= 3; ++i) mse += 65025 / 10 ^ ($i / 10); printf "%.2f dB", 10 * log(65025 / (mse / 3)) / log(10) }'
}
echo "cjpeg -quality 75 ($(wc -c <"$WORK/c.jpg") bytes): $(psnr "$WORK/c.ppm")"
echo "engine, factor 16 ($length bytes): $(psnr "$WORK/o.ppm")"
