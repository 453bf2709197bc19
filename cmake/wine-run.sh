#!/bin/sh
# Usage: wine-run.sh PREFIX PROGRAM [ARGS...]
# Runs a Windows program under Wine, headless, in the given prefix (WINEPREFIX from the
# environment wins, so a test can ask for a fresh prefix of its own). The prefix is made
# once, under a lock, since CTest may start several programs at once.
set -e
: "${WINEPREFIX:=$1}"
shift
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
mkdir -p "$WINEPREFIX"
(
  flock 9
  [ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot -i >/dev/null 2>&1
) 9>"$WINEPREFIX.lock"
exec "$wine" "$@"
