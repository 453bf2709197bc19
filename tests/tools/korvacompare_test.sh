#!/bin/sh
# korvacompare from the outside: verdicts on pages made here, exit statuses, messages.
# Usage: korvacompare_test.sh KORVACOMPARE SCRATCH_DIR
tool=$1
dir=$2
rm -rf "$dir" && mkdir -p "$dir"
failures=0

fail() {
  echo "FAIL: $1"; cat "$dir/out" "$dir/err"; failures=$((failures + 1))
}

# check STATUS TEXT DESCRIPTION ARGUMENTS...: the exit status, and TEXT at the start of the
# line on standard output (or anywhere on standard error when the status is 2).
check() {
  want=$1; text=$2; what=$3; shift 3
  "$tool" "$@" >"$dir/out" 2>"$dir/err"
  got=$?
  if [ "$got" -ne "$want" ]; then
    fail "$what: exit $got, expected $want"
  elif [ "$want" -ne 2 ] && ! grep -q -- "^$text" "$dir/out"; then
    fail "$what: no \"$text\""
  elif [ "$want" -eq 2 ] && ! grep -qF -- "$text" "$dir/err"; then
    fail "$what: no \"$text\""
  fi
}

# A black-and-white page of text-like bars (plain PBM); its negative; the same page drawn at
# twice the resolution, every pixel doubled, as a driver drawing at 400 dpi for 200 dpi sees it.
bars() {  # bars INVERT SCALE
  awk -v invert="$1" -v scale="$2" 'BEGIN { w = 64 * scale; h = 48 * scale; print "P1"; print w, h
    for (y = 0; y < h; y++) {
      line = ""
      for (x = 0; x < w; x++) line = line ((int(y / scale) % 8 < 3 && int(x / scale) % 10 < 7) != invert) " "
      print line } }'
}
bars 0 1 >"$dir/text.pbm"
bars 1 1 >"$dir/text-negative.pbm"
bars 0 2 >"$dir/text-drawn-400.pbm"

# A colour photograph-like gradient and its negative.
photo() {
  awk -v invert="$1" 'BEGIN { print "P3"; print "60 40"; print "255"
    for (y = 0; y < 40; y++) for (x = 0; x < 60; x++) {
      r = x * 4; g = y * 6; b = (x + y) * 2
      if (invert) { r = 255 - r; g = 255 - g; b = 255 - b }
      print r, g, b } }'
}
photo 0 >"$dir/photo.ppm"
photo 1 >"$dir/photo-negative.ppm"

check 0 "black and white, matches what was drawn" "page against itself" "$dir/text.pbm" "$dir/text.pbm"
check 1 "black and white, DIFFERS from what was drawn" "negative page" "$dir/text.pbm" "$dir/text-negative.pbm"
check 0 "black and white, matches what was drawn" "page drawn at twice the resolution" "$dir/text-drawn-400.pbm" "$dir/text.pbm"
check 0 "colour, matches what was drawn" "photograph against itself" "$dir/photo.ppm" "$dir/photo.ppm" --tile 8
check 1 "colour, DIFFERS from what was drawn" "negative photograph" "$dir/photo.ppm" "$dir/photo-negative.ppm"
grep -q "PSNR" "$dir/out" || fail "figures missing"

check 2 "DRAWN and PRINTED are needed" "no arguments"
check 2 "--tile takes a whole number" "bad tile" "$dir/text.pbm" "$dir/text.pbm" --tile wide
check 2 "--tile must be at least 1" "tile 0" "$dir/text.pbm" "$dir/text.pbm" --tile 0
check 2 "cannot open" "missing picture" "$dir/missing.ppm" "$dir/text.pbm"
printf 'P6\n4000 4000\n255\n' >"$dir/short.ppm"
check 2 "short.ppm" "damaged picture" "$dir/text.pbm" "$dir/short.ppm"

echo "korvacompare: $failures failed"
[ "$failures" -eq 0 ]
