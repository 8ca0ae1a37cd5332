#!/usr/bin/env bash
# Replays in the Windows game under Wine, on a virtual X display driven by
# xdotool: a short game (a pause, a name at its end) leaves its replay in the
# prefix's local application data folder, which the native ruvo-sim and the
# Windows one verify; the Replays list shows it, watching it puts REPLAY in
# the caption, and it plays to its end, leaving the folder as it was; Save
# As... writes it where the file dialog says, Open... refuses a broken file
# and plays a good one until Escape; a replay recorded by the native
# ruvo-sim, with a byte-order mark and CR LF, plays at start as `ruvo.exe
# FILE`, its speed and its pause in the caption (+, -, F3), to its end; a
# broken file, a 10 MB one and a device (to race) are refused in a message
# box naming the file and what is wrong, and the title plays on; `ruvo.exe
# --race FILE` races a native replay's ghost, drawn see-through, the lead in
# the caption, the winner told at the end, and the racer's game verifies;
# Race in the list races the last game; Game > Daily Challenge keeps a game
# with the day's challenge line; against a real ruvo-board, Game > Board...
# refuses an address without http://, keeps a good one in the registry,
# opens the board's page in the browser and plays the board's start, and
# Send to Board sends that game, which the board lists, and refuses a game
# played offline; a game whose replay the store cannot write is told so
# once, and no older game is listed as the last.
# Usage: replay_test.sh BUILD_DIR NATIVE_BUILD_DIR (a Windows build with its
# tests; a native one with ruvo-sim). WINEARCH=win32: a 32-bit prefix.
# SPDX-License-Identifier: MIT
set -uo pipefail
build=$(cd "$1" && pwd)
native=$(cd "$2" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../support/script_checks.sh"
source "$here/../../support/wine_checks.sh"
start_wine_display
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
    [ -n "$folder" ] && [ -s "$replay" ]
}
check "the last game's replay is in the local application data folder" wait_for 20 kept || { report; exit 1; }
rows=("$folder"/row-*.ruvo-replay)
check "its row's replay too, the same file" cmp -s "${rows[0]}" "$replay"
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
    "$work/saved.ruvo-replay" && wait_for 10 cmp -s "$work/saved.ruvo-replay" "${rows[0]}"'
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
for row in 1 2 3 4 5; do
    run reg add "$key" /v "Score$row" /t REG_DWORD /d 100000 /f >/dev/null 2>&1
done
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
told() { # told WORDS: a box tells what begins with them
    words=$1
    wait_for 20 eval '[[ "$(probe text "Ruvo Zelp!" 65535)" == "$words"* ]]' || { echo "it says: $(probe text "Ruvo Zelp!" 65535)"; false; }
}
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
report
