#!/usr/bin/env bash
# Runs a Windows program under Wine, as ctest's emulator for the Windows
# builds and for the scripts: wine-run.sh PROGRAM.exe [ARGS...]
# The prefix is $WINEPREFIX, or the build's own (wineprefix beside bin/); a
# 32-bit prefix (WINEARCH=win32) is run by Wine's 32-bit loader, any other by
# the 64-bit one, which hands 32-bit programs to the 32-bit loader itself.
# A new prefix is made once; the wineserver and Wine's services are started
# with their output going to the prefix's start log, since they keep the
# output of the program that starts them open (a test's pipe would never
# end), and the server is kept for a minute after the last program, so that
# it stays up between runs.
# Wine's own messages (WINEDEBUG=err+all, and the modules it loads) go to a
# log of the run, kept in $RUVO_WINE_LOGS (default: logs/ in the prefix)
# when the program ends with a status other than 0 and then printed on
# stderr; the program's stderr stays its own. When Wine fails before it has
# loaded the program, the run is tried once more, and that is said on stderr
# and noted in retries.log beside the logs.
# SPDX-License-Identifier: MIT
set -u
: "${WINEPREFIX:=$(cd "$(dirname "$1")/.." && pwd)/wineprefix}"
export WINEPREFIX WINEDEBUG=err+all,+loaddll WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
wine=${RUVO_WINE:-/usr/lib/wine/wine64}
[ "${WINEARCH:-}" = win32 ] && wine=${RUVO_WINE32:-/usr/lib/wine/wine}
server=${RUVO_WINESERVER:-/usr/lib/wine/wineserver}
logs=${RUVO_WINE_LOGS:-$WINEPREFIX/logs}
mkdir -p "$WINEPREFIX" "$logs"
stamp=$WINEPREFIX/.ruvo-awake
(
    flock 9
    # Every run renews the stamp, and the server outlives it by half a minute.
    if [ -z "$(find "$stamp" -newermt '-30 seconds' 2>/dev/null)" ]; then
        {
            "$server" -p60
            [ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot -i
            "$wine" cmd /c exit
        } </dev/null >>"$logs/start.log" 2>&1 9>&-
    fi
    touch "$stamp"
) 9>"$WINEPREFIX/.ruvo-lock"

# The module Wine names when it has loaded the program.
program=${1##*[\\/]}
[[ "$program" == *.* ]] || program=$program.exe
loaded_line="Loaded L\"[^\"]*\\\\\\\\${program//./\\.}\" at "

log=$(mktemp "$logs/run-XXXXXX")
run_once() {
    : >"$log"
    # Wine's lines ("0024:err:channel:function ...") to the log, the program's
    # own bytes to stderr unchanged.
    exec 4> >(exec perl -ne 'BEGIN { open(LOG, ">>", shift) or die; select(LOG); $| = 1; select(STDERR); $| = 1 }
        if (/^[0-9a-f]{4,8}:(?:err|warn|fixme|trace):/) { print LOG $_ } else { print STDERR $_ }' "$log")
    local filter=$! tries=0
    "$wine" "$@" 2>&4 4>&-
    status=$?
    exec 4>&-
    # The log is whole once the filter has read to the end; a process that
    # Wine left running with the pipe open must not hold the run up.
    while kill -0 "$filter" 2>/dev/null && [ $((tries += 1)) -le 50 ]; do
        sleep 0.1
    done
}
report() { # what is said on stderr, unless RUVO_WINE_REPORT=0 (a caller that compares stderr)
    [ "${RUVO_WINE_REPORT:-1}" = 0 ] || cat >&2
}
run_once "$@"
if [ $status -ne 0 ] && ! grep -qiE "$loaded_line" "$log"; then
    echo "$(date '+%F %T') $program: Wine ended with status $status before it had loaded the program; tried once more" \
        >>"$logs/retries.log"
    {
        echo "wine-run.sh: Wine ended with status $status before it had loaded $program; its messages:"
        sed 's/^/  /' "$log" | tail -n 60
        echo "wine-run.sh: trying $program once more"
    } | report
    run_once "$@"
fi
if [ $status -ne 0 ]; then
    kept=$logs/$(date +%Y%m%d-%H%M%S)-$program-$$.log
    mv "$log" "$kept"
    {
        echo "wine-run.sh: $program ended with status $status; Wine's messages (kept in $kept):"
        grep -v ':trace:loaddll:' "$kept" | sed 's/^/  /' | tail -n 60
    } | report
else
    rm -f "$log"
fi
exit $status
