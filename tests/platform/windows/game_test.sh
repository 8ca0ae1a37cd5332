#!/usr/bin/env bash
# A Windows game under Wine, on a virtual X display with a small window
# manager, driven by xdotool: its window, the keys, the registry it leaves and
# reads, the dialogs over a game that goes on, a high score whose name dialog
# is closed with the window and shown again after a restart, the 64-bit game
# at 150 %, and the installer, which installs the build's own kind of program
# (x86_64 on 64-bit Windows; i686 in a 32-bit prefix, WINEARCH=win32, as on
# 32-bit Windows).
# The installer is a program for 32-bit Windows: where Wine cannot run one,
# its checks are left out, saying why, and the zip's game is started instead.
# Usage: game_test.sh BUILD_DIR SETUP (a Windows build with its tests and its
# zip, the installer)
# SPDX-License-Identifier: MIT
set -uo pipefail
build=$(cd "$1" && pwd)
setup=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
tree=$(cd "$here/../../.." && pwd)
source "$here/../../support/script_checks.sh"
source "$here/../../support/wine_checks.sh"
start_wine_display
registry() { run reg query "${1:-$key}" "${@:2}" 2>/dev/null | tr -d '\r'; }
value() { registry "$key" | sed -n "s/^ *$1  *\(REG_[A-Z_]*\)  *\(.*\)\$/\1 \2/p"; }
client_is() { [[ "$(probe window | cut -d'|' -f3)" == $1 ]]; } # client_is WIDTHxHEIGHT-PATTERN

# --- The window and the keys; Sound saved on Exit --------------------------
start_game || exit 1
check "class, title and a 384 x 200 client area" test "$(probe window)" = "RuvoWClass|$TITLE|384x200"
check "F2 shows a blue START" pressed F2 banner 0000FF
check "the START banner ends" wait_for 15 no_banner 0000FF
# The View menu's keys: twice the size (the largest that fits 1024 x 768),
# the automatic size again, full screen and back with Escape.
check "Ctrl++ zooms to 2x" pressed ctrl+equal client_is 768x400
check "Ctrl+0 comes back to the automatic 1x" pressed ctrl+0 client_is 384x200
press "$WIN" F11
check "F11 fills the screen" eval 'wait_for 30 client_is "1024x*" || { probe window; false; }'
check "Escape leaves full screen" pressed Escape client_is 384x200
check "F1 opens the help window" pressed F1 shown "Ruvo Help"
# Closing the help window (as its close box does) gives the keys back to the
# game, with no click and no focus given by hand.
probe close "Ruvo Help"
check "the help window closes" wait_for 10 no_others
xdotool key --delay 60 F3
check "F3 right after it pauses the game" wait_for 10 banner FF0000
press "$WIN" F4 F5
check "Game > Exit ends the game with status 0" quit_by_menu
check "the help window goes with it" hidden "Ruvo Help"
check "Sound is saved as 1" test "$(value Sound)" = "REG_DWORD 0x1"
# Wine has no MIDI output device here: the music stays closed and F5 cannot switch it on.
check "Music stays 0 without a MIDI device" test "$(value Music)" = "REG_DWORD 0x0"
check "the switches and the view, no table without a new entry" test "$(registry | awk '/REG_/ {print $1, $2}' |
    sort | tr '\n' ' ')" = "Fullscreen REG_DWORD Music REG_DWORD Option REG_DWORD Sound REG_DWORD Zoom REG_DWORD "

# --- The dialogs over a running game ----------------------------------------
# (What each stored value loads as is registry_test's.)
check "the game starts again" start_game
press "$WIN" F2
check "F8 opens the table" wait_for 10 eval 'press "$WIN" F8; wait_for 3 shown High-Score'
check "the game plays on behind the table" game_runs
check "Escape closes the table, no other window left" eval 'close_box High-Score Escape && wait_for 10 no_others'
about="“Ruvo Zelp!”について"
check "F10 opens About" pressed F10 shown "$about"
check "which is the one other window" test "$(others)" = "$about"
check "the game plays on behind About" game_runs
check "Enter closes About" eval 'close_box "$about" Return && wait_for 10 no_others'
check "closing the window ends the game" eval 'press "$WIN" alt+F4; wait_game_exit 30; [ "$game_status" = 0 ]'

# --- A high score: the name asked for, the table shown, kept for next time --
high_score_game "Wine Tester" W i n e space T e s t e r
# The window is closed (WM_CLOSE) while the name dialog is open: the dialog
# ends with the name typed, the row is saved, no table opens without its owner.
probe close
check "WM_CLOSE during the name dialog ends the game" eval 'wait_game_exit 30; [ "$game_status" = 0 ]'
check "no dialog is left behind" hidden High-Score
check "the new row is saved with the name typed" test "$(value Name1)|$(value Score1 | cut -d' ' -f1)" = "REG_SZ Wine Tester|REG_DWORD"
check "the game starts a fourth time" start_game
check "after a restart the table shows the name" pressed F8 eval '[ "$(probe text High-Score 416)" = "Wine Tester" ]'
close_box High-Score Return
quit_by_menu

