#!/usr/bin/env bash
# The Windows checks of ./build.sh test:
#  - the shipped programs' headers: a PE32 GUI program for Intel 80386 and a
#    PE32+ one for x86-64, each importing system DLLs only;
#  - the engine's and the Windows layer's tests for 64-bit Windows under Wine;
#  - ruvo-sim under Wine against the native one, byte for byte on the
#    project's scripted games;
#  - the 64-bit game under Wine on a virtual display (game_test.sh), with
#    its replays (verified by the native ruvo-sim), the players' installer
#    and at 150 %;
#  - where this machine runs 32-bit x86 code and Wine's 32-bit half is
#    installed (./build.sh test installs it there): the same for the 32-bit
#    programs (but 150 %), in a 32-bit prefix as on 32-bit Windows. Elsewhere one line
#    says why they are left out, and the installer's checks with them (it is
#    a 32-bit program): the 64-bit game is started from its zip instead.
# Every part runs in Wine prefixes of its own, made afresh for this run.
# Usage: run.sh NATIVE_BUILD WINDOWS_BUILD
# (WINDOWS_BUILD: the i686 build with the installer, its x64/ the x86_64 one)
# SPDX-License-Identifier: MIT
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
native=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
source "$here/../../support/script_checks.sh"
source "$here/../../support/wine_checks.sh"
export RUVO_WINE_LOGS=$work/wine-logs
mkdir -p "$RUVO_WINE_LOGS" "$work/launchers"
status=0 steps=0 failed_logs=() failed_64=() failed_32=() # the steps of each Windows architecture that failed
# Each step's output is kept in a file (not a pipe, which Wine's lingering
# processes would hold open) and shown when it ends. A long run's log is cut
# short where CI shows it, so the end of a failed step's output is repeated
# at the very end.
step() { # step BITS TITLE COMMAND...: a part of the checks of the BITS-bit programs
    local bits=$1 title=$2 log=$work/step-$((++steps)).log rc
    shift 2
    echo "== $title"
    "$@" >"$log" 2>&1
    rc=$?
    cat "$log"
    [ $rc -eq 0 ] && return
    echo "FAILED: $*"
    status=1
    failed_logs+=("$title|$log")
    if [ "$bits" = 32 ]; then failed_32+=("$title"); else failed_64+=("$title"); fi
}

# What Windows itself brings: the program needs nothing else beside it.
system_dlls='^(advapi32|comctl32|comdlg32|gdi32|kernel32|msvcrt|shell32|user32|winhttp|winmm)\.dll$'
headers() { # headers PROGRAM ARCHITECTURE MAGIC
    local dump bad
    dump=$(x86_64-w64-mingw32-objdump -p -f "$1") || return 1
    grep -q "^architecture: $2," <<<"$dump" || { echo "$1: not for $2"; return 1; }
    grep -qE "^Magic[[:space:]]+$3" <<<"$dump" || { echo "$1: not $3"; return 1; }
    grep -qE '^Subsystem[[:space:]]+00000002' <<<"$dump" || { echo "$1: not a GUI program"; return 1; }
    bad=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z' | grep -vE "$system_dlls")
    [ -z "$bad" ] || { echo "$1 imports $bad"; return 1; }
}
step 32 "ruvo.exe for i686: PE32, GUI, Intel 80386, system DLLs only" headers "$windows/bin/ruvo.exe" i386 '010b'
step 64 "ruvo.exe for x86_64: PE32+, GUI, x86-64, system DLLs only" headers "$windows/x64/bin/ruvo.exe" i386:x86-64 '020b'

# The Windows layer's tests make windows (dialogs): an X display for them.
start_xvfb || { echo "FAILED: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }
no_installer=$(no_wine32) # game_test.sh says so and why
left_out=$no_installer
if [ -z "$left_out" ] && [ ! -f "$windows/bin/ruvo-probe.exe" ]; then
    left_out="$windows was configured without Wine's 32-bit half"
fi
[ -n "$left_out" ] && echo "== left out: the 32-bit Windows programs under Wine ($left_out)"
setup=$(ls "$windows"/ruvo-*-windows-setup.exe 2>/dev/null | head -n 1)
with_setup=", with the installer"
[ -n "$no_installer" ] && with_setup=", from its zip"
# Each build's tests and its ruvo-sim against the native one, in a new prefix
# (made before ctest looks for the tests); then its game, with the installer,
# and its replays. The 32-bit programs in a 32-bit prefix, as on 32-bit Windows.
for bits in 64 32; do
    build=$windows/x64
    if [ $bits = 32 ]; then
        [ -z "$left_out" ] || break
        build=$windows
        export WINEARCH=win32
    fi
    export WINEPREFIX=$work/prefix-$bits
    run "$build/bin/ruvo-probe.exe" none >/dev/null 2>&1
    step $bits "the engine's and the Windows layer's tests for $bits-bit Windows, under Wine" \
        ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
    # The comparison reads the program's stderr: Wine's reports stay in the logs.
    printf '#!/bin/sh\nRUVO_WINE_REPORT=0 exec "%s" "%s" "$@"\n' "$here/wine-run.sh" "$build/bin/ruvo-sim.exe" \
        >"$work/launchers/$bits"
    chmod +x "$work/launchers/$bits"
    step $bits "ruvo-sim for $bits-bit Windows under Wine, against the native one" \
        bash "$here/../../sim/equality_test.sh" "$native" "$work/launchers/$bits" "$bits-bit Windows"
    stop_server
    unset WINEPREFIX
    step $bits "the $bits-bit game and its replays under Wine$with_setup" bash "$here/game_test.sh" "$build" "$setup" \
        "$native"
done
unset WINEARCH

# A start that Wine failed and that was tried again is said here too.
if [ -s "$RUVO_WINE_LOGS/retries.log" ]; then
    echo "Wine failed to start a program and it was tried again:"
    sed 's/^/  /' "$RUVO_WINE_LOGS/retries.log"
fi
for entry in "${failed_logs[@]}"; do
    echo "== failed: ${entry%%|*}; the end of what it printed:"
    tail -n 40 "${entry#*|}" | sed 's/^/  /'
done
verdict() { # verdict TITLE...: the titles of the steps that failed
    [ $# -eq 0 ] && echo passed && return
    [ $# -eq 1 ] && echo "1 part failed:" || echo "$# parts failed:"
    printf '  - %s\n' "$@"
}
if [ -n "${RUVO_TEST_SUMMARY:-}" ]; then
    thirty_two="left out ($left_out)"
    [ -z "$left_out" ] && thirty_two=$(verdict "${failed_32[@]}")
    echo "windows 64-bit: $(verdict "${failed_64[@]}")${no_installer:+ (the installer left out: $no_installer)}" \
        >>"$RUVO_TEST_SUMMARY"
    echo "windows 32-bit: $thirty_two" >>"$RUVO_TEST_SUMMARY"
fi
[ $status -eq 0 ] && echo "windows checks: all passed"
exit $status
