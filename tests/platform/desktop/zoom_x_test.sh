#!/bin/bash
# The zoomed window on a 1920 x 1080 X server with a window manager (openbox):
# the automatic size, Ctrl+Minus kept for the next start, full screen and
# Escape, and no maximise button. That the field shows as sharp blocks, and
# the keys' other ways, are the desktop tests' (game_window_test).
# Usage: zoom_x_test.sh BUILDDIR (the programs are in BUILDDIR/bin)
# SPDX-License-Identifier: MIT
RUVO_SCREEN=1920x1080x24 source "$(dirname "${BASH_SOURCE[0]}")/game_driving.sh" "$@"
need_tools openbox
# Openbox is ready once it names itself on the root window. On a busy
# machine it can fail to open the new display and end at once: it is
# started again.
start_wm || fail "openbox did not start"

# An X11 session as a desktop presents it: Qt picks its platform itself and,
# with the Wayland one installed too, must stay on X11.
LAUNCH=(env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY XDG_SESSION_TYPE=x11)
# Openbox names itself before it has finished starting, and a window mapped
# in between can stay unmanaged (seen but never given the focus): such a
# start is tried again.
managed() { xprop -id "$WIN" _NET_WM_ALLOWED_ACTIONS 2>/dev/null | grep -q _NET_WM_ACTION_CLOSE; }
start_managed() { # start_managed NAME
    local try
    for try in 1 2 3; do
        start_game "$1-$try"
        wait_for 5 managed && return 0
        kill "$GAME" && wait "$GAME"
    done
    fail "the game's window stays unmanaged"
}
size() { xwininfo -id "$WIN" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'; }
# press_until KEY CONDITION...: a key the game may have missed while it was
# still taking the focus is pressed again, up to three times. Keys reach the
# window's shortcuts once the window manager has made it the active window
# and the game has seen that.
press_until() {
    local key=$1 try
    shift
    for try in 1 2 3; do
        xdotool windowactivate --sync "$WIN" >/dev/null 2>&1
        wait_for 5 eval '[ "$(xdotool getactivewindow 2>/dev/null)" = "$WIN" ]' && xdotool key "$key"
        wait_for 3 "$@" && return 0
    done
    return 1
}
is_size() { test "$(size)" = "$1"; }

# --- First run: automatic is 3x on 1920 x 1080 ----------------------------------
start_managed first
read -r W H < <(size | tr x ' ')
BAR=$((H - 600)) # the menu bar's height; the field under it is the offscreen tests'
check "the first run's client area is 1152 wide (it is ${W}x$H)" test "$W" -eq 1152
check "the window offers no maximise" bash -c "xprop -id $WIN _NET_WM_ALLOWED_ACTIONS | grep -q CLOSE && ! xprop -id $WIN _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE"

check "Ctrl+Minus gives a 768 x (400 + bar) window" press_until ctrl+minus is_size "768x$((400 + BAR))"
check "closed with status 0" close_game "$WIN" "$GAME"
check "Zoom=2 is kept" grep -qx 'Zoom=2' "$CONF"

# --- Second run: 2x as kept; full screen at 5x and back ---------------------------
start_managed second
check "the second run opens at 768 x (400 + bar)" wait_for 5 is_size "768x$((400 + BAR))"
check "F11 fills the 1920 x 1080 screen" press_until F11 is_size 1920x1080
check "Escape brings the 768-wide window back" press_until Escape is_size "768x$((400 + BAR))"
close_game "$WIN" "$GAME"
[ "$failed" -eq 0 ] || fail "openbox's log: $(cat "$work/openbox.log")"
report
