#!/bin/sh
# make demo: prints a document through the printer driver under Wine, as an application's
# print job reaches it, and shows what came out.
#
#   scripts/demo.sh                 the print host's built-in sample document (3 pages)
#   FILE=doc.pdf scripts/demo.sh    a PDF, rasterised with pdftoppm at the drawing resolution
#
# Optional settings: RESOLUTION (200 or 300, the fax resolution), DRAWSCALE (0 to 6, a
# higher drawing resolution), COLOR (1 keeps colour pages as JPEG, 0 makes every page black
# and white), DEMO_BUILD_DIR (default build/win64).
#
# The job runs twice: once in test-print mode, which leaves a PDF, the TIFF page file and the
# job information file in out/demo/, and once handing the page file to the stand-in client
# program, which records what it was given in out/demo/client/korvaclient.log. Then the
# installer registers the printer in the same Wine prefix from a package whose driver is
# the hosted build, and the job is printed a third time through the installed printer,
# found by its name as the spooler finds it.
#
# The test-print job keeps every page as drawn (out/demo/drawn/); each page of the TIFF page
# file, decoded with libtiff, and of the PDF, rendered with MuPDF, is compared with it by
# korvacompare, and out/demo/pages.png shows the pages as drawn beside the pages as printed.
# The demo fails when a page does not show what was drawn.
set -e

file=""
[ -n "$FILE" ] && file=$(realpath "$FILE")
cd "$(dirname "$0")/.."
root=$PWD
build=$root/${DEMO_BUILD_DIR:-build/win64}
resolution=${RESOLUTION:-200}
drawscale=${DRAWSCALE:-0}
color=${COLOR:-1}
out=$root/out/demo
prefix=$root/out/wineprefix

# The drawing resolution that the driver chooses for these settings.
case $drawscale in
  1|3) dpi=300 ;;
  4) dpi=400 ;;
  2|5|6) dpi=600 ;;
  *) dpi=$resolution ;;
esac

# A host path as Wine's drive Z: shows it.
windows_path() {
  printf 'Z:%s' "$1" | tr / "\\\\"
}

./scripts/install-deps.sh
echo "== Building the hosted driver, the print host and the stand-in client ($build)"
cmake --preset win64 -B "$build" >/dev/null
cmake --build "$build" -j "${JOBS:-$(nproc)}" --target korvadrv-hosted korvaprint korvaclient korvasetup korvacompare >/dev/null

rm -rf "$out"
mkdir -p "$out/driver" "$out/client" "$out/jobs" "$out/package" "$out/installed-jobs" "$out/drawn" "$out/pages" \
  "$out/pdf-pages"
cp "$build/bin/korvadrv-hosted.dll" "$out/driver/"
cp "$build/bin/korvaclient.exe" "$out/client/"

if [ -n "$file" ]; then
  name=$(basename "$file" .pdf)
  document=$(basename "$file")
  echo "== Rasterising $document at $dpi dpi"
  # A printer gets its pages drawn without anti-aliasing, as GDI draws for printers.
  mkdir -p "$out/document"
  pdftoppm -r "$dpi" -aa no -aaVector no "$file" "$out/document/page"
  pages=""
  for page in "$out"/document/page*.ppm; do
    pages="$pages $(windows_path "$page")"
  done
else
  name=sample
  document="Sample document"
  pages="--sample"
fi

# The driver reads its configuration once per process from the .cfg beside it.
write_config() {
  cat > "$out/driver/korvadrv-hosted.cfg" <<EOF
[printer]
seed=demo
[driver]
name=Korva Demo Fax
output=$(windows_path "$out/jobs")
[client]
home=$(windows_path "$out/client")
module=korvaclient.exe
[options]
append=0
resolution=$resolution
color=$color
[graphics]
drawScale=$drawscale
[testPrint]
enabled=$1
outputPdf=$(windows_path "$out/$name.pdf")
outputImage=$(windows_path "$out/$name.tif")
outputLog=$(windows_path "$out/$name.log")
EOF
}

