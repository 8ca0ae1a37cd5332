#!/usr/bin/env bash
# Replays in the Windows game under Wine, on a virtual X display driven by
# xdotool: a short game (a pause, a name at its end) leaves its replay in the
# prefix's local application data folder, which the native ruvo-sim and the
# Windows one verify; the Replays list shows it, watching it puts REPLAY in
# the caption, and it plays to its end, leaving the folder as it was, or
# ends at Escape; Save As... writes it where the file dialog says, Open...
# refuses a broken file and plays a good one; a replay recorded by the native
# ruvo-sim, with a byte-order mark and CR LF, plays at start as `ruvo.exe
# FILE`, its speed and its pause in the caption (+, -, F3), to its end; a
# broken file, a 10 MB one and a device are refused in a message box naming
# the file and what is wrong, and the title plays on; a game whose replay the
# store cannot write is told so once, and no older game is listed as the last.
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
result_line() { sed -n 's/^result //p' "$1"; }
verified() { # verified FILE SIM-COMMAND...: the command's verdict is the file's own result
    local file=$1 verdict
    verdict=$("${@:2}" | tr -d '\r')
    [ "$verdict" = "verified $(result_line "$file" | sed 's/ name=.*//')" ] || { echo "verdict: $verdict"; false; }
}

# --- A game, its replay kept and verified -----------------------------------
# A table that every game enters, and a short game: no platforms to speak
# of, no life to spare, a pause, the name Wine.
short_game() {
    for row in 1 2 3 4 5; do
        run reg add "$key" /v "Score$row" /t REG_DWORD /d 0 /f >/dev/null 2>&1
    done
    run reg add "$key" /v Option /t REG_DWORD /d 1 /f >/dev/null 2>&1
    start_game || exit 1
    press "$WIN" alt+o o
    check "Option opens" wait_for 10 shown Option
    # The speed stays as it is: at the fastest (a tick every 10 ms) the first
    # fall can come before a loaded machine has seen the START banner end and
    # pressed F3.
    press "$(titled Option)" Tab 0 Tab Tab Tab Tab Tab Tab 0 Return
    check "OK closes Option" wait_for 10 no_others
    press "$WIN" F2
    check "F2 shows a blue START" wait_for 10 at_least 40 150 91 84 18 0000FF
    check "the START banner ends" wait_for 15 none_of 150 91 84 18 0000FF
    press "$WIN" F3
    check "F3 pauses the game" wait_for 10 at_least 40 150 91 84 18 FF0000
    press "$WIN" F3
    check "the game ends and asks for a name" wait_for 60 has_control High-Score 410
    press "$(titled High-Score)" W i n e
    check "the name is typed" wait_for 10 eval '[ "$(probe text High-Score 410)" = Wine ]'
    press "$(titled High-Score)" Return
    check "the table follows" wait_for 10 eval '! has_control High-Score 410 && has_control High-Score 416'
    press "$(titled High-Score)" Return
}
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
check "the native ruvo-sim verifies it" verified "$replay" "$native/bin/ruvo-sim" --verify "$replay"
check "and the Windows one" verified "$replay" run "$build/bin/ruvo-sim.exe" --verify "$(winpath "$replay")"

