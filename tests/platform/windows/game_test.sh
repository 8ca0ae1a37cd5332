#!/usr/bin/env bash
# A Windows game under Wine, on a virtual X display with a small window
# manager, driven by xdotool, all in one prefix:
#  - its window, the keys, the registry it leaves and reads, the dialogs over
#    a game that goes on, a high score whose name dialog is closed with the
#    window and shown again after a restart;
#  - its replays: a short game (a pause, a name at its end) leaves its replay
#    in the prefix's local application data folder, which the native ruvo-sim
#    and the Windows one verify; the Replays list shows it, watching it puts
#    REPLAY in the caption, and it plays to its end, leaving the folder as it
#    was; Save As... writes it where the file dialog says, Open... refuses a
#    broken file and plays a good one until Escape; a replay recorded by the
#    native ruvo-sim, with a byte-order mark and CR LF, plays at start as
#    `ruvo.exe FILE`, its speed and its pause in the caption (+, -, F3), to
#    its end; a broken file, a 10 MB one and a device (to race) are refused
#    in a message box naming the file and what is wrong, and the title plays
#    on; `ruvo.exe --race FILE` races a native replay's ghost, drawn
#    see-through, the lead in the caption, the winner told at the end, and
#    the racer's game verifies; Race in the list races the last game; Game >
#    Daily Challenge keeps a game with the day's challenge line; against a
#    real ruvo-board, Game > Board... refuses an address without http://,
#    keeps a good one in the registry, opens the board's page in the browser
#    and plays the board's start, and Send to Board sends that game, which
#    the board lists, and refuses a game played offline; a game whose replay
#    the store cannot write is told so once, and no older game is listed as
#    the last;
#  - the 64-bit game at 150 %, and the installer, which installs the build's
#    own kind of program (x86_64 on 64-bit Windows; i686 in a 32-bit prefix,
#    WINEARCH=win32, as on 32-bit Windows).
# The installer is a program for 32-bit Windows: where Wine cannot run one,
# its checks are left out, saying why, and the zip's game is started instead.
# Usage: game_test.sh BUILD_DIR SETUP NATIVE_BUILD_DIR (a Windows build with
# its tests and its zip, the installer, a native build with ruvo-sim and
# ruvo-board)
# SPDX-License-Identifier: MIT
set -uo pipefail
build=$(cd "$1" && pwd)
setup=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
native=$(cd "$3" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
tree=$(cd "$here/../../.." && pwd)
source "$here/../../support/script_checks.sh"
source "$here/../../support/wine_checks.sh"
start_wine_display
registry() { run reg query "${1:-$key}" "${@:2}" 2>/dev/null | tr -d '\r'; }
value() { registry "$key" | sed -n "s/^ *$1  *\(REG_[A-Z_]*\)  *\(.*\)\$/\1 \2/p"; }
client_is() { [[ "$(probe window | cut -d'|' -f3)" == $1 ]]; } # client_is WIDTHxHEIGHT-PATTERN

# --- The window, the keys and the dialogs; Sound saved on closing ----------
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
check "F3 again goes on" pressed F3 no_banner FF0000
# The dialogs over the running game. (What each stored value loads as is
# registry_test's.)
check "F8 opens the table" wait_for 10 eval 'press "$WIN" F8; wait_for 3 shown High-Score'
check "the game plays on behind the table" game_runs
check "Escape closes the table, no other window left" eval 'close_box High-Score Escape && wait_for 10 no_others'
about="“Ruvo Zelp!”について"
check "F10 opens About" pressed F10 shown "$about"
check "which is the one other window" test "$(others)" = "$about"
check "the game plays on behind About" game_runs
check "Enter closes About" eval 'close_box "$about" Return && wait_for 10 no_others'
press "$WIN" F4 F5
check "closing the window ends the game" eval 'press "$WIN" alt+F4; wait_game_exit 30; [ "$game_status" = 0 ]'
check "Sound is saved as 1" test "$(value Sound)" = "REG_DWORD 0x1"
# Wine has no MIDI output device here: the music stays closed and F5 cannot switch it on.
check "Music stays 0 without a MIDI device" test "$(value Music)" = "REG_DWORD 0x0"
check "the switches and the view, no table without a new entry" test "$(registry | awk '/REG_/ {print $1, $2}' |
    sort | tr '\n' ' ')" = "Fullscreen REG_DWORD Music REG_DWORD Option REG_DWORD Sound REG_DWORD Zoom REG_DWORD "

