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
cmake --build "$build" -j "${JOBS:-$(nproc)}" --target korvadrv-hosted korvaprint korvaclient korvasetup >/dev/null

rm -rf "$out"
mkdir -p "$out/driver" "$out/client" "$out/jobs" "$out/pages" "$out/package" "$out/installed-jobs"
cp "$build/bin/korvadrv-hosted.dll" "$out/driver/"
cp "$build/bin/korvaclient.exe" "$out/client/"

if [ -n "$file" ]; then
  name=$(basename "$file" .pdf)
  document=$(basename "$file")
  echo "== Rasterising $document at $dpi dpi"
  # A printer gets its pages drawn without anti-aliasing, as GDI draws for printers.
  pdftoppm -r "$dpi" -aa no -aaVector no "$file" "$out/pages/page"
  pages=""
  for page in "$out"/pages/page*.ppm; do
    pages="$pages $(windows_path "$page")"
  done
else
  name=sample
  document="Sample document"
  pages="--sample"
  rmdir "$out/pages"
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

# Runs one job; each line of the print host's report gets the time it arrived, so that the
# time of every page can be read off afterwards.
print_job() {
  # shellcheck disable=SC2086 # $pages is a list of words
  "$root/cmake/wine-run.sh" "$prefix" "$build/bin/korvaprint.exe" \
      --driver "$(windows_path "$out/driver/korvadrv-hosted.dll")" --document "$document" $pages 2>&1 |
    bash -c 'while IFS= read -r line; do printf "%s %s\n" "$EPOCHREALTIME" "$line"; done' > "$out/$1.steps"
  if grep -q FAILED "$out/$1.steps" || ! grep -q "DrvEndDoc *ok" "$out/$1.steps"; then
    sed 's/^[^ ]* //' "$out/$1.steps"
    echo "demo: the $1 job failed" >&2
    exit 1
  fi
}

echo "== Printing $document in test-print mode"
write_config 1
print_job test-print
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

tiff="$out/$name.tif"
page_count=$(tiffinfo "$tiff" 2>/dev/null | grep -c "^TIFF Directory")
echo
echo "== Summary: $document, $page_count pages, $resolution dpi (drawn at $dpi dpi), colour $color"
echo "Test-print mode left in $out:"
echo "  $name.tif  $(size "$tiff"), the page file:"
page_times "$out/test-print.steps" > "$out/page-times"
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
