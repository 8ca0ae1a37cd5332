#!/bin/bash
# The pictures of the game that its software-centre entry and the docs show,
# made from the real game on an X server of its own with a window manager
# (openbox), never by hand: ruvo-sim plays and records a game (the boss a
# short way off, no dive), the desktop game watches it (in play and at the
# boss, paused; at 2x with its caption) and races its ghost.
# Usage: tools/screenshots.sh BUILDDIR [OUTDIR]: writes play.png, boss.png,
# replay.png and race.png into OUTDIR (the tree's docs/images when not given).
# SPDX-License-Identifier: MIT
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
OUTDIR=$(realpath -m "${2:-$here/../docs/images}")
# 1280 x 800: the window's automatic size is 2x.
RUVO_SCREEN=1280x800x24 source "$here/../tests/platform/desktop/game_driving.sh" "${1:?usage: $0 BUILDDIR [OUTDIR]}"
need_tools openbox
start_wm || fail "no window manager"
mkdir -p "$OUTDIR"
game=$work/screenshots.ruvo-replay
printf '1 name Ann\n1 start\n' >"$work/script"
"$SIM" --ticks 2000 --script "$work/script" --option optDistance=10 --record "$game" >/dev/null ||
    fail "ruvo-sim recorded no game"

# The window as a PNG with nothing of the moment in it (no time stamps), its
# title bar too with -frame.
shot() { # shot NAME WINDOW [-frame]
    import ${3:-} -window "$2" -strip -define png:exclude-chunks=date,time "$OUTDIR/$1.png" ||
        fail "no picture of $1"
    echo "$OUTDIR/$1.png"
}
# Waits about so many ticks of the game at 1x (80 ms each); a moment of the
# game, not a count the pictures depend on exactly.
ticks() { sleep "$(($1 * 80 / 1000)).$(($1 * 80 % 1000))"; }
paused_shot() { # paused_shot NAME: the replay paused, the picture taken, resumed
    press "$WIN" F3
    wait_for 5 caption_is "$WIN" "$TITLE - REPLAY, paused" || fail "the replay does not pause"
    shot "$1" "$WIN"
    press "$WIN" F3
}

start_game watch "$game"
wait_for 10 caption_is "$WIN" "$TITLE - REPLAY" || fail "the replay does not play"
ticks 30
paused_shot play
ticks 80
paused_shot boss
press "$WIN" plus
wait_for 5 caption_is "$WIN" "$TITLE - REPLAY 2x" || fail "no 2x"
ticks 30
shot replay "$WIN" -frame
close_game "$WIN" "$GAME"

# The player dives where the ghost did not: the two apart.
start_game race --race "$game"
wait_for 10 eval '[[ $(xdotool getwindowname "$WIN") == "$TITLE - RACE vs Ann"* ]]' || fail "the race does not start"
ticks 25
press "$WIN" space
ticks 6
shot race "$WIN" -frame
close_game "$WIN" "$GAME"