# --- A high score: the name asked for, the table shown, kept for next time --
high_score_game "Wine Tester" W i n e space T e s t e r
# The window is closed (WM_CLOSE) while the name dialog is open: the dialog
# ends with the name typed, the row is saved, no table opens without its owner.
probe close
check "WM_CLOSE during the name dialog ends the game" eval 'wait_game_exit 30; [ "$game_status" = 0 ]'
check "no dialog is left behind" hidden High-Score
check "the new row is saved with the name typed" test "$(value Name1)|$(value Score1 | cut -d' ' -f1)" = "REG_SZ Wine Tester|REG_DWORD"
check "the game starts again" start_game
check "after a restart the table shows the name" pressed F8 eval '[ "$(probe text High-Score 416)" = "Wine Tester" ]'
close_box High-Score Return
quit_by_menu

# box_says TITLE BEFORE TEXT AFTER: within a minute the box of that title says
# TEXT, anything before and after it where BEFORE and AFTER are '*'.
box_says() {
    local box=$1 lead=$2 says=$3 trail=$4
    wait_for 60 eval '[[ "$(probe text "$box" 65535)" == $lead"$says"$trail ]]' || { echo "it says: $(probe text "$box" 65535)"; false; }
}
verified() { # verified SIM-COMMAND...: the command's verdict is the replay's own result
    local verdict
    verdict=$("$@" | tr -d '\r')
    [ "$verdict" = "verified $(sed -n 's/^result //; s/ name=.*//p' "$replay")" ] || { echo "verdict: $verdict"; false; }
}
# A short game, its name entered and the table that follows closed.
short_game() {
    high_score_game Wine W i n e
    press "$(titled High-Score)" Return
    check "the table follows" wait_for 10 eval '! has_control High-Score 410 && has_control High-Score 416'
    press "$(titled High-Score)" Return
}

# --- A game, its replay kept and verified -----------------------------------
short_game
check "and closes" wait_for 10 no_others
kept() { # sets folder and replay once the last game's replay is there
    folder=$(find "$WINEPREFIX/drive_c/users" -type d -path '*/Local*/Tolp/Ruvo/Replays' 2>/dev/null | head -n 1)
    replay=$folder/last.ruvo-replay
    [ -n "$folder" ] && grep -Eq '^[0-9]+ name Wine$' "$replay" 2>/dev/null
}
check "the last game's replay is in the local application data folder" wait_for 20 kept || { report; exit 1; }
check "its row's replay too, the same file" eval 'for row in "$folder"/row-*.ruvo-replay; do
    cmp -s "$row" "$replay" && break; done'
check "the replay names the Windows edition, the pause and the name" \
    eval "grep -qx 'edition windows' '$replay' && [ \$(grep -Ec '^[0-9]+ pause$' '$replay') -eq 2 ] &&
          grep -Eq '^[0-9]+ name Wine$' '$replay'"
check "the native ruvo-sim verifies it" verified "$native/bin/ruvo-sim" --verify "$replay"
check "and the Windows one" verified run "$build/bin/ruvo-sim.exe" --verify "$(winpath "$replay")"

