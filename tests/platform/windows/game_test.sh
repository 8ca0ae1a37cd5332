#!/usr/bin/env bash
# The 64-bit Windows game under Wine, on a virtual X display with a small
# window manager, driven by xdotool: its window, the keys, the registry it
# leaves and reads, the dialogs over a game that goes on, a high score
# entered and shown again after a restart, and the installer.
# Usage: game_test.sh BUILD_DIR (the x86_64 Windows build)
set -uo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../support/script_checks.sh"
need_tools Xvfb xdotool import twm
export WINEPREFIX=$work/prefix
wm_pid=
stop_wine() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    "${RUVO_WINESERVER:-/usr/lib/wine/wineserver}" -k 2>/dev/null
}
trap 'stop_wine; cleanup' EXIT
run() { "$here/wine-run.sh" "$@"; }
probe() { run "$build/bin/ruvo-probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
key='HKCU\Software\Tolp\Ruvo'
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }

# One display for the prefix's whole life, and a window manager on it:
# without one every window that closes keeps Wine waiting.
start_xvfb || { echo "FAIL: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }
printf 'NoTitleFocus\nRandomPlacement\n' >"$work/twmrc"
twm -f "$work/twmrc" >/dev/null 2>&1 &
wm_pid=$!
run "$build/bin/ruvo-probe.exe" none >/dev/null 2>&1 # makes the prefix

titled() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
shown() { [ -n "$(titled "$1")" ]; }
hidden() { [ -z "$(titled "$1")" ]; }
start_game() { # start_game [PROGRAM]: sets WIN, the game window's X id
    run "${1:-$build/bin/ruvo.exe}" >/dev/null 2>&1 &
    game_pid=$!
    WIN=
    wait_for 60 shown "Ruvo Zelp! for Windows 95" && WIN=$(titled "Ruvo Zelp! for Windows 95")
    [ -n "$WIN" ]
}
press() { xdotool windowfocus --sync "$1" 2>/dev/null; xdotool key --delay 60 "${@:2}"; }
# count X Y WIDTH HEIGHT RRGGBB: pixels of that colour in a rectangle of the
# play field, under the menu bar (the client area is the window's bottom 200 rows).
count() {
    local height pixels
    height=$(xwininfo -id "$WIN" | awk '/Height:/ {print $2}')
    pixels=$(import -window "$WIN" -crop "${3}x${4}+${1}+$((height - 200 + $2))" -depth 8 txt:- 2>/dev/null) ||
        { echo -1; return; }
    grep -ci "#$5 " <<<"$pixels"
}
at_least() { [ "$(count "$2" "$3" "$4" "$5" "$6")" -ge "$1" ]; }
none_of() { [ "$(count "$1" "$2" "$3" "$4" "$5")" -eq 0 ]; }
picture() { import -window "$WIN" rgb:- 2>/dev/null | md5sum; }
# The game goes on: its picture changes while a dialog is open over it.
game_runs() {
    local before
    before=$(picture)
    wait_for 10 eval '[ "$(picture)" != "$before" ]'
}
registry() { run reg query "$key" 2>/dev/null | tr -d '\r'; }
value() { registry | sed -n "s/^ *$1  *\(REG_[A-Z_]*\)  *\(.*\)\$/\1 \2/p"; }
has_control() { run "$build/bin/ruvo-probe.exe" text "$1" "$2" >/dev/null 2>&1; }
quit_by_menu() { press "$WIN" alt+g x; wait_game_exit 30; [ "$game_status" = 0 ]; }

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
check "F11 fills the screen" wait_for 10 eval '[ "$(client | cut -dx -f1)" = 1024 ]'
press "$WIN" Escape
check "Escape leaves full screen" wait_for 10 eval '[ "$(client)" = 384x200 ]'
press "$WIN" F1
check "F1 opens the help window" wait_for 10 shown "Ruvo Help"
# The help window took the activation; a click on the game's menu bar,
# beside its items, gives it back (Wine activates a window on a click).
xdotool windowraise "$WIN" mousemove --window "$WIN" 360 8 click 1
press "$WIN" F4 F5
check "Game > Exit ends the game with status 0" quit_by_menu
check "the help window goes with it" hidden "Ruvo Help"
check "Sound is saved as 1" test "$(value Sound)" = "REG_DWORD 0x1"
# Wine has no MIDI output device here: the music stays closed and F5 cannot switch it on.
check "Music stays 0 without a MIDI device" test "$(value Music)" = "REG_DWORD 0x0"
check "eighteen values of their types, with the view" test "$(registry | grep -cE \
    '^ +((Sound|Music|Option|Score[1-5]|Round[1-5]|Zoom|Fullscreen) +REG_DWORD|Name[1-5] +REG_SZ) ')" -eq 20

# --- The dialogs over a running game ----------------------------------------
# (What each stored value loads as is registry_test's.)
start_game || fail "the game did not start again"
press "$WIN" F2
check "F8 opens the table" wait_for 10 eval 'press "$WIN" F8; wait_for 3 shown High-Score'
check "the game plays on behind the table" game_runs
press "$(titled High-Score)" Escape
check "Escape closes the table" wait_for 10 hidden High-Score
press "$WIN" F10
about="“Ruvo Zelp!”について"
check "F10 opens About" wait_for 10 shown "$about"
check "the game plays on behind About" game_runs
press "$(titled "$about")" Return
check "Enter closes About" wait_for 10 hidden "$about"
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
check "OK closes Option" wait_for 10 hidden Option
press "$WIN" F2
check "the game ends and asks for a name" wait_for 60 has_control High-Score 410
press "$(titled High-Score)" W i n e space T e s t e r Return
check "the table shows the new name first" wait_for 10 eval '[ "$(probe text High-Score 416)" = "Wine Tester" ]'
press "$(titled High-Score)" Return
check "the table closes" wait_for 10 hidden High-Score
check "Exit after the high score" quit_by_menu
start_game || fail "the game did not start a fourth time"
press "$WIN" F8
check "after a restart the table shows the name" wait_for 10 eval '[ "$(probe text High-Score 416)" = "Wine Tester" ]'
press "$(titled High-Score)" Return
wait_for 10 hidden High-Score
quit_by_menu

# --- The installer: silent, per user, and its uninstaller ----------------
setup=$(ls "$build"/ruvo-*-setup.exe)
target=$work/installed
run "$setup" /S "/D=Z:${target//\//\\}" >/dev/null 2>&1
check "the installer puts the game in the folder" wait_for 60 test -f "$target/ruvo.exe" -a -f "$target/RUVO.RTF" \
    -a -f "$target/A_114GMW.MID" -a -f "$target/uninstall.exe"
check "the installed game starts" start_game "$target/ruvo.exe"
check "and ends" quit_by_menu
start_menu_entry() { [ -n "$(find "$WINEPREFIX/drive_c/users" -name 'Ruvo Zelp!.lnk' 2>/dev/null)" ]; }
check "the Start menu has the game" start_menu_entry
check "the uninstaller is listed in Apps" eval 'run reg query "HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolp.Ruvo" >/dev/null 2>&1'
run "$target/uninstall.exe" /S >/dev/null 2>&1
check "the uninstaller removes the game" wait_for 60 test ! -e "$target"
check "and the Start menu's entry" eval '! start_menu_entry'
check "and its entry in Apps" eval '! run reg query "HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolp.Ruvo" >/dev/null 2>&1'
check "and keeps the high-score table" test "$(value Name1)" = "REG_SZ Wine Tester"
report
