#!/usr/bin/env bash
# The Windows and 32-bit checks of ./build.sh test:
#  - the shipped programs' headers: a PE32 GUI program for Intel 80386 and a
#    PE32+ one for x86-64, each importing system DLLs only;
#  - the engine's tests for 32-bit Linux under qemu-i386, and the engine's
#    and the Windows layer's tests for 64-bit Windows under Wine;
#  - ruvo-sim under Wine and under qemu-i386 against the native one, byte
#    for byte on the project's scripted games;
#  - the 64-bit game under Wine on a virtual display (game_test.sh).
# Usage: run.sh NATIVE_BUILD WINDOWS_BUILD I686_BUILD
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
native=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
i686=$(cd "$3" && pwd)
status=0
step() { # step TITLE COMMAND...
    echo "== $1"
    shift
    "$@" || { echo "FAILED: $*"; status=1; }
}

# What Windows itself brings: the program needs nothing else beside it.
system_dlls='^(advapi32|comctl32|gdi32|kernel32|msvcrt|user32|winmm)\.dll$'
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

step "the engine's tests for 32-bit Linux, under qemu-i386" \
    ctest --test-dir "$i686" --output-on-failure -j "$(nproc)"

# Wine's prefix for the Windows tests is made before ctest looks for them.
export WINEPREFIX=$windows/x64/wineprefix
"$here/wine-run.sh" "$windows/x64/bin/ruvo-probe.exe" none >/dev/null 2>&1
step "the engine's and the Windows layer's tests, under Wine" \
    ctest --test-dir "$windows/x64" --output-on-failure -j "$(nproc)"

launchers=$(mktemp -d)
trap 'rm -rf "$launchers"' EXIT
printf '#!/bin/sh\nexec "%s" "%s" "$@"\n' "$here/wine-run.sh" "$windows/x64/bin/ruvo-sim.exe" >"$launchers/windows"
printf '#!/bin/sh\nexec qemu-i386 "%s" "$@"\n' "$i686/bin/ruvo-sim" >"$launchers/i686"
chmod +x "$launchers/windows" "$launchers/i686"
step "ruvo-sim for Windows under Wine, against the native one" \
    bash "$here/../../sim/equality_test.sh" "$native" "$launchers/windows" Windows
step "ruvo-sim for 32-bit Linux under qemu-i386, against the native one" \
    bash "$here/../../sim/equality_test.sh" "$native" "$launchers/i686" "32-bit Linux"
"${RUVO_WINESERVER:-/usr/lib/wine/wineserver}" -k 2>/dev/null
unset WINEPREFIX

step "the game under Wine" bash "$here/game_test.sh" "$windows/x64"
[ $status -eq 0 ] && echo "windows and 32-bit checks: all passed"
exit $status
