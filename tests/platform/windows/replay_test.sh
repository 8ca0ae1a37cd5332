#!/usr/bin/env bash
# Replays in the Windows game under Wine, on a virtual X display driven by
# xdotool: a short game (a pause, a name at its end) leaves its replay in the
# prefix's local application data folder, which the native ruvo-sim and the
# Windows one verify; the Replays list shows it, watching it puts REPLAY in
# the caption, and it plays to its end, leaving the folder as it was, or
# ends at Escape; Save As... writes it where the file dialog says, Open...
# refuses a broken file and plays a good one; a
# replay recorded by the native ruvo-sim plays at start as `ruvo.exe FILE`,
# its speed and its pause in the caption (+, -, F3), to its end; a broken file is
# refused in a message box naming what is wrong, and the title plays on.
# Usage: replay_test.sh BUILD_DIR NATIVE_BUILD_DIR (a Windows build with its
# tests; a native one with ruvo-sim). WINEARCH=win32: a 32-bit prefix.
# SPDX-License-Identifier: MIT
set -uo pipefail
build=$(cd "$1" && pwd)
native=$(cd "$2" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../support/script_checks.sh"
need_tools Xvfb xdotool import openbox xprop
export WINEPREFIX=$work/prefix
stop_wine() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    "${RUVO_WINESERVER:-/usr/lib/wine/wineserver}" -k 2>/dev/null
}
trap 'stop_wine; cleanup' EXIT
run() { "$here/wine-run.sh" "$@"; }
probe() { run "$build/bin/ruvo-probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
key='HKCU\Software\Tolp\Ruvo'
TITLE="Ruvo Zelp! for Windows 95"
winpath() { local path=${1//\//\\}; echo "Z:$path"; }

start_xvfb || { echo "FAIL: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }
start_wm || { echo "FAIL: openbox did not start"; exit 1; }
run "$build/bin/ruvo-probe.exe" none >/dev/null 2>&1 # makes the prefix

titled() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
shown() { [ -n "$(titled "$1")" ]; }
hidden() { [ -z "$(titled "$1")" ]; }
caption_is() { [ "$(probe window | cut -d'|' -f2)" = "$1" ]; }
starts=0
start_game() { # start_game [ARGS...]: sets WIN, the game window's X id
    starts=$((starts + 1))
    run "$build/bin/ruvo.exe" "$@" >"$work/game-$starts.log" 2>&1 &
    game_pid=$!
    # Its caption may already tell of a replay.
    WIN=
    wait_for 60 eval 'WIN=$(xdotool search --onlyvisible --name "^$TITLE( - REPLAY.*)?\$" 2>/dev/null | head -n 1); [ -n "$WIN" ]'
    [ -n "$WIN" ] || {
        echo "no game window; the game's output and Wine's:"
        cat "$work/game-$starts.log"
        display_and_wine_state
        false
    }
}
press() { xdotool windowfocus --sync "$1" 2>/dev/null; xdotool key --delay 60 "${@:2}"; }
# count X Y WIDTH HEIGHT RRGGBB: pixels of that colour in a rectangle of the field.
count() {
    local height pixels
    height=$(xwininfo -id "$WIN" | awk '/Height:/ {print $2}')
    pixels=$(import -window "$WIN" -crop "${3}x${4}+${1}+$((height - 200 + $2))" -depth 8 txt:- 2>/dev/null) ||
        { echo -1; return; }
    grep -ci "#$5 " <<<"$pixels"
}
at_least() { [ "$(count "$2" "$3" "$4" "$5" "$6")" -ge "$1" ]; }
none_of() { [ "$(count "$1" "$2" "$3" "$4" "$5")" -eq 0 ]; }
has_control() { run "$build/bin/ruvo-probe.exe" text "$1" "$2" >/dev/null 2>&1; }
quit_by_menu() { press "$WIN" alt+g x; wait_game_exit 30; [ "$game_status" = 0 ]; }
result_line() { sed -n 's/^result //p' "$1"; }
verified() { # verified FILE SIM-COMMAND...: the command's verdict is the file's own result
    local file=$1 verdict
    verdict=$("${@:2}" | tr -d '\r')
    [ "$verdict" = "verified $(result_line "$file" | sed 's/ name=.*//')" ] || { echo "verdict: $verdict"; false; }
}

# --- A game, its replay kept and verified -----------------------------------
# A table that every game enters, and a short game: no platforms to speak
# of, no life to spare.
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
check "OK closes Option" wait_for 10 hidden Option
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
check "and closes" wait_for 10 hidden High-Score

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
check "and the list stays" wait_for 10 eval 'hidden Replay && shown Replays'
press "$(titled Replays)" alt+o
check "Open... with the saved file" file_dialog "Open Replay" "$work/saved.ruvo-replay"
check "plays it" wait_for 10 caption_is "$TITLE - REPLAY"
press "$WIN" Escape
check "until Escape" wait_for 10 caption_is "$TITLE"
check "the game ends" quit_by_menu

# --- ruvo.exe FILE: a native replay at start; a broken file refused -----------
# A game of the default options, long enough (some 800 ticks) to be seen
# playing at 1x and at 8x.
printf '1 start\n' >"$work/native.txt"
"$native/bin/ruvo-sim" --ticks 20000 --script "$work/native.txt" --record "$work/native.ruvo-replay" >/dev/null
check "the native ruvo-sim records a game" grep -q '^edition ' "$work/native.ruvo-replay"
check "the game starts with the native replay" start_game "$(winpath "$work/native.ruvo-replay")"
check "ruvo.exe FILE plays the replay at once" wait_for 20 caption_is "$TITLE - REPLAY"
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

check "the game starts with a broken file" start_game "$(winpath "$work/broken.ruvo-replay")"
check "a broken file gets a message box" wait_for 20 shown Replay
check "naming what is wrong: $(probe text Replay 65535)" eval 'probe text Replay 65535 | grep -q "broken.ruvo-replay: truncated"'
press "$(titled Replay)" Return
check "the box closes" wait_for 10 hidden Replay
check "and the title plays on" caption_is "$TITLE"
check "the game ends" quit_by_menu
report