# --- Watched from the Replays list -------------------------------------------
folder_state() { (cd "$folder" && md5sum ./*); }
before=$(folder_state)
open_list() { pressed "alt+g r" shown Replays; }
check "Game > Replays... opens the list" open_list
check "which shows the row and the last game" \
    eval 'probe list Replays 1000 | grep -q "Wine\$" && probe list Replays 1000 | grep -q "^Last game"'
press "$(titled Replays)" Return
check "Watch shows REPLAY in the caption" wait_for 10 caption_is "$TITLE - REPLAY"
check "the replay ends by itself" wait_for 120 caption_is "$TITLE"
check "its end touched neither the table nor the replays" test "$(folder_state)" = "$before"

# Save As... and Open... through the system's file dialogs, the name typed.
head -c 300 "$replay" >"$work/broken.ruvo-replay"
file_dialog() { # file_dialog KEY TITLE PATH: the list's key opens the file dialog, the path typed there
    press "$(titled Replays)" "$1"
    wait_for 10 shown "$2" && press "$(titled "$2")" ctrl+a && xdotool type --delay 30 "$(winpath "$3")" &&
        xdotool key Return && wait_for 10 hidden "$2"
}
check "the list opens for Save As..." open_list
check "Save As... asks for a file and writes the replay there" eval 'file_dialog alt+s "Save Replay" \
    "$work/saved.ruvo-replay" && wait_for 10 cmp -s "$work/saved.ruvo-replay" "$replay"'
check "Open... with a broken file" file_dialog alt+o "Open Replay" "$work/broken.ruvo-replay"
check "says what is wrong" box_says Replay '*' "broken.ruvo-replay: truncated" '*'
press "$(titled Replay)" Return
check "and the list stays, the one other window" wait_for 10 eval '[ "$(others)" = Replays ]'
check "Open... with the saved file" file_dialog alt+o "Open Replay" "$work/saved.ruvo-replay"
check "plays it" wait_for 10 caption_is "$TITLE - REPLAY"
check "until Escape" pressed Escape caption_is "$TITLE"
check "the game ends" quit_by_menu

# --- ruvo.exe FILE: a native replay at start; files refused -----------------
# A game of the default options, long enough (some 800 ticks) to be seen
# playing at 1x and at 8x; written with a byte-order mark and CR LF, as an
# editor on Windows may save it.
printf '1 start\n' >"$work/native.txt"
"$native/bin/ruvo-sim" --ticks 20000 --script "$work/native.txt" --record "$work/native.ruvo-replay" >/dev/null
{ printf '\xef\xbb\xbf' && sed 's/$/\r/' "$work/native.ruvo-replay"; } >"$work/native-crlf.ruvo-replay"
check "the game starts with the native replay" start_game "$(winpath "$work/native-crlf.ruvo-replay")"
check "ruvo.exe FILE plays the replay (a byte-order mark, CR LF) at once" wait_for 20 caption_is "$TITLE - REPLAY"
for step in "plus|REPLAY 2x|+ doubles the speed" "F3|REPLAY 2x, paused|F3 pauses the replay" \
    "F3 plus plus|REPLAY 8x|and resumes it, at 8x" "minus|REPLAY 4x|- halves the speed"; do
    IFS='|' read -r keys caption name <<<"$step"
    check "$name" pressed "$keys" caption_is "$TITLE - $caption"
done
check "it plays to its end" wait_for 120 caption_is "$TITLE"
check "the game ends" quit_by_menu

# A broken file, one larger than any replay (told before it is read) and a
# device that never ends (refused before a byte is read, raced as watched):
# each in a message box naming the file and what is wrong, then closed, the
# title playing on.
truncate -s 10M "$work/big.ruvo-replay"
for refused in "|$work/broken.ruvo-replay|truncated" \
    "|$work/big.ruvo-replay|too large: 10485760 bytes, where a replay holds at most 1048576" \
    "--race|/dev/zero|not a file on a disk (a pipe, a device or a console)"; do
    IFS='|' read -r flag file told <<<"$refused"
    told="$(winpath "$file"): $told"
    check "the game starts with ${flag:+$flag }$file" start_game $flag "$(winpath "$file")"
    check "$(basename "$file") gets a message box naming what is wrong" box_says Replay '' "$told" '*'
    check "the box closes, no other window left" eval 'close_box Replay Return && wait_for 10 no_others'
    check "and the title plays on" caption_is "$TITLE"
    check "the game ends" quit_by_menu
done

# --- Races and the day's challenge -----------------------------------------
# A table that none of these games enters, so no name is asked for. The
# ghost, recorded by the native ruvo-sim, dives from its tick 20 and ends
# before the racer, who does nothing: it shows apart from the racer's
# vegetable for some 180 ticks from its first points, when it takes the lead.
table_scores 100000
printf '1 start\n20 dive 4 4 4 4 4 4 4 4\n' >"$work/ghost.txt"
"$native/bin/ruvo-sim" --ticks 2000 --option optGameLevel=20 --option optSpeed=40 --script "$work/ghost.txt" \
    --record "$work/ghost.ruvo-replay" >/dev/null
"$native/bin/ruvo-sim" --ticks 2000 --race "$work/ghost.ruvo-replay" --script "$work/native.txt" \
    --record "$work/racer.ruvo-replay" >/dev/null
score() { sed -n 's/^result score=\([0-9]*\) .*/\1/p' "$1"; }
mine=$(score "$work/racer.ruvo-replay") theirs=$(score "$work/ghost.ruvo-replay")
ghost_shown() { local n; n=$(see_through_pixels) && [ "$n" -ge 100 ] && [ "$n" -le 700 ]; }
# race_ends WORDS: the race's end tells WORDS in a box; then the title again.
race_ends() { box_says "Ruvo Zelp!" '' "$1" '' && close_box "Ruvo Zelp!" Return && caption_is "$TITLE"; }
check "the game starts with --race FILE" start_game --race "$(winpath "$work/ghost.ruvo-replay")"
check "the caption shows the race, the ghost taking the lead" wait_for 20 caption_like "$TITLE - RACE vs the replay -[0-9]+"
check "the ghost is drawn see-through in the field, once" wait_for 20 ghost_shown
check "the race's end tells who won, by the native race's scores" \
    race_ends "You won the race against the replay by $((mine - theirs)) points, $mine to $theirs."
check "the racer's game is kept as the last, and the native ruvo-sim verifies it" \
    eval 'grep -q "^result score=$mine " "$replay" && verified "$native/bin/ruvo-sim" --verify "$replay"'
# Raced from the list: that very game, played again, is a tie, its ghost
# always under the racer's vegetable.
check "the list offers the last game" eval 'open_list && probe list Replays 1000 | head -n 1 | grep -q "^Last game"'
press "$(titled Replays)" alt+r
check "Race races it" wait_for 10 caption_is "$TITLE - RACE vs the replay +0"
check "a ghost that follows the racer's vegetable does not show" \
    eval 'wait_for 15 no_banner 0000FF && [ "$(see_through_pixels)" -lt 100 ]'
check "the race ends in a tie" race_ends "The race against the replay is a tie, $mine points each."
# Game > Daily Challenge: the day's game (by UTC, read on both sides of its
# start in case it straddles midnight), kept with its challenge line.
day=$(date -u +%F)
press "$WIN" alt+g d
today="($day|$(date -u +%F))"
check "Game > Daily Challenge starts a game, kept at its end as that day's challenge" wait_for 180 grep -qxE "challenge $today" "$replay"
check "which the native ruvo-sim verifies" verified "$native/bin/ruvo-sim" --verify "$replay"

# --- Playing for a board --------------------------------------------------
# A ruvo-board of the native build on a free port, its database here; Wine's
# browser is a script that notes the page it is asked to open.
"$native/bin/ruvo-board" --listen 127.0.0.1:0 --database "sqlite:$work/board.sqlite" >"$work/board.log" 2>&1 &
board_pid=$!
trap 'kill "$board_pid" 2>/dev/null; stop_wine; cleanup' EXIT
get() { python3 -c 'import sys, urllib.request; print(urllib.request.urlopen(sys.argv[1], timeout=10).read().decode())' "$board$1"; }
check "a ruvo-board answers on a free port" wait_for 30 eval \
    'board=$(sed -n "s|.*listening on \(http://[^ ]*[0-9]\)/*$|\1|p" "$work/board.log") && get /healthz >/dev/null 2>&1'
printf '#!/bin/sh\necho "$@" >"%s"\n' "$work/browsed" >"$work/browser" && chmod +x "$work/browser"
run reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$work/browser" /f >/dev/null 2>&1
told() { box_says "Ruvo Zelp!" '' "$1" '*'; } # told WORDS: a box tells what begins with them
type_address() { press "$(titled Board)" ctrl+a && xdotool type --delay 30 "$1" && press "$(titled Board)" "$2"; }
check "Game > Board... opens the Board dialog" pressed "alt+g b" shown Board
type_address "${board#http://}" Return
check "which refuses an address without http://" told "a board's address starts with http:// or https://"
close_box "Ruvo Zelp!" Return
type_address "$board/" alt+o
check "Open the Board opens the board's page in the browser" wait_for 20 eval '[ "$(cat "$work/browsed" 2>/dev/null)" = "$board/board" ]'
check "and the address is kept in the registry, as the dialog shows it again" eval 'close_box Board Escape &&
    run reg query "$key" /v BoardAddress | tr -d "\r" | grep -q "REG_SZ *$board\$" && pressed "alt+g b" shown Board &&
    [ "$(probe text Board 1100)" = "$board" ] && close_box Board Escape'
# The last game, the day's, was played offline.
check "Send to Board refuses a game played offline" eval 'open_list && press "$(titled Replays)" alt+b &&
    told "This game was not played for a board" && close_box "Ruvo Zelp!" Return && close_box Replays Escape'
check "Play for the Board starts the board's game" \
    eval 'pressed "alt+g b" shown Board && press "$(titled Board)" Return && wait_for 20 hidden Board && wait_for 10 banner 0000FF'
check "which ends, kept with the board's token" wait_for 180 grep -q "^token [0-9a-f]\{32\}$" "$replay"
board_score=$(sed -n 's/^result score=\([0-9]*\) .*/\1/p' "$replay")
check "Send to Board sends it, the board's answer told" \
    eval 'open_list && press "$(titled Replays)" alt+b && told "The board took your game: $board_score points, rank 1."'
check "and the board lists it, the one game it took" eval 'close_box "Ruvo Zelp!" Return && close_box Replays Escape &&
    [ "$(get /api/v1/board | grep -o "\"score\":[0-9]*")" = "\"score\":$board_score" ]'
check "the game ends" quit_by_menu

# --- A replay the store cannot keep (a file where its folder was) ------------
# The player is told once, and no list shows an older game as the last.
mv "$folder" "$work/replays-away" && : >"$folder"
short_game
check "a replay not kept is told in a message box" box_says "Ruvo Zelp!" '*' "replay could not be kept" '*'
check "once: then no other window is open" eval 'close_box "Ruvo Zelp!" Return && wait_for 10 no_others'
check "the list opens, showing no older game as the last" eval 'open_list && ! probe list Replays 1000 | grep -q "^Last game"'
press "$(titled Replays)" Escape
check "the game ends" quit_by_menu
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
table=$(registry | grep -E '^ *(Score|Round|Name)')
run "$target/uninstall.exe" /S >/dev/null 2>&1
check "the uninstaller removes the game" wait_for 60 test ! -e "$target"
check "and the Start menu's entry" eval '! start_menu_entry'
check "and its entry in Apps" eval '! registry "$apps" >/dev/null'
check "and the replay files' association" eval '[ -z "$(default_of .ruvo-replay)$(default_of Tolp.Ruvo.Replay)" ]'
check "and keeps the high-score table" eval '[ -n "$table" ] && [ "$(registry | grep -E "^ *(Score|Round|Name)")" = "$table" ]'
report
