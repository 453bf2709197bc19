#!/bin/sh
# korvaconv from the outside: exit statuses, messages, and files a peer can read.
# Usage: korvaconv_test.sh KORVACONV SCRATCH_DIR
tool=$1
dir=$2
rm -rf "$dir" && mkdir -p "$dir"
failures=0

expect() {  # expect STATUS DESCRIPTION COMMAND...
  want=$1; what=$2; shift 2
  "$@" >"$dir/out" 2>"$dir/err"
  got=$?
  if [ "$got" -ne "$want" ]; then
    echo "FAIL: $what: exit $got, expected $want"; cat "$dir/err"; failures=$((failures + 1))
  fi
}

expect 2 "no arguments" "$tool"
expect 0 "help" "$tool" --help
grep -q "korvaconv tiff INPUT OUTPUT" "$dir/out" || { echo "FAIL: help text"; failures=$((failures + 1)); }
expect 2 "unknown command" "$tool" convert a b
expect 2 "unknown option" "$tool" tiff a b --colour 1
expect 2 "bad number" "$tool" tiff a b --width wide
expect 2 "compression out of range" "$tool" tiff a b --compression 5
expect 2 "output missing" "$tool" pdf a
expect 1 "input missing" "$tool" tiff "$dir/missing.tif" "$dir/out.tif"
grep -q "800000643" "$dir/err" && grep -q "objectNotFound" "$dir/err" || { echo "FAIL: failure report"; failures=$((failures + 1)); }

# A small page made by libtiff, appended twice as Group 4, then written as an encrypted PDF.
printf 'P1\n8 2\n1 0 1 0 1 0 1 0\n0 1 0 1 0 1 0 1\n' >"$dir/page.pbm"
if command -v tiffcp >/dev/null && command -v qpdf >/dev/null && command -v pnmtotiff >/dev/null; then
  pnmtotiff "$dir/page.pbm" >"$dir/page.tif" 2>/dev/null
fi
if [ -f "$dir/page.tif" ]; then
  expect 0 "first append" "$tool" tiff "$dir/page.tif" "$dir/pages.tif" --compression 4 --xres 200 --yres 200
  expect 0 "second append" "$tool" tiff "$dir/page.tif" "$dir/pages.tif" --compression 4 --xres 200 --yres 200
  [ "$(tiffinfo "$dir/pages.tif" 2>/dev/null | grep -c 'TIFF Directory')" -eq 2 ] || { echo "FAIL: page count"; failures=$((failures + 1)); }
  expect 0 "pdf" "$tool" pdf "$dir/pages.tif" "$dir/pages.pdf" --user secret --128 --pages 1
  qpdf --password=secret --check "$dir/pages.pdf" >/dev/null || { echo "FAIL: qpdf check"; failures=$((failures + 1)); }
fi

# Pages made byte by byte: a one-page 16 x 2 TIFF, resolution 200 dpi, one 4-byte strip.
le() {  # le VALUE COUNT: VALUE as COUNT little-endian bytes
  v=$1 n=$2
  while [ "$n" -gt 0 ]; do
    printf "\\$(printf %o $((v & 255)))"
    v=$((v >> 8)) n=$((n - 1))
  done
}
entry() { le "$1" 2; le "$2" 2; le 1 4; le "$3" 4; }  # entry TAG TYPE VALUE, one value
tiff_page() {  # tiff_page FILE WIDTH LENGTH BITS SAMPLES ROWS COMPRESSION STRIP (printf text)
  {
    printf 'II*\000'; le 20 4
    printf "$8"
    le 200 4; le 1 4
    if [ "$7" = 7 ]; then le 12 2; else le 11 2; fi
    entry 256 4 "$2"; entry 257 4 "$3"; entry 258 3 "$4"; entry 259 3 "$7"; entry 262 3 0
    entry 273 4 8; entry 277 3 "$5"; entry 278 4 "$6"; entry 279 4 4; entry 282 5 12; entry 283 5 12
    if [ "$7" = 7 ]; then entry 513 4 8; fi
    le 0 4
  } >"$1"
}

# check_conversion NAME STATUS ERROR OUTPUT ARGUMENTS...: korvaconv ARGUMENTS, which write
# OUTPUT, ends with STATUS; a failure reports the library's ERROR and claims no output:
# none is made, an existing TIFF is left as it was, an existing PDF is gone.
check_conversion() {
  c_name=$1 c_want=$2 c_error=$3 c_output=$4; shift 4
  for c_before in none existing; do
    rm -f "$c_output"
    [ "$c_before" = existing ] && cp "$dir/existing.tif" "$c_output"
    expect "$c_want" "$c_name ($c_before output)" "$tool" "$@"
    [ "$c_want" -eq 0 ] && continue
    grep -q "$c_error" "$dir/err" || { echo "FAIL: $c_name: no $c_error in the report"; failures=$((failures + 1)); }
    case "$c_before.$c_output" in
      existing.*.tif) cmp -s "$c_output" "$dir/existing.tif" || { echo "FAIL: $c_name: the existing output changed"; failures=$((failures + 1)); } ;;
      *) [ ! -e "$c_output" ] || { echo "FAIL: $c_name: an output was left"; failures=$((failures + 1)); } ;;
    esac
  done
}

