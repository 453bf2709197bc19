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
