#!/bin/bash
# The zoomed window on a 1920 x 1080 X server with a window manager (openbox):
# the automatic size, Ctrl+Minus kept for the next start, full screen and
# Escape, and no maximise button. That the field shows as sharp blocks, and
# the keys' other ways, are the desktop tests' (game_window_test).
# Usage: zoom_x_test.sh BUILDDIR (the programs are in BUILDDIR/bin)
# SPDX-License-Identifier: MIT
set -u

BUILD=${1:?usage: zoom_x_test.sh BUILDDIR}
RUVO=$BUILD/bin/ruvo
XCLOSE=$BUILD/bin/xclose

source "$(dirname "${BASH_SOURCE[0]}")/../../support/script_checks.sh"
need_tools Xvfb openbox xdotool xprop xwininfo
start_xvfb 1920x1080x24 || { echo "FAIL: Xvfb did not start"; exit 1; }
# Openbox is ready once it names itself on the root window. On a busy
# machine it can fail to open the new display and end at once: it is
# started again.
start_wm || { echo "FAIL: openbox did not start"; exit 1; }

CONF="$work/config/Tolp/Ruvo.conf"
# An X11 session as a desktop presents it: Qt picks its platform itself and,
# with the Wayland one installed too, must stay on X11.
# Openbox names itself before it has finished starting, and a window mapped
# in between can stay unmanaged (unseen, or seen but never given the focus):
# such a start is tried again.
managed() { xprop -id "$WIN" _NET_WM_ALLOWED_ACTIONS 2>/dev/null | grep -q _NET_WM_ACTION_CLOSE; }
start_game() {
    local try
    for try in 1 2 3; do
        env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY XDG_SESSION_TYPE=x11 "$RUVO" >"$work/game.log" 2>&1 &
        game_pid=$!
        wait_for 10 find_game_window && wait_for 5 managed && return 0
        kill "$game_pid" && wait "$game_pid"
        game_pid= WIN=
    done
    return 1
}
size() { xwininfo -id "$WIN" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'; }
width_is() { [ "$(size | cut -dx -f1)" = "$1" ]; }
# Keys reach the window's shortcuts once the window manager has made it the
# active window and the game has seen that.
active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$WIN" ]; }
press() {
    xdotool windowactivate --sync "$WIN" >/dev/null 2>&1
    wait_for 5 active && xdotool key "$1"
}
# press_until KEY CONDITION...: a key the game may have missed while it was
# still taking the focus is pressed again, up to three times.
press_until() {
    local key=$1 try
    shift
    for try in 1 2 3; do
        press "$key"
        wait_for 3 "$@" && return 0
    done
    return 1
}
is_size() { test "$(size)" = "$1"; }

# --- First run: automatic is 3x on 1920 x 1080 ----------------------------------
WIN=
check "first run starts" start_game
[ -n "$WIN" ] || { sed 's/^/  game: /' "$work/game.log"; xwininfo -root -tree | grep -i ruvo; ps -p "$game_pid","$wm_pid" -o pid,stat,etime,args; cat "$work/openbox.log"; report; exit 1; }
read -r W H < <(size | tr x ' ')
BAR=$((H - 600)) # the menu bar's height; the field under it is the offscreen tests'
check "the first run's client area is 1152 wide (it is ${W}x$H)" test "$W" -eq 1152
check "the window offers no maximise" bash -c "xprop -id $WIN _NET_WM_ALLOWED_ACTIONS | grep -q CLOSE && ! xprop -id $WIN _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE"

check "Ctrl+Minus gives a 768 x (400 + bar) window" press_until ctrl+minus is_size "768x$((400 + BAR))"
"$XCLOSE" "$WIN"
wait_game_exit 10
check "closed with status 0" test "$game_status" = 0
check "Zoom=2 is kept" grep -qx 'Zoom=2' "$CONF"

# --- Second run: 2x as kept; full screen at 5x and back ---------------------------
check "second run starts" start_game
check "the second run opens 768 wide" wait_for 5 width_is 768
check "F11 fills the 1920 x 1080 screen" press_until F11 is_size 1920x1080
check "Escape brings the 768-wide window back" press_until Escape is_size "768x$((400 + BAR))"
"$XCLOSE" "$WIN"
wait_game_exit 10
if [ "$failed" -ne 0 ]; then
    sed 's/^/  game: /' "$work/game.log"
    sed 's/^/  openbox: /' "$work/openbox.log"
    ps -p "$wm_pid" -o pid=,stat=,etime=,args= | sed 's/^/  openbox still runs: /'
fi
report
