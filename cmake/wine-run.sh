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
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
mkdir -p "$WINEPREFIX"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot -i >/dev/null 2>&1
    # A fresh prefix is settled only when its server has finished the first start; before
    # that, its service manager may refuse or time out service starts.
    "$wineserver" -w
  fi
) 9>"$WINEPREFIX.lock"
exec "$wine" "$@"
