#!/usr/bin/env bash
# The dialogs and the help window in the real game, on a virtual X display:
# the keys open them over the game window, the game runs on behind them,
# Escape and Enter close them, the help window lives beside the game and
# leaves with it.
set -uo pipefail
build=$(cd "$1" && pwd)
game="$build/bin/ruvo"

source "$(dirname "${BASH_SOURCE[0]}")/../support/script_checks.sh"
need_tools Xvfb xdotool xwininfo import
# A display of our own, on a number that no other X server holds (containers
# share the abstract socket names, which a guess from lock files misses).
start_xvfb || { echo "FAIL: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }
export QT_QPA_PLATFORM=xcb

titled() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
shown() { [ -n "$(titled "$1")" ]; }
hidden() { [ -z "$(titled "$1")" ]; }
# The id of the visible window with exactly this title, waiting for it to appear.
window() { wait_for 10 shown "$1" && titled "$1"; }
# Waits for the window with this title to go away.
gone() { wait_for 10 hidden "$1"; }
position() { # position WINDOW: "x y" of its top-left corner on the screen
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}'
}
press() { # press WINDOW KEY...
    xdotool windowfocus --sync "$1" 2>/dev/null
    shift
    xdotool key "$@"
}
# A fingerprint of the window's pixels, read straight from the X server.
picture() { # picture WINDOW
    import -window "$1" rgb:- 2>/dev/null | md5sum
}
# The game window's picture changes: the title keeps scrolling.
game_runs() {
    local before after
    before=$(picture "$main") || return 1
    for _ in $(seq 50); do
        sleep 0.1
        after=$(picture "$main") || return 1
        [ "$after" != "$before" ] && return 0
    done
    return 1
}

"$game" &
game_pid=$!
main=$(window "Ruvo Zelp! for Windows 95") || { echo "FAIL: the game window did not open"; exit 1; }
read -r main_x main_y < <(position "$main")

press "$main" F10
about=$(window "“Ruvo Zelp!”について")
check "F10 opens About" test -n "$about"
if [ -n "$about" ]; then
    read -r x y < <(position "$about")
    check "About lies over the play field, right of and below its corner" test "$x" -gt "$main_x" -a "$y" -gt "$main_y"
    check "the game runs on behind About" game_runs
    press "$about" Escape
    check "Escape closes About" gone "“Ruvo Zelp!”について"
fi

press "$main" F8
table=$(window "High-Score")
check "F8 opens the high-score table" test -n "$table"
if [ -n "$table" ]; then
    read -r x y < <(position "$table")
    check "the table lies at the play field's left edge" test "$x" -eq "$main_x"
    press "$table" Return
    check "Enter closes the table" gone "High-Score"
fi

press "$main" F1
help=$(window "Ruvo Help")
check "F1 opens the help window" test -n "$help"
press "$main" F10
check "the game takes keys while the help is open" window "“Ruvo Zelp!”について" >/dev/null
about=$(window "“Ruvo Zelp!”について") && press "$about" Escape && gone "“Ruvo Zelp!”について"

# Game menu, Exit: the game saves, closes the help and ends.
press "$main" alt+g x
wait_game_exit 10
status=$game_status
check "Exit ends the game with status 0 (status: $status)" test "$status" = 0
check "the help window leaves with the game" gone "Ruvo Help"

report
