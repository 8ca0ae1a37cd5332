#!/bin/bash
# Replays in the real game on an X server (Xvfb), played as a player plays it
# with xdotool: a game with one life, dives at random moments, a pause and a
# name at its end leaves a replay that ruvo-sim verifies; watched from the
# Replays list (REPLAY and its speed in the caption, F3 pausing it) it plays
# to its end and leaves the game, its table and its replays as they were; it
# plays at start as `ruvo FILE`, where a broken file is refused and an edited
# one fails verification; and two windows over one store each keep their
# row's replay.
# Usage: replay_window_test.sh BUILDDIR [REPLAY]: the game's replay is left at
# REPLAY (BUILDDIR/replay-window-test.ruvo-replay when not given), for the
# WebAssembly and Windows ruvo-sim to verify too. RUVO_TEST_SEED replays the
# random moments of a run (printed).
# SPDX-License-Identifier: MIT
set -u
BUILD=$(cd "${1:?usage: replay_window_test.sh BUILDDIR [REPLAY]}" && pwd)
OUT=${2:-$BUILD/replay-window-test.ruvo-replay}
RUVO=$BUILD/bin/ruvo
SIM=$BUILD/bin/ruvo-sim
XCLOSE=$BUILD/bin/xclose
[ -x "$RUVO" ] && [ -x "$SIM" ] && [ -x "$XCLOSE" ] || { echo "FAIL: no $RUVO, $SIM or $XCLOSE"; exit 1; }

