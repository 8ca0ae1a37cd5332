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
source "$here/../../support/wine_checks.sh"
start_wine_display
run reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
# Wine reads the scale when its server starts.
"${RUVO_WINESERVER:-/usr/lib/wine/wineserver}" -k 2>/dev/null
rm -f "$WINEPREFIX/.ruvo-awake"

start_game || exit 1
check "the automatic size at 150 % is twice the field, 768 x 400" \
    wait_for 60 eval '[ "$(probe window)" = "RuvoWClass|$TITLE|768x400" ]'
press "$WIN" F1
# 560 x 480 at 100 %, with its frame; the screen's 768 rows hold it.
wide_help() { local size; size=$(probe size "Ruvo Help") && [ "${size%x*}" -ge 840 ] && [ "${size#*x}" -ge 700 ]; }
check "the help window at 150 %" wait_for 30 wide_help
check "the dialogs' texts fit at 150 %" run "$build/bin/ruvo_windows_tests.exe" --gtest_filter='DialogText.*'
kill "$game_pid" 2>/dev/null
report