# --- Watched from the Replays list -------------------------------------------
folder_state() { (cd "$folder" && md5sum ./*); }
before=$(folder_state)
open_list() { press "$WIN" alt+g r; wait_for 10 shown Replays; }
check "Game > Replays... opens the list" open_list
check "which shows the row and the last game" \
    eval 'probe list Replays 1000 | grep -q "Wine\$" && probe list Replays 1000 | grep -q "^Last game"'
press "$(titled Replays)" Return
check "Watch shows REPLAY in the caption" wait_for 10 caption_is "$TITLE - REPLAY"
check "the replay ends by itself" wait_for 120 caption_is "$TITLE"
check "its end touched neither the table nor the replays" test "$(folder_state)" = "$before"
check "the list opens again" open_list
press "$(titled Replays)" Return
check "and Watch plays it again" wait_for 10 caption_is "$TITLE - REPLAY"
press "$WIN" Escape
check "Escape ends it" wait_for 10 caption_is "$TITLE"

# Save As... and Open... through the system's file dialogs, the name typed.
head -c 300 "$replay" >"$work/broken.ruvo-replay"
file_dialog() { # file_dialog TITLE PATH: types the path into the file dialog and confirms it
    wait_for 10 shown "$1" || return 1
    press "$(titled "$1")" ctrl+a
    xdotool type --delay 30 "$(winpath "$2")"
    xdotool key Return
    wait_for 10 hidden "$1"
}
check "the list opens for Save As..." open_list
press "$(titled Replays)" alt+s
check "Save As... asks for a file and writes the replay there" \
    eval 'file_dialog "Save Replay" "$work/saved.ruvo-replay" && wait_for 10 cmp -s "$work/saved.ruvo-replay" "${rows[0]}"'
press "$(titled Replays)" alt+o
check "Open... with a broken file" file_dialog "Open Replay" "$work/broken.ruvo-replay"
check "says what is wrong" wait_for 10 eval 'probe text Replay 65535 | grep -q "broken.ruvo-replay: truncated"'
press "$(titled Replay)" Return
check "and the list stays, the one other window" wait_for 10 eval '[ "$(others)" = Replays ]'
press "$(titled Replays)" alt+o
check "Open... with the saved file" file_dialog "Open Replay" "$work/saved.ruvo-replay"
check "plays it" wait_for 10 caption_is "$TITLE - REPLAY"
press "$WIN" Escape
check "until Escape" wait_for 10 caption_is "$TITLE"
check "the game ends" quit_by_menu

# --- ruvo.exe FILE: a native replay at start; files refused -----------------
# A game of the default options, long enough (some 800 ticks) to be seen
# playing at 1x and at 8x; written with a byte-order mark and CR LF, as an
# editor on Windows may save it.
printf '1 start\n' >"$work/native.txt"
"$native/bin/ruvo-sim" --ticks 20000 --script "$work/native.txt" --record "$work/native.ruvo-replay" >/dev/null
check "the native ruvo-sim records a game" grep -q '^edition ' "$work/native.ruvo-replay"
{ printf '\xef\xbb\xbf' && sed 's/$/\r/' "$work/native.ruvo-replay"; } >"$work/native-crlf.ruvo-replay"
check "the game starts with the native replay" start_game "$(winpath "$work/native-crlf.ruvo-replay")"
check "ruvo.exe FILE plays the replay (a byte-order mark, CR LF) at once" wait_for 20 caption_is "$TITLE - REPLAY"
press "$WIN" plus
check "+ doubles the speed" wait_for 10 caption_is "$TITLE - REPLAY 2x"
press "$WIN" F3
check "F3 pauses the replay" wait_for 10 caption_is "$TITLE - REPLAY 2x, paused"
press "$WIN" F3 plus plus
check "and resumes it, at 8x" wait_for 10 caption_is "$TITLE - REPLAY 8x"
press "$WIN" minus
check "- halves the speed" wait_for 10 caption_is "$TITLE - REPLAY 4x"
check "it plays to its end" wait_for 120 caption_is "$TITLE"
check "the game ends" quit_by_menu

# A broken file, one larger than any replay (told before it is read) and a
# device that never ends (refused before a byte is read).
truncate -s 10M "$work/big.ruvo-replay"
refused() { # refused FILE ERROR
    local told="$(winpath "$1"): $2"
    check "the game starts with $1" start_game "$(winpath "$1")"
    check "which gets a message box" wait_for 20 shown Replay
    check "naming what is wrong: $(probe text Replay 65535)" eval '[[ "$(probe text Replay 65535)" == "$told"* ]]'
    check "the box closes, no other window left" eval 'close_box Replay Return && wait_for 10 no_others'
    check "and the title plays on" caption_is "$TITLE"
    check "the game ends" quit_by_menu
}
refused "$work/broken.ruvo-replay" "truncated"
refused "$work/big.ruvo-replay" "too large: 10485760 bytes, where a replay holds at most 1048576"
refused /dev/zero "not a file on a disk (a pipe, a device or a console)"

# --- A replay the store cannot keep (a file where its folder was) ------------
# The player is told once, and no list shows an older game as the last.
mv "$folder" "$work/replays-away" && : >"$folder"
short_game
check "a replay not kept is told in a message box" \
    wait_for 20 eval 'probe text "Ruvo Zelp!" 65535 | grep -qF "replay could not be kept"'
check "once: then no other window is open, and the list opens" \
    eval 'close_box "Ruvo Zelp!" Return && wait_for 10 no_others && open_list'
check "showing no older game as the last" eval '! probe list Replays 1000 | grep -q "^Last game"'
press "$(titled Replays)" Escape
check "the game ends" quit_by_menu
report
