#!/bin/bash
# Replays in the real game on an X server (Xvfb), played as a player plays it
# with xdotool: a game with one life, dives at random moments, a pause and a
# name at its end leaves a replay that ruvo-sim verifies; watched from the
# Replays list (REPLAY and its speed in the caption, F3 pausing it) it plays
# to its end and leaves the game, its table and its replays as they were; it
# plays at start as `ruvo FILE` as an editor saves it (byte-order mark, CR
# LF) until Escape; raced from the list and as `ruvo --race FILE`, the lead
# in the caption, the end told in a box, the racer's replay verified; Game >
# Daily Challenge plays the day's game; a broken file and a FIFO at start,
# and one of 10 MB
# through Open..., are refused in a message box while the title moves on; a
# replay folder that cannot be written is told once and no older game shows
# as the last one.
# Usage: replay_window_test.sh BUILDDIR [REPLAY]: the game's replay is left at
# REPLAY (BUILDDIR/replay-window-test.ruvo-replay when not given), for the
# WebAssembly and Windows ruvo-sim to verify too. RUVO_TEST_SEED replays the
# random moments of a run (printed).
# SPDX-License-Identifier: MIT
source "$(dirname "${BASH_SOURCE[0]}")/game_driving.sh" "$@"
OUT=${2:-$BUILD/replay-window-test.ruvo-replay}
# The Option dialog on offer, and a table that every game enters.
table 0 Old

folder_state() { (cd "$REPLAYS" && md5sum *) 2>/dev/null; md5sum <"$CONF"; }

# --- A game, its replay verified ----------------------------------------------
start_game one
ONE=$GAME MAIN=$WIN
# One life and fewer platforms: a short game.
set_options "$ONE" "$MAIN" 1 40 10 300 80 600 50 0
play_game "$ONE" "$MAIN" Tester pause
# The game writes the last game's replay, then its row's, each whole into a
# file of its own renamed into place: on a loaded machine the row's can come
# a moment after (one run in a few found it missing).
row_kept() { local rows=("$REPLAYS"/row-*.ruvo-replay) && cmp -s "${rows[0]}" "$REPLAYS/last.ruvo-replay"; }
check "the last game's replay is kept" wait_for 10 test -s "$REPLAYS/last.ruvo-replay"
check "its row's replay too, the same file" wait_for 10 row_kept
replay=$REPLAYS/last.ruvo-replay
mkdir -p "$(dirname "$OUT")" && cp "$replay" "$OUT"
echo "the game's replay: $OUT"
check "the replay names the desktop edition and the options set, holds the dives, the pause and the name" \
    bash -c "grep -qx 'edition desktop' '$replay' && grep -q ' optGameLevel=40 .* optDamage=0\$' '$replay' &&
        grep -Eq '^[0-9]+ dive' '$replay' && [ \$(grep -Ec '^[0-9]+ pause$' '$replay') -eq 2 ] && grep -Eq '^[0-9]+ name Tester$' '$replay'"
verdict=$("$SIM" --verify "$replay")
check "ruvo-sim verifies it: $verdict" test "$verdict" = "verified $(result_line "$replay" | sed 's/ name=.*//')"
score=$(result_line "$replay" | sed 's/score=\([0-9]*\).*/\1/')
check "its score is the table's first" grep -qx "Score1=$score" "$CONF"

# That ruvo-sim refuses an edited or broken replay is its own tests' (sim_test.sh);
# the broken copy is refused at start below.
head -c 300 "$replay" >"$work/broken.ruvo-replay"

# --- Watched from the Replays list ----------------------------------------------
before=$(folder_state)
open_replays "$ONE" "$MAIN"
press "$DIALOG" Return
check "Watch shows REPLAY in the caption" wait_for 10 caption_is "$MAIN" "$TITLE - REPLAY"
# + doubles the speed, F3 pauses the replay and resumes it.
for step in "plus:REPLAY 2x" "F3:REPLAY 2x, paused" "F3 plus plus:REPLAY 8x"; do
    press "$MAIN" ${step%%:*}
    check "${step%%:*} gives $TITLE - ${step#*:}" wait_for 5 caption_is "$MAIN" "$TITLE - ${step#*:}"
done
check "the replay ends by itself" wait_for 60 caption_is "$MAIN" "$TITLE"
check "its game's end touched neither the table nor the replays" test "$(folder_state)" = "$before"
# The live game goes on: F2 starts one, its START in blue at the centre.
press "$MAIN" F2
check "the game starts after the replay" wait_for 5 blue "$MAIN"
close_game "$MAIN" "$ONE"

# --- ruvo FILE: a replay at start ---------------------------------------------------
# Saved by an editor with a byte-order mark and CR LF line ends: the same game
# (the engine's reading of such a file is the engine's test).
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' "$OUT"; } >"$work/editor.ruvo-replay"
start_game editor "$work/editor.ruvo-replay"
check "ruvo FILE plays the editor's copy at once" wait_for 10 caption_is "$WIN" "$TITLE - REPLAY"
press "$WIN" Escape
check "Escape ends it" wait_for 5 caption_is "$WIN" "$TITLE"
check "with nothing said of it" test ! -s "$work/game-editor.log"
close_game "$WIN" "$GAME"

# refused NAME FILE ERROR: the file's one line is on stderr and in a box over
# the game's WIN; the title moves on behind it and the window answers once it closes.
refused() {
    check "$1: a message box" dialog "$GAME" Replays
    check "$1: naming what is wrong: $(cat "$work/game-$1.log")" grep -qF "ruvo: $2: $3" "$work/game-$1.log"
    check "$1: the title moves on behind it" game_runs
    [ -n "${DIALOG:-}" ] && press "$DIALOG" Return
    check "$1: the box closes, the title shows" wait_for 5 eval '[ -z "$(shown_by "$GAME" Replays)" ] && caption_is "$WIN" "$TITLE"'
    press "$WIN" F2
    check "$1: and F2 starts a game" wait_for 5 blue "$WIN"
}

