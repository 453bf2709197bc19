#!/bin/sh
# Installs the Debian packages that building and testing need, when any is missing.
# With the argument "bench", also those that the benchmark scripts run as peers.
set -e
packages="cmake make g++ googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64
  binutils-mingw-w64-i686 wine64 clang libclang-rt-14-dev
  libtiff-tools qpdf poppler-utils mupdf-tools ghostscript libjpeg-turbo-progs netpbm valgrind"
if [ "${1:-}" = bench ]; then
  packages="$packages groff man-db time imagemagick"
fi

missing=""
for p in $packages; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  case "$status" in
    *"install ok installed"*) ;;
    *) missing="$missing $p" ;;
  esac
done
[ -z "$missing" ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing:$missing"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
