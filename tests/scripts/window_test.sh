#!/bin/bash
# The game window on a real X server (Xvfb): its class, title, icon and size,
# the function keys as a player presses them, the screen they change, and the
# settings written when the window is closed by the window manager or by Exit.
# Usage: window_test.sh BUILDDIR (the programs are in BUILDDIR/bin)
set -u

BUILD=${1:?usage: window_test.sh BUILDDIR}
RUVO=$BUILD/bin/ruvo
XCLOSE=$BUILD/bin/xclose
TITLE="Ruvo Zelp! for Windows 95"

fail() {
    echo "FAIL: $*"
    [ -s "$work/game.log" ] && sed 's/^/  game: /' "$work/game.log"
    exit 1
}

[ -x "$RUVO" ] || { echo "FAIL: no $RUVO"; exit 1; }
[ -x "$XCLOSE" ] || { echo "FAIL: no $XCLOSE"; exit 1; }

source "$(dirname "${BASH_SOURCE[0]}")/../support/script_checks.sh"
need_tools Xvfb xdotool xprop xwininfo import
start_xvfb 800x600x24 || fail "Xvfb did not start: $(cat "$work/xvfb.log")"

CONF="$work/config/Tolp/Ruvo.conf"

start_game() {
    QT_QPA_PLATFORM=xcb "$RUVO" >"$work/game.log" 2>&1 &
    game_pid=$!
    wait_for 15 find_game_window || fail "no visible window of class RuvoWClass titled \"$TITLE\""
}

# Waits for the game to end by itself and checks that it ended well.
expect_exit() {
    wait_game_exit 10
    [ "$game_status" = 0 ] || fail "exit status $game_status after $1"
}

# count X Y WIDTH HEIGHT RRGGBB: pixels of that colour in a rectangle of the
# play field, whose top-left corner is FIELD_TOP rows down the window.
# A window that cannot be captured counts -1, which no check accepts.
count() {
    local pixels
    pixels=$(import -window "$WIN" -crop "${3}x${4}+${1}+$((FIELD_TOP + $2))" -depth 8 txt:- 2>/dev/null) ||
        { echo -1; return; }
    grep -ci "#$5 " <<<"$pixels"
}
at_least() { [ "$(count "$2" "$3" "$4" "$5" "$6")" -ge "$1" ]; }
none_of() { [ "$(count "$1" "$2" "$3" "$4" "$5")" -eq 0 ]; }

press() {
    xdotool windowfocus --sync "$WIN" && xdotool key "$@"
}

# An open pop-up menu is a second visible window of the game's class.
menu_open() {
    [ "$(xdotool search --onlyvisible --class '^RuvoWClass$' 2>/dev/null | wc -l)" -ge 2 ]
}

stored_values() {
    grep -cE '^(Sound|Music|Option|Score[1-5]|Round[1-5]|Name[1-5])=' "$CONF"
}

# --- First run: the window, the keys, a close by the window manager --------
start_game

xprop -id "$WIN" WM_CLASS | grep -q '"RuvoWClass"$' || fail "WM_CLASS is $(xprop -id "$WIN" WM_CLASS)"
xprop -id "$WIN" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || fail "the window has no 32 x 32 icon"

read -r WIDTH HEIGHT < <(xwininfo -id "$WIN" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w, h}')
[ "$WIDTH" -eq 384 ] || fail "the window is $WIDTH pixels wide"
FIELD_TOP=$((HEIGHT - 200))
[ "$FIELD_TOP" -gt 10 ] || fail "no room for the menu bar in a window $HEIGHT pixels high"
# Neither sized nor maximised: the smallest and the largest size are the size.
xprop -id "$WIN" WM_NORMAL_HINTS | grep -q "minimum size: 384 by $HEIGHT" || fail "the window can be made smaller"
xprop -id "$WIN" WM_NORMAL_HINTS | grep -q "maximum size: 384 by $HEIGHT" || fail "the window can be made larger"

# The client area under the menu bar is the 384 x 200 field: its first row is
# the aqua sky across the whole width, the row above it is the menu bar.
wait_for 5 at_least 300 0 0 384 1 00FFFF || fail "the play field does not start $FIELD_TOP rows down"
[ "$(count 0 -1 384 1 00FFFF)" -eq 0 ] || fail "the sky reaches above the play field"
# The title shows the yellow logo.
wait_for 5 at_least 500 20 60 344 80 FFFF00 || fail "no title logo"

press F4 # sound on, saved at the close

# F2 starts a game: the logo goes and "START" shows in blue at the centre.
press F2
wait_for 5 at_least 40 150 91 84 18 0000FF || fail "F2 showed no blue START"
none_of 20 60 344 80 FFFF00 || fail "the logo stayed after F2"
# The banner ends and play redraws the field without it.
wait_for 8 none_of 150 91 84 18 0000FF || fail "the START banner did not end"

# F3 pauses: "PAUSE" in red; F3 again resumes and play draws over it.
press F3
wait_for 5 at_least 40 150 91 84 18 FF0000 || fail "F3 showed no red PAUSE"
press F3
wait_for 5 none_of 150 91 84 18 FF0000 || fail "the second F3 did not resume"

"$XCLOSE" "$WIN" || fail "could not send WM_DELETE_WINDOW"
expect_exit "WM_DELETE_WINDOW"
[ -f "$CONF" ] || fail "no settings at $CONF"
grep -qx 'Sound=1' "$CONF" || fail "F4 then close did not store Sound=1: $(cat "$CONF")"
[ "$(stored_values)" -eq 18 ] || fail "the store holds $(stored_values) of the eighteen values"

# --- Second run: the stored switch is read back; Exit from the menu --------
start_game
press F4 # sound was on: now off
press alt+g
wait_for 5 menu_open || fail "Alt+G opened no menu"
xdotool key x # E&xit
expect_exit "Game > Exit"
grep -qx 'Sound=0' "$CONF" || fail "the second F4 did not turn the stored sound off: $(cat "$CONF")"
[ "$(stored_values)" -eq 18 ] || fail "the store holds $(stored_values) of the eighteen values"

echo "window test passed"
