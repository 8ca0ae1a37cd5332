#!/usr/bin/env bash
# Runs a Windows program under Wine (x86_64), as ctest's emulator for the
# Windows build and for the scripts: wine-run.sh PROGRAM.exe [ARGS...]
# The prefix is $WINEPREFIX, or the build's own (wineprefix beside bin/).
# A new prefix is made once; the wineserver and Wine's services are started
# with their output going nowhere, since they keep the output of the program
# that starts them open (a test's pipe would never end), and the server is
# kept for a minute after the last program, so that it stays up between runs.
set -u
: "${WINEPREFIX:=$(cd "$(dirname "$1")/.." && pwd)/wineprefix}"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
wine=${RUVO_WINE:-/usr/lib/wine/wine64}
server=${RUVO_WINESERVER:-/usr/lib/wine/wineserver}
mkdir -p "$WINEPREFIX"
stamp=$WINEPREFIX/.ruvo-awake
(
    flock 9
    # Every run renews the stamp, and the server outlives it by half a minute.
    if [ -z "$(find "$stamp" -newermt '-30 seconds' 2>/dev/null)" ]; then
        "$server" -p60 </dev/null >/dev/null 2>&1 9>&-
        [ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot -i </dev/null >/dev/null 2>&1 9>&-
        "$wine" cmd /c exit </dev/null >/dev/null 2>&1 9>&-
    fi
    touch "$stamp"
) 9>"$WINEPREFIX/.ruvo-lock"
exec "$wine" "$@"
