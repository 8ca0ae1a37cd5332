#!/usr/bin/env bash
# The Windows checks of ./build.sh test:
#  - the shipped programs' headers: a PE32 GUI program for Intel 80386 and a
#    PE32+ one for x86-64, each importing system DLLs only;
#  - the engine's and the Windows layer's tests for 64-bit Windows under Wine;
#  - ruvo-sim under Wine against the native one, byte for byte on the
#    project's scripted games;
#  - the 64-bit game under Wine on a virtual display (game_test.sh), with the
#    players' installer, its replays (replay_test.sh, verified by the native
#    ruvo-sim), and at 150 % (dpi_test.sh);
#  - where this machine runs 32-bit x86 code and Wine's 32-bit half is
#    installed (./build.sh test installs it there): the same for the 32-bit
#    programs, in a 32-bit prefix as on 32-bit Windows. Elsewhere one line
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
mkdir -p "$RUVO_WINE_LOGS"
status=0
failed_64=() failed_32=() # the steps of each Windows architecture that failed
steps=0 failed_logs=()
# Each step's output is kept in a file (not a pipe, which Wine's lingering
# processes would hold open) and shown when it ends. A long run's log is cut
# short where CI shows it, so the end of a failed step's output is repeated
# at the very end.
step() { # step TITLE COMMAND...
    echo "== $1"
    local title=$1 log=$work/step-$((++steps)).log rc
    shift
    "$@" >"$log" 2>&1
    rc=$?
    cat "$log"
    [ $rc -eq 0 ] && return
    echo "FAILED: $*"
    status=1
    failed_logs+=("$title|$log")
    case $title in
    *for\ i686* | *32-bit\ Windows* | *32-bit\ game*) failed_32+=("$title") ;;
    *64-bit* | *x86_64*) failed_64+=("$title") ;;
    esac
}

# What Windows itself brings: the program needs nothing else beside it.
system_dlls='^(advapi32|comctl32|comdlg32|gdi32|kernel32|msvcrt|shell32|user32|winmm)\.dll$'
headers() { # headers PROGRAM ARCHITECTURE MAGIC
    local dump bad
    dump=$(x86_64-w64-mingw32-objdump -p -f "$1") || return 1
    grep -q "^architecture: $2," <<<"$dump" || { echo "$1: not for $2"; return 1; }
    grep -qE "^Magic[[:space:]]+$3" <<<"$dump" || { echo "$1: not $3"; return 1; }
    grep -qE '^Subsystem[[:space:]]+00000002' <<<"$dump" || { echo "$1: not a GUI program"; return 1; }
    bad=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z' | grep -vE "$system_dlls")
    [ -z "$bad" ] || { echo "$1 imports $bad"; return 1; }
}
step "ruvo.exe for i686: PE32, GUI, Intel 80386, system DLLs only" headers "$windows/bin/ruvo.exe" i386 '010b'
step "ruvo.exe for x86_64: PE32+, GUI, x86-64, system DLLs only" headers "$windows/x64/bin/ruvo.exe" i386:x86-64 '020b'

# The Windows layer's tests make windows (dialogs): an X display for them.
start_xvfb || { echo "FAILED: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }
server=${RUVO_WINESERVER:-/usr/lib/wine/wineserver}
launchers=$work/launchers
mkdir -p "$launchers"
# The tests of one Windows build and its ruvo-sim against the native one, in
# a new prefix (made before ctest looks for the tests).
windows_build() { # windows_build NAME BUILD
    local name=$1 build=$2
    export WINEPREFIX=$work/prefix-$name
    "$here/wine-run.sh" "$build/bin/ruvo-probe.exe" none >/dev/null 2>&1
    step "the engine's and the Windows layer's tests for $name, under Wine" \
        ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
    # The comparison reads the program's stderr: Wine's reports stay in the logs.
    printf '#!/bin/sh\nRUVO_WINE_REPORT=0 exec "%s" "%s" "$@"\n' "$here/wine-run.sh" "$build/bin/ruvo-sim.exe" \
        >"$launchers/$name"
    chmod +x "$launchers/$name"
    step "ruvo-sim for $name under Wine, against the native one" \
        bash "$here/../../sim/equality_test.sh" "$native" "$launchers/$name" "$name"
    "$server" -k 2>/dev/null
    unset WINEPREFIX
}

thirty_two= left_out=$(no_wine32)
no_installer=$left_out # game_test.sh says so and why
if [ -z "$left_out" ] && [ ! -f "$windows/bin/ruvo-probe.exe" ]; then
    left_out="$windows was configured without Wine's 32-bit half"
elif [ -z "$left_out" ]; then
    thirty_two=1
fi
[ -n "$left_out" ] && echo "== left out: the 32-bit Windows programs under Wine ($left_out)"

windows_build "64-bit Windows" "$windows/x64"
[ -n "$thirty_two" ] && WINEARCH=win32 windows_build "32-bit Windows" "$windows"

setup=$(ls "$windows"/ruvo-*-windows-setup.exe 2>/dev/null | head -n 1)
with_setup=", with the installer"
[ -n "$no_installer" ] && with_setup=", from its zip"
step "the 64-bit game under Wine$with_setup" bash "$here/game_test.sh" "$windows/x64" "$setup"
[ -n "$thirty_two" ] &&
    step "the 32-bit game under Wine (a 32-bit prefix), with the installer" \
        env WINEARCH=win32 bash "$here/game_test.sh" "$windows" "$setup"
step "replays in the 64-bit game under Wine" bash "$here/replay_test.sh" "$windows/x64" "$native"
[ -n "$thirty_two" ] &&
    step "replays in the 32-bit game under Wine (a 32-bit prefix)" \
        env WINEARCH=win32 bash "$here/replay_test.sh" "$windows" "$native"
step "the 64-bit game at 150 %" bash "$here/dpi_test.sh" "$windows/x64"

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
    echo "windows 64-bit: $(verdict "${failed_64[@]}")${no_installer:+ (the installer left out: $no_installer)}" \
        >>"$RUVO_TEST_SUMMARY"
    if [ -n "$thirty_two" ]; then
        echo "windows 32-bit: $(verdict "${failed_32[@]}")" >>"$RUVO_TEST_SUMMARY"
    else
        echo "windows 32-bit: left out ($left_out)" >>"$RUVO_TEST_SUMMARY"
    fi
fi
[ $status -eq 0 ] && echo "windows checks: all passed"
exit $status