# Runs one job (print_job NAME [PRINT HOST OPTIONS]); each line of the print host's report
# gets the time it arrived, so that the time of every page can be read off afterwards.
print_job() {
  job=$1
  shift
  # shellcheck disable=SC2086 # $pages is a list of words
  "$root/cmake/wine-run.sh" "$prefix" "$build/bin/korvaprint.exe" \
      --driver "$(windows_path "$out/driver/korvadrv-hosted.dll")" --document "$document" "$@" $pages 2>&1 |
    bash -c 'while IFS= read -r line; do printf "%s %s\n" "$EPOCHREALTIME" "$line"; done' > "$out/$job.steps"
  if grep -q FAILED "$out/$job.steps" || ! grep -q "DrvEndDoc *ok" "$out/$job.steps"; then
    sed 's/^[^ ]* //' "$out/$job.steps"
    echo "demo: the $job job failed" >&2
    exit 1
  fi
}

echo "== Printing $document in test-print mode, keeping the pages as drawn"
write_config 1
print_job test-print --keep-pages "$(windows_path "$out/drawn")"
echo "== Printing $document for the client program"
write_config 0
print_job client
for _ in $(seq 50); do
  [ -s "$out/client/korvaclient.log" ] && break
  sleep 0.2
done

# The installation package: the installer, its driver builds (here both the hosted one) and
# its configuration, all named after the installer.
printer="Korva Demo Fax"
cp "$build/setup/korvasetup.exe" "$out/package/korvasetup.exe"
cp "$build/bin/korvadrv-hosted.dll" "$out/package/korvasetup.x64"
cp "$build/bin/korvadrv-hosted.dll" "$out/package/korvasetup.x86"
cat > "$out/package/korvasetup.cfg" <<CONFIG
[printer]
name=$printer
seed=installed
[driver]
name=$printer
info=Korva demo fax printer
output=$(windows_path "$out/installed-jobs")
port=KORVADEMO.PRN
[client]
home=$(windows_path "$out/client")
module=korvaclient.exe
[options]
append=0
resolution=$resolution
color=$color
[graphics]
drawScale=$drawscale
[config]
serial=demo
version=1
CONFIG
echo "== Installing \"$printer\" with korvasetup"
"$root/cmake/wine-run.sh" "$prefix" "$out/package/korvasetup.exe" 2>&1 | tr -d '\r' > "$out/install.txt" || true
sed 's/^/   /' "$out/install.txt"
grep -q "printer installed" "$out/install.txt" || { echo "demo: the installation failed" >&2; exit 1; }
echo "== Printing $document through the installed printer"
# shellcheck disable=SC2086 # $pages is a list of words
"$root/cmake/wine-run.sh" "$prefix" "$build/bin/korvaprint.exe" --printer "$printer" --document "$document" $pages \
  > "$out/installed.steps" 2>&1 || { cat "$out/installed.steps"; echo "demo: printing by name failed" >&2; exit 1; }

# --- The pages as printed against the pages as drawn -------------------------------------
tiff="$out/$name.tif"
page_count=$(tiffinfo "$tiff" 2>/dev/null | grep -c "^TIFF Directory")
drawn_count=$(find "$out/drawn" -name 'page-*.ppm' | wc -l)
echo "== Comparing the pages of $name.tif and $name.pdf with the pages as drawn"

# Every page of the page file decoded by libtiff, Group 4 and old-style JPEG alike (tiff2rgba
# decodes both), as pages/page-N.pnm. A page that cannot be decoded is reported as missing.
if tiff2rgba -n -c none "$tiff" "$out/pages/decoded.tif" 2>/dev/null; then
  tifftopnm "$out/pages/decoded.tif" 2>/dev/null | pamsplit - "$out/pages/decoded-%d.pnm" 2>/dev/null
fi
for n in $(seq "$page_count"); do
  if [ -e "$out/pages/decoded-$((n - 1)).pnm" ]; then
    mv "$out/pages/decoded-$((n - 1)).pnm" "$out/pages/page-$n.pnm"
  fi