source "$(dirname "${BASH_SOURCE[0]}")/../../support/script_checks.sh"
need_tools Xvfb xdotool import
start_xvfb 800x600x24 || { echo "FAIL: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }
export QT_QPA_PLATFORM=xcb XDG_DATA_HOME=$work/data
RANDOM=${RUVO_TEST_SEED:-$$}
echo "random moments from seed $RANDOM (RUVO_TEST_SEED)"
TITLE="Ruvo Zelp! for Windows 95"
CONF=$work/config/Tolp/Ruvo.conf
REPLAYS=$XDG_DATA_HOME/Tolp/Ruvo/replays
# The Option dialog on offer, and a table that every game enters.
mkdir -p "$(dirname "$CONF")"
printf '[General]\nOption=1\nScore1=0\nScore2=0\nScore3=0\nScore4=0\nScore5=0\n' >"$CONF"

games=() # the pids of the games started, each closed at the end
fail() {
    echo "FAIL: $*"
    for log in "$work"/game-*.log; do [ -s "$log" ] && sed "s|^|  $(basename "$log"): |" "$log"; done
    for pid in "${games[@]}"; do kill "$pid" 2>/dev/null; done
    exit 1
}
# window_of PID NAME-PATTERN: the visible window of that game with that name.
window_of() { xdotool search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -n 1; }
titled() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
caption_is() { [ "$(xdotool getwindowname "$1" 2>/dev/null)" = "$2" ]; }
start_game() { # start_game NAME [FILE]: sets GAME (its pid) and WIN
    "$RUVO" "${@:2}" >"$work/game-$1.log" 2>&1 &
    GAME=$!
    games+=("$GAME")
    wait_for 15 bash -c "[ -n \"\$(xdotool search --all --onlyvisible --pid $GAME --class '^RuvoWClass\$' 2>/dev/null)\" ]" ||
        fail "game $1 shows no window"
    WIN=$(xdotool search --all --onlyvisible --pid "$GAME" --class '^RuvoWClass$' | head -n 1)
}
press() { # press WINDOW KEY...
    xdotool windowfocus --sync "$1" 2>/dev/null
    shift
    xdotool key "$@"
}
# A dialog of the game, once it shows: sets DIALOG.
dialog() { # dialog PID TITLE
    wait_for 15 bash -c "[ -n \"\$(xdotool search --all --onlyvisible --pid $1 --name '^$2\$' 2>/dev/null)\" ]" &&
        DIALOG=$(xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" | head -n 1)
}
# One life and fewer platforms, in the Option dialog: short games.
short_games() { # short_games PID WINDOW
    press "$2" alt+o
    sleep 0.5
    xdotool key o
    dialog "$1" Option || fail "no Option dialog"
    press "$DIALOG" Tab ctrl+a 4 0 Tab Tab Tab Tab Tab Tab ctrl+a 0 Return
}
# Start, dives at random moments (and a pause, when asked), until the name
# is asked for; the name typed, the table closed.
play_game() { # play_game PID WINDOW NAME [pause]
    press "$2" F2
    local deadline=$((SECONDS + 150))
    sleep 2 # the START banner
    if [ "${4:-}" = pause ]; then
        press "$2" F3
        sleep 1
        press "$2" F3
    fi
    while [ -z "$(xdotool search --all --onlyvisible --pid "$1" --name '^High-Score$' 2>/dev/null)" ]; do
        [ "$SECONDS" -ge "$deadline" ] && fail "game $3 did not end"
        press "$2" space
        sleep "0.$((RANDOM % 9 + 1))"
    done
    dialog "$1" High-Score || fail "no name dialog"
    # The name, typed again should the dialog not have taken it yet.
    local input=$DIALOG try
    for try in 1 2 3; do
        sleep 0.5
        press "$input" ctrl+a
        xdotool type --delay 50 "$3"
        xdotool key Return
        wait_for 3 bash -c "! xdotool search --all --onlyvisible --pid $1 --name '^High-Score\$' 2>/dev/null | grep -qx $input" &&
            break
    done
    dialog "$1" High-Score || fail "no table after the name"
    press "$DIALOG" Return
    wait_for 10 bash -c "[ -z \"\$(xdotool search --all --onlyvisible --pid $1 --name '^High-Score\$' 2>/dev/null)\" ]"
}
close_game() { # close_game WINDOW PID
    "$XCLOSE" "$1"
    wait_for 10 bash -c "! kill -0 $2 2>/dev/null"
}
folder_state() { (cd "$REPLAYS" && md5sum *) 2>/dev/null; md5sum <"$CONF"; }
result_line() { sed -n 's/^result //p' "$1"; }

# --- A game, its replay verified ----------------------------------------------
start_game one
ONE=$GAME MAIN=$WIN
short_games "$ONE" "$MAIN"
play_game "$ONE" "$MAIN" Tester pause
check "the last game's replay is kept" wait_for 10 test -s "$REPLAYS/last.ruvo-replay"
rows=("$REPLAYS"/row-*.ruvo-replay)
check "its row's replay too, the same file" cmp -s "${rows[0]}" "$REPLAYS/last.ruvo-replay"
replay=$REPLAYS/last.ruvo-replay
mkdir -p "$(dirname "$OUT")" && cp "$replay" "$OUT"
echo "the game's replay: $OUT"
check "the replay names the desktop edition and the options set" \
    bash -c "grep -qx 'edition desktop' '$replay' && grep -q ' optGameLevel=40 .* optDamage=0\$' '$replay'"
check "it holds the dives, the pause and the name" \
    bash -c "grep -Eq '^[0-9]+ dive' '$replay' && [ \$(grep -Ec '^[0-9]+ pause$' '$replay') -eq 2 ] && grep -Eq '^[0-9]+ name Tester$' '$replay'"
verdict=$("$SIM" --verify "$replay")
check "ruvo-sim verifies it: $verdict" test "$verdict" = "verified $(result_line "$replay" | sed 's/ name=.*//')"
score=$(result_line "$replay" | sed 's/score=\([0-9]*\).*/\1/')
check "its score is the table's first" grep -qx "Score1=$score" "$CONF"

# Edited and broken copies: verification tells them apart.
# The dives taken out: another game, which ends otherwise.
grep -Ev '^[0-9]+ dive' "$replay" >"$work/dive.ruvo-replay"
sed -E "s/^result score=[0-9]+/result score=$((score + 50))/" "$replay" >"$work/score.ruvo-replay"
head -c 300 "$replay" >"$work/broken.ruvo-replay"
for edited in dive score; do
    "$SIM" --verify "$work/$edited.ruvo-replay" >"$work/verdict" 2>&1
    check "an edited $edited fails verification (status $?): $(cat "$work/verdict")" grep -q '^differs: ' "$work/verdict"
done
"$SIM" --verify "$work/broken.ruvo-replay" >/dev/null 2>"$work/verdict"
check "a broken file is refused (status $?): $(cat "$work/verdict")" grep -q 'truncated' "$work/verdict"

# --- Watched from the Replays list ----------------------------------------------
before=$(folder_state)
press "$MAIN" alt+g
sleep 0.5
xdotool key r
dialog "$ONE" Replays || fail "no Replays list"
press "$DIALOG" Return
check "Watch shows REPLAY in the caption" wait_for 10 caption_is "$MAIN" "$TITLE - REPLAY"
press "$MAIN" plus
check "+ doubles the speed" wait_for 5 caption_is "$MAIN" "$TITLE - REPLAY 2x"
press "$MAIN" F3
check "F3 pauses the replay" wait_for 5 caption_is "$MAIN" "$TITLE - REPLAY 2x, paused"
press "$MAIN" F3 plus plus
check "and resumes it, at 8x" wait_for 5 caption_is "$MAIN" "$TITLE - REPLAY 8x"
check "the replay ends by itself" wait_for 60 caption_is "$MAIN" "$TITLE"
check "its game's end touched neither the table nor the replays" test "$(folder_state)" = "$before"
# The live game goes on: F2 starts one, its START in blue at the centre.
blue() { [ "$(import -window "$MAIN" -crop 84x18+150+$(($(xwininfo -id "$MAIN" | awk '/Height:/ {print $2}') - 200 + 91)) -depth 8 txt:- 2>/dev/null | grep -ci '#0000FF ')" -ge 40 ]; }
press "$MAIN" F2
check "the game starts after the replay" wait_for 5 blue
close_game "$MAIN" "$ONE"

# --- ruvo FILE: a replay at start; a broken file refused ------------------------
start_game file "$OUT"
check "ruvo FILE plays the replay at once" wait_for 10 caption_is "$WIN" "$TITLE - REPLAY"
press "$WIN" Escape
check "Escape ends it" wait_for 5 caption_is "$WIN" "$TITLE"
close_game "$WIN" "$GAME"
start_game broken "$work/broken.ruvo-replay"
check "a broken file gets a message box" dialog "$GAME" Replays
check "naming what is wrong: $(cat "$work/game-broken.log")" \
    grep -q "^ruvo: $work/broken.ruvo-replay: truncated" "$work/game-broken.log"
[ -n "${DIALOG:-}" ] && press "$DIALOG" Return
check "and the title plays on" caption_is "$WIN" "$TITLE"
close_game "$WIN" "$GAME"

# --- Two windows over one store ---------------------------------------------------
start_game a
A=$GAME AWIN=$WIN
start_game b
B=$GAME BWIN=$WIN
short_games "$A" "$AWIN"
short_games "$B" "$BWIN"
play_game "$A" "$AWIN" Ann
play_game "$B" "$BWIN" Bob
close_game "$AWIN" "$A"
close_game "$BWIN" "$B"
names=$(grep -h '^result' "$REPLAYS"/row-*.ruvo-replay | sed 's/.* name=//' | sort | tr '\n' ' ')
check "each window's row keeps its replay: $names" test "$names" = "Ann Bob Tester "
for name in Ann Bob Tester; do
    check "$name is in the table" grep -q "^Name[1-5]=$name$" "$CONF"
done
report
