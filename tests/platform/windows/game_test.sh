#!/usr/bin/env bash
# A Windows game under Wine, on a virtual X display with a small window
# manager, driven by xdotool: its window, the keys, the registry it leaves and
# reads, the dialogs over a game that goes on, a high score whose name dialog
# is closed with the window and shown again after a restart, and the
# installer, which installs the build's own kind of program (x86_64 on 64-bit
# Windows; i686 in a 32-bit prefix, WINEARCH=win32, as on 32-bit Windows).
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
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }
start_wine_display
picture() { import -window "$WIN" rgb:- 2>/dev/null | md5sum; }
# The game goes on: its picture changes while a dialog is open over it.
game_runs() {
    local before
    before=$(picture)
    wait_for 10 eval '[ "$(picture)" != "$before" ]'
}
registry() { run reg query "$key" 2>/dev/null | tr -d '\r'; }
value() { registry | sed -n "s/^ *$1  *\(REG_[A-Z_]*\)  *\(.*\)\$/\1 \2/p"; }

# --- The window and the keys; Sound saved on Exit --------------------------
start_game || { echo "FAIL: no game window: $(probe window)"; exit 1; }
check "class, title and a 384 x 200 client area" \
    test "$(probe window)" = "RuvoWClass|Ruvo Zelp! for Windows 95|384x200"
press "$WIN" F2
check "F2 shows a blue START" wait_for 10 at_least 40 150 91 84 18 0000FF
check "the START banner ends" wait_for 15 none_of 150 91 84 18 0000FF
press "$WIN" F3
check "F3 shows a red PAUSE" wait_for 10 at_least 40 150 91 84 18 FF0000
press "$WIN" F3
check "F3 again resumes" wait_for 10 none_of 150 91 84 18 FF0000
# The View menu's keys: twice the size (the largest that fits 1024 x 768),
# the automatic size again, full screen and back with Escape.
client() { probe window | cut -d'|' -f3; }
press "$WIN" ctrl+equal
check "Ctrl++ zooms to 2x" wait_for 10 eval '[ "$(client)" = 768x400 ]'
press "$WIN" ctrl+0
check "Ctrl+0 comes back to the automatic 1x" wait_for 10 eval '[ "$(client)" = 384x200 ]'
press "$WIN" F11
full_screen() { wait_for 30 eval '[ "$(client | cut -dx -f1)" = 1024 ]' || { echo "client area: $(client)"; false; }; }
check "F11 fills the screen" full_screen
press "$WIN" Escape
check "Escape leaves full screen" wait_for 10 eval '[ "$(client)" = 384x200 ]'
press "$WIN" F1
check "F1 opens the help window" wait_for 10 shown "Ruvo Help"
# Closing the help window (as its close box does) gives the keys back to the
# game, with no click and no focus given by hand.
probe close "Ruvo Help"
check "the help window closes" wait_for 10 no_others
xdotool key --delay 60 F3
check "F3 right after it pauses the game" wait_for 10 at_least 40 150 91 84 18 FF0000
xdotool key --delay 60 F3
check "and resumes it" wait_for 10 none_of 150 91 84 18 FF0000
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
start_game || fail "the game did not start again"
press "$WIN" F2
check "F8 opens the table" wait_for 10 eval 'press "$WIN" F8; wait_for 3 shown High-Score'
check "the game plays on behind the table" game_runs
check "Escape closes the table, no other window left" eval 'close_box High-Score Escape && wait_for 10 no_others'
press "$WIN" F10
about="“Ruvo Zelp!”について"
check "F10 opens About" wait_for 10 shown "$about"
check "which is the one other window" eval '[ "$(others)" = "$about" ] && ! no_others'
check "the game plays on behind About" game_runs
check "Enter closes About" eval 'close_box "$about" Return && wait_for 10 no_others'
check "closing the window ends the game" eval 'press "$WIN" alt+F4; wait_game_exit 30; [ "$game_status" = 0 ]'

# --- A high score: the name asked for, the table shown, kept for next time --
for row in 1 2 3 4 5; do
    run reg add "$key" /v "Score$row" /t REG_DWORD /d 0 /f >/dev/null 2>&1