# --- At 150 % (the 64-bit game) -----------------------------------------------
# A prefix at 144 dpi (LogPixels, read when Wine's server starts): the
# automatic size doubles the field (its whole-number scale), the help window
# grows by half, and every dialog text still fits its box in the face chosen
# at that size (dialog_text_test, run here).
if [ "${WINEARCH:-}" != win32 ]; then
    run reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
    stop_server
    rm -f "$WINEPREFIX/.ruvo-awake"
    check "the game starts at 150 %" start_game
    check "the automatic size at 150 % is twice the field, 768 x 400" wait_for 60 client_is 768x400
    # 560 x 480 at 100 %, with its frame; the screen's 768 rows hold it.
    wide_help() { local size; size=$(probe size "Ruvo Help") && [ "${size%x*}" -ge 840 ] && [ "${size#*x}" -ge 700 ]; }
    check "the help window at 150 %" pressed F1 wide_help
    check "the dialogs' texts fit at 150 %" run "$build/bin/ruvo_windows_tests.exe" --gtest_filter='DialogText.*'
    check "closing the window ends the game and its help" eval 'probe close; wait_game_exit 30; [ "$game_status" = 0 ]'
fi

# --- The installer: silent, per user, and its uninstaller ----------------
# (Where Wine runs no 32-bit program, the zip's game instead.)
target=$work/installed
no_installer=$(no_wine32)
if [ -n "$no_installer" ]; then
    echo "left out: the installer's checks, the installer being a 32-bit program ($no_installer); the zip's game instead"
    zip=$(ls "$build"/ruvo-*-windows-*.zip 2>/dev/null | head -n 1)
    mkdir -p "$target" && (cd "$target" && cmake -E tar xf "$zip") && target=$target/Ruvo
else
    check "the game starts for the installer" start_game
    check "the installer refuses while the game runs" eval '! run "$setup" /S "/D=$(winpath "$target")" >/dev/null 2>&1'
    check "and installs nothing" test ! -e "$target/ruvo.exe"
    quit_by_menu
    # A folder the player may not write in (for root too: immutable, where it can be).
    locked=$work/locked
    mkdir -p "$locked" && chmod 555 "$locked"
    [ "$(id -u)" -eq 0 ] && chattr +i "$locked" 2>/dev/null
    if touch "$locked/probe" 2>/dev/null; then
        rm -f "$locked/probe"
        echo "left out: the installer's refusal of a folder it cannot write in (no such folder can be made here)"
    else
        check "a folder it cannot write in is refused" eval '! run "$setup" /S "/D=$(winpath "$locked")" >/dev/null 2>&1'
        check "and gets nothing" test -z "$(ls -A "$locked")"
    fi
    [ "$(id -u)" -eq 0 ] && chattr -i "$locked" 2>/dev/null
    chmod 755 "$locked"
    run "$setup" /S "/D=$(winpath "$target")" >/dev/null 2>&1
fi
check "the game is in the folder, its help, music and uninstaller" wait_for 60 test -f "$target/ruvo.exe" -a \
    -f "$target/RUVO.RTF" -a -f "$target/A_114GMW.MID" -a \( -n "$no_installer" -o -f "$target/uninstall.exe" \)
check "with the licence and the notices" eval 'cmp -s "$target/LICENSE.txt" "$tree/LICENSE" &&
    cmp -s "$target/THIRD_PARTY_NOTICES.txt" "$tree/THIRD_PARTY_NOTICES"'
machine=i386:x86-64
[ "${WINEARCH:-}" = win32 ] && machine=i386
check "of the kind this Windows runs ($machine)" eval \
    'x86_64-w64-mingw32-objdump -f "$target/ruvo.exe" | grep -q "^architecture: $machine,"'
game=$target/ruvo.exe
check "the game starts from there" start_game
check "and ends" quit_by_menu
[ -n "$no_installer" ] && { report; exit; }
apps='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolp.Ruvo'
size_kib=$(registry "$apps" /v EstimatedSize | sed -n 's/.*REG_DWORD *0x\([0-9a-f]*\).*/\1/p')
folder_kib=$(($(cat "$target"/* | wc -c) / 1024))
check "Apps shows the size the folder holds ($folder_kib KiB)" \
    test "$((16#${size_kib:-0} - folder_kib))" -le 8 -a "$((folder_kib - 16#${size_kib:-0}))" -le 8
default_of() { registry "HKCU\Software\Classes\\$1" /ve | sed -n 's/^ *(Default) *REG_SZ *//p'; }
check "replay files open with the installed game" eval '[ "$(default_of .ruvo-replay)" = Tolp.Ruvo.Replay ] &&
    [ "$(default_of "Tolp.Ruvo.Replay\shell\open\command")" = "\"$(winpath "$target")\\ruvo.exe\" \"%1\"" ]'
check "under the game's icon" test "$(default_of 'Tolp.Ruvo.Replay\DefaultIcon')" = "$(winpath "$target")\ruvo.exe,0"
start_menu_entry() { [ -n "$(find "$WINEPREFIX/drive_c/users" -name 'Ruvo Zelp!.lnk' 2>/dev/null)" ]; }
check "the Start menu has the game" start_menu_entry
check "the uninstaller is listed in Apps" eval 'registry "$apps" >/dev/null'
run "$target/uninstall.exe" /S >/dev/null 2>&1
check "the uninstaller removes the game" wait_for 60 test ! -e "$target"
check "and the Start menu's entry" eval '! start_menu_entry'
check "and its entry in Apps" eval '! registry "$apps" >/dev/null'
check "and the replay files' association" eval '[ -z "$(default_of .ruvo-replay)$(default_of Tolp.Ruvo.Replay)" ]'
check "and keeps the high-score table" test "$(value Name1)" = "REG_SZ Wine Tester"
report