# --- In one window: a race from the list, the daily challenge, Open... ---------------
caption_like() { [[ $(xdotool getwindowname "$1" 2>/dev/null) =~ $2 ]]; }
start_game open
open_replays "$GAME" "$WIN"
press "$DIALOG" alt+r
check "Race shows the lead in the caption" wait_for 10 caption_like "$WIN" "^$TITLE - RACE vs Tester [+-][0-9]+\$"
# Its end: the game's name asked and the table shown, then the note of who
# won, once; the caption back to the title's; the game's replay verified.
play_game "$GAME" "$WIN" Racer
check "the race's end is told in a box" dialog "$GAME" Ruvo
check "who won, and by how much: $(grep 'race' "$work/game-open.log")" grep -Eq \
    "^ruvo: (You won the race against Tester by [0-9]+ points|Tester won the race by [0-9]+ points|The race against Tester is a tie)" \
    "$work/game-open.log"
press "$DIALOG" Return
check "the caption is the title's again" wait_for 5 caption_is "$WIN" "$TITLE"
verdict=$("$SIM" --verify "$REPLAYS/last.ruvo-replay")
check "ruvo-sim verifies the racer's replay: $verdict" test "$verdict" = \
    "verified $(result_line "$REPLAYS/last.ruvo-replay" | sed 's/ name=.*//')"
# Game > Daily Challenge: the day's game, whose replay names the day (UTC,
# read on both sides of the game should it straddle midnight).
day_before=$(date -u +%F)
menu_item "$GAME" "$WIN" g d
play_game "$GAME" "$WIN" Daily
check "the daily game's replay names the day: $(grep '^challenge' "$REPLAYS/last.ruvo-replay")" grep -Eqx \
    "challenge ($day_before|$(date -u +%F))" "$REPLAYS/last.ruvo-replay"
# A file too large, through Game > Replays... > Open...: the list closes and
# the file is refused over the game window.
truncate -s 10M "$work/big.ruvo-replay"
open_replays "$GAME" "$WIN"
press "$LIST" alt+o
dialog "$GAME" "Open Replay" || fail "no Open Replay dialog"
type_into "$DIALOG" "$work/big.ruvo-replay"
xdotool key Return
wait_for 10 eval '! xwininfo -id "$LIST" 2>/dev/null | grep -q IsViewable'
refused open "$work/big.ruvo-replay" "too large: 10485760 bytes, where a replay holds at most 1048576"
close_game "$WIN" "$GAME"

# --- ruvo --race FILE; files refused at start ------------------------------------------
start_game racefile --race "$OUT"
check "ruvo --race FILE races it at once" wait_for 10 caption_is "$WIN" "$TITLE - RACE vs Tester +0"
close_game "$WIN" "$GAME"
"$RUVO" --race >"$work/game-bare.log" 2>&1
bare=$?
check "ruvo --race alone is refused: $(cat "$work/game-bare.log")" test $bare -eq 2 -a -s "$work/game-bare.log"
# A broken file is refused when read, a FIFO (without a writer: read, it
# would never end) before. (What the reading refuses is the desktop tests'
# own, replays_test.)
mkfifo "$work/fifo.ruvo-replay"
for file in broken fifo; do
    start_game "$file" "$work/$file.ruvo-replay"
    refused "$file" "$work/$file.ruvo-replay" "$([ $file = broken ] && echo truncated || echo 'not a regular file')"
    close_game "$WIN" "$GAME"
done

# --- A replay folder that cannot be written -----------------------------------------
# The previous game's replay stays on disk and cannot be removed; no row of
# this table has a replay, so the list would show the last game alone.
cp "$REPLAYS/last.ruvo-replay" "$work/previous.ruvo-replay"
table 9000000 Zed
if [ "$(id -u)" -eq 0 ]; then
    # The folder read-only for this game alone, in a mount namespace of its own.
    LAUNCH=(unshare -m sh -c 'mount --bind "$0" "$0" && mount -o remount,bind,ro "$0" "$0" && exec "$@"' "$REPLAYS")
else
    chmod a-w "$REPLAYS"
fi
start_game readonly
LAUNCH=()
# A short game without a dive (a space could answer the note before it is seen).
set_options "$GAME" "$WIN" 1 10 10 300 20 600 20 0
press "$WIN" F2
check "the game's end tells that its replay could not be kept" dialog "$GAME" Ruvo
press "$DIALOG" Return
open_replays "$GAME" "$WIN"
# Return would watch the first replay listed; Open... must then still answer.
press "$DIALOG" Return alt+o
check "the list shows no last game: nothing to watch, Open... answers" dialog "$GAME" "Open Replay"
check "nothing plays" caption_is "$WIN" "$TITLE"
check "the note came once" test -z "$(shown_by "$GAME" Ruvo)" -a \
    "$(grep -c "could not be kept" "$work/game-readonly.log")" -eq 1
press "$DIALOG" Escape
wait_for 10 eval '[ -z "$(shown_by "$GAME" "Open Replay")" ]'
press "$(shown_by "$GAME" Replays)" Escape
close_game "$WIN" "$GAME"
chmod u+w "$REPLAYS"
check "the previous game's replay is left as it was" cmp -s "$REPLAYS/last.ruvo-replay" "$work/previous.ruvo-replay"

report