done
rm -f "$out/pages/decoded.tif"
# Every page of the PDF rendered by MuPDF at the page resolution, without anti-aliasing so
# that black-and-white pages stay black and white, as pdf-pages/page-N.pnm.
mutool draw -q -A 0 -c rgb -r "$resolution" -F pnm -o "$out/pdf-pages/page-%d.pnm" "$out/$name.pdf" 2>/dev/null || true

# compare_pages FOLDER: korvacompare's verdict on each page in FOLDER, one "page N: ..." line
# each; answers 1 when a page differs from what was drawn or is missing.
compare_pages() {
  status=0
  for n in $(seq "$drawn_count"); do
    printed="$1/page-$n.pnm"
    if [ ! -e "$printed" ]; then
      echo "page $n: MISSING"
      status=1
      continue
    fi
    if ! "$root/cmake/wine-run.sh" "$prefix" "$build/tools/korvacompare/korvacompare.exe" \
        "$(windows_path "$out/drawn/page-$n.ppm")" "$(windows_path "$printed")" > "$out/verdict" 2>&1; then
      status=1
    fi
    printf 'page %s: %s\n' "$n" "$(tr -d '\r' < "$out/verdict")"
  done
  rm -f "$out/verdict"
  return $status
}
faithful=1
compare_pages "$out/pages" > "$out/pages.verdicts" || faithful=0
compare_pages "$out/pdf-pages" > "$out/pdf-pages.verdicts" || faithful=0
[ "$page_count" -eq "$drawn_count" ] || faithful=0

