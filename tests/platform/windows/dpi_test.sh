#!/usr/bin/env bash
# The Windows game at 150 % (a Wine prefix at 144 dpi, LogPixels), on a
# virtual display: the automatic size doubles the field (its whole-number
# scale), the help window grows by half, and every dialog text still fits
# its box in the face chosen at that size (dialog_text_test, run here).
# Usage: dpi_test.sh BUILD_DIR (a Windows build with its tests)
# SPDX-License-Identifier: MIT
set -uo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../support/script_checks.sh"
need_tools Xvfb xdotool openbox xprop
export WINEPREFIX=$work/prefix
trap '[ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null; "${RUVO_WINESERVER:-/usr/lib/wine/wineserver}" -k 2>/dev/null; cleanup' EXIT
run() { "$here/wine-run.sh" "$@"; }
probe() { run "$build/bin/ruvo-probe.exe" "$@" 2>/dev/null | tr -d '\r'; }

start_xvfb || { echo "FAIL: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }
start_wm || { echo "FAIL: openbox did not start"; exit 1; }
run reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
# Wine reads the scale when its server starts.
"${RUVO_WINESERVER:-/usr/lib/wine/wineserver}" -k 2>/dev/null
rm -f "$WINEPREFIX/.ruvo-awake"

run "$build/bin/ruvo.exe" >"$work/game.log" 2>&1 &
game_pid=$!
check "the automatic size at 150 % is twice the field, 768 x 400" \
    wait_for 60 eval '[ "$(probe window)" = "RuvoWClass|Ruvo Zelp! for Windows 95|768x400" ]'
WIN=$(xdotool search --onlyvisible --name '^Ruvo Zelp! for Windows 95$' 2>/dev/null | head -n 1)
xdotool windowfocus --sync "$WIN" 2>/dev/null
xdotool key F1
# 560 x 480 at 100 %, with its frame; the screen's 768 rows hold it.
wide_help() { local size; size=$(probe size "Ruvo Help") && [ "${size%x*}" -ge 840 ] && [ "${size#*x}" -ge 700 ]; }
check "the help window at 150 %" wait_for 30 wide_help
check "the dialogs' texts fit at 150 %" run "$build/bin/ruvo_windows_tests.exe" --gtest_filter='DialogText.*'
kill "$game_pid" 2>/dev/null
report