done
run reg add "$key" /v Option /t REG_DWORD /d 1 /f >/dev/null 2>&1
start_game || fail "the game did not start a third time"
# Option: no platforms to speak of, a fast game, no life to spare.
press "$WIN" alt+o o
check "Option opens" wait_for 10 shown Option
press "$(titled Option)" Tab 0 Tab Tab Tab 1 0 Tab Tab Tab 0 Return
check "OK closes Option" wait_for 10 no_others
press "$WIN" F2
check "the game ends and asks for a name" wait_for 60 has_control High-Score 410
press "$(titled High-Score)" W i n e space T e s t e r
check "the name is typed" wait_for 10 eval '[ "$(probe text High-Score 410)" = "Wine Tester" ]'
# The window is closed (WM_CLOSE) while the name dialog is open: the dialog
# ends with the name typed, the row is saved, no table opens without its owner.
probe close
check "WM_CLOSE during the name dialog ends the game" eval 'wait_game_exit 30; [ "$game_status" = 0 ]'
check "no dialog is left behind" hidden High-Score
check "the new row is saved with the name typed" test "$(value Name1)|$(value Score1 | cut -d' ' -f1)" = "REG_SZ Wine Tester|REG_DWORD"
start_game || fail "the game did not start a fourth time"
press "$WIN" F8
check "after a restart the table shows the name" wait_for 10 eval '[ "$(probe text High-Score 416)" = "Wine Tester" ]'
press "$(titled High-Score)" Return
wait_for 10 hidden High-Score
quit_by_menu

# --- The installer: silent, per user, and its uninstaller ----------------
# (Where Wine runs no 32-bit program, the zip's game instead.)
target=$work/installed
no_installer=$(no_wine32)
if [ -n "$no_installer" ]; then
    echo "left out: the installer's checks, the installer being a 32-bit program ($no_installer); the zip's game instead"
    zip=$(ls "$build"/ruvo-*-windows-*.zip 2>/dev/null | head -n 1)
    mkdir -p "$target" && (cd "$target" && cmake -E tar xf "$zip") && target=$target/Ruvo
    check "the zip holds the game, its help and music" test -f "$target/ruvo.exe" -a -f "$target/RUVO.RTF" \
        -a -f "$target/A_114GMW.MID"
else
    start_game || fail "the game did not start for the installer"
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
    check "the installer puts the game in the folder" wait_for 60 test -f "$target/ruvo.exe" -a -f "$target/RUVO.RTF" \
        -a -f "$target/A_114GMW.MID" -a -f "$target/uninstall.exe"
fi
notices_installed() {
    cmp -s "$target/LICENSE.txt" "$tree/LICENSE" && cmp -s "$target/THIRD_PARTY_NOTICES.txt" "$tree/THIRD_PARTY_NOTICES"
}
check "with the licence and the notices" notices_installed
machine=i386:x86-64
[ "${WINEARCH:-}" = win32 ] && machine=i386
check "of the kind this Windows runs ($machine)" eval \
    'x86_64-w64-mingw32-objdump -f "$target/ruvo.exe" | grep -q "^architecture: $machine,"'
game=$target/ruvo.exe
check "the game starts from there" start_game
check "and ends" quit_by_menu
[ -n "$no_installer" ] && { report; exit; }
size_kib=$(run reg query "HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolp.Ruvo" /v EstimatedSize 2>/dev/null |
    tr -d '\r' | sed -n 's/.*REG_DWORD *0x\([0-9a-f]*\).*/\1/p')
folder_kib=$(($(cat "$target"/* | wc -c) / 1024))
check "Apps shows the size the folder holds ($folder_kib KiB)" \
    test "$((16#${size_kib:-0} - folder_kib))" -le 8 -a "$((folder_kib - 16#${size_kib:-0}))" -le 8
classes='HKCU\Software\Classes'
default_of() { run reg query "$classes\\$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'; }
check "replay files open with the installed game" eval '[ "$(default_of .ruvo-replay)" = Tolp.Ruvo.Replay ] &&
    [ "$(default_of "Tolp.Ruvo.Replay\shell\open\command")" = "\"$(winpath "$target")\\ruvo.exe\" \"%1\"" ]'
check "under the game's icon" test "$(default_of 'Tolp.Ruvo.Replay\DefaultIcon')" = "$(winpath "$target")\ruvo.exe,0"
start_menu_entry() { [ -n "$(find "$WINEPREFIX/drive_c/users" -name 'Ruvo Zelp!.lnk' 2>/dev/null)" ]; }
check "the Start menu has the game" start_menu_entry
check "the uninstaller is listed in Apps" eval 'run reg query "HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolp.Ruvo" >/dev/null 2>&1'
run "$target/uninstall.exe" /S >/dev/null 2>&1
check "the uninstaller removes the game" wait_for 60 test ! -e "$target"
check "and the Start menu's entry" eval '! start_menu_entry'
check "and its entry in Apps" eval '! run reg query "HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolp.Ruvo" >/dev/null 2>&1'
check "and the replay files' association" eval '[ -z "$(default_of .ruvo-replay)$(default_of Tolp.Ruvo.Replay)" ]'
check "and keeps the high-score table" test "$(value Name1)" = "REG_SZ Wine Tester"
report