# pages.png: a row per page, the page as drawn beside the page as printed (from the page
# file), both at the printed page's proportions, sheet_height pixels tall, in a grey frame.
# pamscale -linear averages the pixel values as they are, as korvacompare does; by default
# it would average light, and a dithered grey would look lighter than the grey it stands for.
sheet_height=500
sheet_page() {  # sheet_page PICTURE WIDTH
  pamscale -linear -xsize "$2" -ysize "$sheet_height" "$1" 2>/dev/null | pnmmargin -color gray60 1
}
sheet_row() {  # sheet_row N
  printed="$out/pages/page-$1.pnm"
  printed_size=$(pamfile -size "$printed")
  width=$(( (${printed_size% *} * sheet_height + ${printed_size#* } / 2) / ${printed_size#* } ))
  sheet_page "$out/drawn/page-$1.ppm" "$width" > "$out/sheet-drawn.pnm"
  sheet_page "$printed" "$width" > "$out/sheet-printed.pnm"
  pbmtext "page $1: as drawn | as printed, $(sed -n "s/^page $1: \([^:]*\):.*/\1/p" "$out/pages.verdicts")" \
    > "$out/sheet-label.pnm"
  pamcat -leftright -white "$out/sheet-drawn.pnm" "$out/sheet-gap.pnm" "$out/sheet-printed.pnm" > "$out/sheet-pair.pnm"
  pamcat -topbottom -white -jleft "$out/sheet-label.pnm" "$out/sheet-pair.pnm" "$out/sheet-gap.pnm"
}
pbmmake -white 12 12 > "$out/sheet-gap.pnm"
rows=""
for n in $(seq "$page_count"); do
  if [ -e "$out/drawn/page-$n.ppm" ] && [ -e "$out/pages/page-$n.pnm" ]; then
    sheet_row "$n" > "$out/sheet-row-$n.pnm"
    rows="$rows $out/sheet-row-$n.pnm"
  fi
done
# shellcheck disable=SC2086 # $rows is a list of words
[ -z "$rows" ] || pamcat -topbottom -white -jleft $rows | pnmtopng > "$out/pages.png"
rm -f "$out"/sheet-*.pnm

# --- Summary ---------------------------------------------------------------------------
size() {
  stat -c %s "$1" | awk '{ printf "%.1f KB", $1 / 1024 }'
}

# Seconds of each page: from the start of the job or the previous page to its DrvSendPage.
page_times() {
  awk '$2 == "DrvStartDoc" || $2 == "DrvSendPage" {
         if (previous) printf "%.2f\n", $1 - previous
         previous = $1 }' "$1"
}

echo
echo "== Summary: $document, $page_count pages, $resolution dpi (drawn at $dpi dpi), colour $color"
echo "Test-print mode left in $out:"
echo "  $name.tif  $(size "$tiff"), the page file:"
# Times from the client job: the test-print job also writes each page as drawn.
page_times "$out/client.steps" > "$out/page-times"
tiffinfo "$tiff" 2>/dev/null | awk -v times="$out/page-times" '
  /^TIFF Directory/ { page++ }
  /Image Width/ { width[page] = $3; height[page] = $6 }
  /Resolution:/ { split($2, r, ","); dpi[page] = r[1] }
  /Compression Scheme/ { sub(/.*Compression Scheme: /, ""); coding[page] = $0 }
  END {
    for (i = 1; i <= page; i++) {
      getline seconds < times
      kind = coding[i] ~ /JPEG/ ? "JPEG (colour)" : coding[i] ~ /Group 4/ ? "Group 4 (black and white)" : coding[i]
      printf "    page %d: %s x %s at %s dpi, %s, %s s\n", i, width[i], height[i], dpi[i], kind, seconds
    }
  }'
average=$(awk '{ total += $1; n++ } END { if (n) printf "%.2f", total / n }' "$out/page-times")
if qpdf --check "$out/$name.pdf" >/dev/null 2>&1; then
  pdf_check="qpdf --check: no errors"
else
  pdf_check="qpdf --check: reports problems (run it to see)"
fi
pdf_pages=$(pdfinfo "$out/$name.pdf" 2>/dev/null | awk '/^Pages:/ { print $2 }')
echo "  $name.pdf  $(size "$out/$name.pdf"), $pdf_pages pages, $pdf_check"
echo "  $name.log  the job information file ($(grep -a totalPages "$out/$name.log" | tr -d '\r'))"
echo "Handed to the client program:"
for handed in "$out"/jobs/*.TIF; do
  [ -e "$handed" ] || { echo "  no page file"; break; }
  echo "  jobs/$(basename "$handed")  $(size "$handed"), with jobs/$(basename "$handed" .TIF).LOG"
done
echo "  the client's record: client/korvaclient.log"
tr -d '\r' < "$out/client/korvaclient.log" | sed -n 's/^command line: /    started as: /p' | head -1
echo "Time per page under Wine (drawing, capture, scaling, coding, appending): $average s on average"
echo "Installed printer \"$printer\" (korvasetup's report: install.txt):"
for handed in "$out"/installed-jobs/*.TIF; do
  [ -e "$handed" ] || { echo "  no page file"; break; }
  echo "  installed-jobs/$(basename "$handed")  $(size "$handed"), $(tiffinfo "$handed" 2>/dev/null | grep -c '^TIFF Directory') pages"
done
echo "The print host's report of each job: $out/test-print.steps, $out/client.steps and $out/installed.steps"
echo "Each page as printed against the page as drawn (drawn/page-N.ppm), by korvacompare:"
echo "  $name.tif, decoded by libtiff (pages/page-N.pnm):"
sed 's/^/    /' "$out/pages.verdicts"
echo "  $name.pdf, rendered by MuPDF at $resolution dpi (pdf-pages/page-N.pnm):"
sed 's/^/    /' "$out/pdf-pages.verdicts"
echo "  side by side, as drawn and as printed: $out/pages.png"
if [ "$page_count" -ne "$drawn_count" ]; then
  echo "demo: $name.tif has $page_count pages, but $drawn_count were drawn" >&2
fi
if [ "$faithful" -ne 1 ]; then
  echo "demo: the printed pages do not show what was drawn (see above and pages.png)" >&2
  exit 1
fi
