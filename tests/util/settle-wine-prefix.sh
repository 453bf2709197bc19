#!/bin/sh
# Usage: settle-wine-prefix.sh WINE-RUN PREFIX
# Makes a fresh Wine prefix and waits until its first boot has finished. Until then Wine's
# service manager refuses or times out service requests, for up to a minute on a busy
# machine, so tests that control services start from a settled prefix.
set -e
runner=$1
prefix=$2
server=$(command -v wineserver || command -v wineserver64 || echo /usr/lib/wine/wineserver64)
# A server still running on the old prefix would write into the new one.
[ ! -d "$prefix" ] || WINEPREFIX=$prefix "$server" -w
rm -rf "$prefix" "$prefix.lock"
WINEPREFIX=$prefix "$runner" "$prefix" cmd /c exit 0
WINEPREFIX=$prefix "$server" -w