if command -v tiffinfo >/dev/null; then
  tiff_page "$dir/sound.tif" 16 2 1 1 2 1 '\377\377\000\000'
  tiffinfo -D "$dir/sound.tif" >/dev/null 2>&1 || { echo "FAIL: the page builder makes no readable page"; failures=$((failures + 1)); }
  expect 0 "existing output" "$tool" tiff "$dir/sound.tif" "$dir/existing.tif"

  # Pages no reader opens, a field of 0 each, beside the sound page they are made like.
  while read -r name width length bits samples rows; do
    tiff_page "$dir/$name.tif" "$width" "$length" "$bits" "$samples" "$rows" 1 '\377\377\000\000'
    want=1
    [ "$name" = sound ] && want=0
    check_conversion "$name, copied" "$want" tifInvalidImage "$dir/out.tif" tiff "$dir/$name.tif" "$dir/out.tif" --compression 0
    check_conversion "$name, recoded" "$want" tifInvalidImage "$dir/out.tif" tiff "$dir/$name.tif" "$dir/out.tif" --compression 4
    check_conversion "$name, as PDF" "$want" tifInvalidImage "$dir/out.pdf" pdf "$dir/$name.tif" "$dir/out.pdf"
  done <<PAGES
sound        16 2 1 1 2
zero-width    0 2 1 1 2
zero-length  16 0 1 1 2
zero-bits    16 2 0 1 2
zero-samples 16 2 1 0 2
zero-rows    16 2 1 1 0
PAGES
  # JPEG data goes into a PDF only when it begins with the start-of-image marker.
  tiff_page "$dir/jpeg.tif" 16 2 8 1 2 7 '\377\330\377\331'
  check_conversion "JPEG" 0 - "$dir/out.pdf" pdf "$dir/jpeg.tif" "$dir/out.pdf"
  tiff_page "$dir/jpeg-unmarked.tif" 16 2 8 1 2 7 'JPEG'
  check_conversion "JPEG without its marker" 1 tifInvalidImage "$dir/out.pdf" pdf "$dir/jpeg-unmarked.tif" "$dir/out.pdf"

  # An output that is the input, under any name, is refused before anything is written.
  mkdir -p "$dir/sub"
  ln -sf "$dir/existing.tif" "$dir/symbolic.tif"
  ln -f "$dir/existing.tif" "$dir/hard.tif"
  cp "$dir/existing.tif" "$dir/unchanged.tif"
  for output in "$dir/existing.tif" "$dir/sub/../existing.tif" "$dir/symbolic.tif" "$dir/hard.tif"; do
    for command in tiff pdf; do
      expect 1 "$command into its own input as $output" "$tool" "$command" "$dir/existing.tif" "$output"
      grep -q invalidOperation "$dir/err" || { echo "FAIL: $command into $output: no invalidOperation"; failures=$((failures + 1)); }
      cmp -s "$dir/existing.tif" "$dir/unchanged.tif" || { echo "FAIL: $command into $output changed it"; failures=$((failures + 1)); }
    done
  done
fi

# The driver's page conversion on pictures: black and white stays Group 4, a photograph
# with --color 1 becomes JPEG, a damaged picture fails with 1.
awk 'BEGIN { print "P3"; print "120 90"; print "255";
             for (y = 0; y < 90; y++) for (x = 0; x < 120; x++) print (x * 2) % 256, (y * 3) % 256, (x * y) % 256 }' >"$dir/photo.ppm"
expect 0 "page, black and white" "$tool" page "$dir/page.pbm" "$dir/job.tif"
grep -q "page 1: 8x2 G4 colours 0 result 0" "$dir/out" || { echo "FAIL: page line"; cat "$dir/out"; failures=$((failures + 1)); }
expect 0 "page, colour" "$tool" page "$dir/photo.ppm" "$dir/job.tif" --color 1 --draw-dpi 400 --resolution 200
grep -q "page 1: 60x45 JPEG colours 301 result 0" "$dir/out" || { echo "FAIL: colour page line"; cat "$dir/out"; failures=$((failures + 1)); }
printf 'P6\n4000 4000\n255\n' >"$dir/short.ppm"
expect 1 "page, damaged picture" "$tool" page "$dir/short.ppm" "$dir/job.tif"
expect 2 "page, resolution 250" "$tool" page "$dir/photo.ppm" "$dir/job.tif" --resolution 250

echo "korvaconv: $failures failed"
[ "$failures" -eq 0 ]
