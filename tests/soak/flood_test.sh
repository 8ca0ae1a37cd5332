#!/usr/bin/env bash
# A flood of input on the real window: 2,000 key presses and clicks in about
# 20 s (dives, start, pause, the sound and music switches, the About and
# high-score dialogs and the keys that close them, letters for the name
# entry). Afterwards the game must still be alive and ticking, and a
# WM_DELETE_WINDOW must end it with status 0.
# Usage: flood_test.sh GAME XCLOSE [EVENTS] [SECONDS]
#   RUVO_FLOOD_SHOT=FILE.png keeps a screenshot of the screen after the flood.
# SPDX-License-Identifier: MIT
set -uo pipefail
game=${1:?usage: flood_test.sh GAME XCLOSE [EVENTS] [SECONDS]}
xclose=${2:?usage: flood_test.sh GAME XCLOSE [EVENTS] [SECONDS]}
events=${3:-2000}
seconds=${4:-20}

source "$(dirname "${BASH_SOURCE[0]}")/../support/script_checks.sh"
need_tools Xvfb xdotool xwininfo import
start_xvfb || { echo "FAIL: Xvfb did not start"; exit 1; }
export QT_QPA_PLATFORM=xcb
# Qt 6.8 asks the desktop portal over the session bus for its version as the
# window opens, and leaks the call's watcher when no answer has come by the
# time the program ends (a bus that was started for the display but answers
# nothing, as on a fresh machine without a desktop): LeakSanitizer would blame
# the game. No portal is part of what is tested here.
export QT_NO_XDG_DESKTOP_PORTAL=1

# An abort prints where the game was: what the check below asks of a game
# that has not ended in time.
ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}handle_abort=1 "$game" >"$work/game.log" 2>&1 &
game_pid=$!
wait_for 20 find_game_window || { echo "FAIL: the game window did not open"; cat "$work/game.log"; exit 1; }
read -r width height < <(xwininfo -id "$WIN" | awk '/^ *Width:/ {w = $NF} /^ *Height:/ {h = $NF} END {print w, h}')

# The flood, as one xdotool command line: an event, a pause, an event...
# Clicks land in the middle of the play field; keys go wherever the focus is,
# the game window or a dialog it opened.
keys=(space space space space space space space space F2 F2 F3 F4 F5 F8 F10 Return Escape Escape
    a b c x y z Up Down Left Right Tab BackSpace 1 2 3)
pause=$(awk -v s="$seconds" -v n="$events" 'BEGIN {printf "%.4f", s / n * 0.95}')
RANDOM=2000
flood=(mousemove --window "$WIN" $((width / 2)) $((height - 100)))
for _ in $(seq "$events"); do
    if [ $((RANDOM % 3)) -eq 0 ]; then
        flood+=(click --delay 0 1)
    else
        flood+=(key --delay 0 "${keys[RANDOM % ${#keys[@]}]}")
    fi
    flood+=(sleep "$pause")
done
xdotool windowfocus --sync "$WIN"
start=$SECONDS
xdotool "${flood[@]}"
echo "flood_test: $events events in $((SECONDS - start)) s"

check "the game lives through the flood" kill -0 "$game_pid"
[ -n "${RUVO_FLOOD_SHOT:-}" ] && import -window root "$RUVO_FLOOD_SHOT"

# Whatever the flood left open is closed as a player would: Escape, and where
# that does not close it, Return. The high-score name entry closes only on OK
# (a name must be confirmed), so Escape alone never ends it: a game the flood
# ended in its last moments left it open on a fresh Debian 12.
others() { game_others "$game_pid" "$WIN"; }
gone() { ! others | grep -qx "$1"; }
close_others() {
    local other key
    for _ in $(seq 10); do
        other=$(others | head -n1)
        [ -z "$other" ] && break
        for key in Escape Return; do
            xdotool windowfocus --sync "$other" 2>/dev/null
            xdotool key "$key"
            wait_for 3 gone "$other" && break
        done
    done
}
close_others
check "no dialog is left open: $(others | tr '\n' ' ')" test -z "$(others)"

# Still ticking: the picture changes. A flood may end paused, then F3 resumes.
ticking() {
    game_runs 5 && return 0
    xdotool windowfocus --sync "$WIN" 2>/dev/null
    xdotool key F3
    game_runs 5
}
check "the game still ticks after the flood" ticking
# A game those ticks ended may have opened the high-score name entry, which
# holds the window's close (a dialog of the application's own, as every one
# of the game's): closed first, as a player would.
close_others

check "WM_DELETE_WINDOW is sent" "$xclose" "$WIN"
# The sanitized game looks for leaks over its whole heap as it ends, which on
# a busy two-core machine took longer than 15 s, once longer than 60 s (with
# three other builds beside it): what counts is how it ends.
wait_game_exit 120
status=$game_status
check "the game ends with status 0 on WM_DELETE_WINDOW (status: $status)" test "$status" = 0
if [ "$status" = timeout ]; then # what it is doing: its threads, its windows, then its stack
    for task in /proc/"$game_pid"/task/*; do
        echo "  thread $(cat "$task/comm"): state $(cut -d' ' -f3 "$task/stat"), waiting in $(cat "$task/wchan")"
    done
    xdotool search --pid "$game_pid" 2>/dev/null | while read -r id; do echo "  window $id: $(xdotool getwindowname "$id")"; done
    kill -ABRT "$game_pid"
    wait_game_exit 60
fi
if [ "$status" != 0 ] && [ -s "$work/game.log" ]; then sed 's/^/  game: /' "$work/game.log" | head -n 40; fi

report
