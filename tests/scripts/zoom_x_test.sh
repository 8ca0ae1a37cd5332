#!/bin/bash
# The zoomed window on a 1920 x 1080 X server with a window manager (openbox):
# the automatic size, the field as sharp blocks, Ctrl+Minus kept for the next
# start, full screen and Escape, and no maximise button.
# Usage: zoom_x_test.sh BUILDDIR (the programs are in BUILDDIR/bin)
set -u

BUILD=${1:?usage: zoom_x_test.sh BUILDDIR}
RUVO=$BUILD/bin/ruvo
XCLOSE=$BUILD/bin/xclose

source "$(dirname "${BASH_SOURCE[0]}")/../support/script_checks.sh"
need_tools Xvfb openbox xdotool xprop xwininfo import python3
start_xvfb 1920x1080x24 || { echo "FAIL: Xvfb did not start"; exit 1; }
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
trap 'kill $wm_pid 2>/dev/null; cleanup' EXIT
wait_for 10 xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1 || { echo "FAIL: openbox did not start"; exit 1; }
# Openbox names itself before it has finished starting; a window mapped in
# between can stay unmanaged and unmapped.
sleep 1

CONF="$work/config/Tolp/Ruvo.conf"
# An X11 session as a desktop presents it: Qt picks its platform itself and,
# with the Wayland one installed too, must stay on X11.
start_game() {
    env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY XDG_SESSION_TYPE=x11 "$RUVO" >"$work/game.log" 2>&1 &
    game_pid=$!
    wait_for 15 find_game_window
}
size() { xwininfo -id "$WIN" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'; }
width_is() { [ "$(size | cut -dx -f1)" = "$1" ]; }
# Keys reach the window's shortcuts once the window manager has made it the
# active window and the game has seen that.
active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$WIN" ]; }
press() {
    xdotool windowactivate --sync "$WIN" >/dev/null 2>&1
    wait_for 5 active && sleep 0.3 && xdotool key "$1"
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

# blocks N WIDTH HEIGHT LEFT TOP: the area of the window's picture holds the
# whole field, every N x N block of one colour, with the title's many colours.
blocks() {
    import -window "$WIN" -depth 8 ppm:"$work/shot.ppm" 2>/dev/null || return 1
    python3 - "$work/shot.ppm" "$@" <<'PY'
import sys
path, n, width, height, left, top = sys.argv[1], *map(int, sys.argv[2:])
data = open(path, "rb").read()
fields, pos = [], 0
while len(fields) < 4:  # P6, width, height, maximum
    while data[pos:pos + 1].isspace(): pos += 1
    end = pos
    while not data[end:end + 1].isspace(): end += 1
    fields.append(data[pos:end]); pos = end
pos += 1
w, h = int(fields[1]), int(fields[2])
pixel = lambda x, y: data[pos + 3 * (y * w + x):pos + 3 * (y * w + x) + 3]
if left + width > w or top + height > h: sys.exit(1)
colours = set()
for by in range(top, top + height, n):
    for bx in range(left, left + width, n):
        c = pixel(bx, by)
        colours.add(c)
        if any(pixel(bx + i, by + j) != c for j in range(n) for i in range(n)):
            sys.exit(1)
sys.exit(0 if len(colours) >= 5 else 1)
PY
}

# --- First run: automatic is 3x on 1920 x 1080 ----------------------------------
WIN=
check "first run starts" start_game
[ -n "$WIN" ] || { sed 's/^/  game: /' "$work/game.log"; xwininfo -root -tree | grep -i ruvo; ps -p "$game_pid","$wm_pid" -o pid,stat,etime,args; cat "$work/openbox.log"; report; exit 1; }
read -r W H < <(size | tr x ' ')
BAR=$((H - 600))
check "the first run's client area is 1152 wide (it is ${W}x$H)" test "$W" -eq 1152
check "a menu bar above the 600 field rows" test "$BAR" -gt 10 -a "$BAR" -lt 60
check "the field is shown as 3 x 3 blocks" wait_for 5 blocks 3 1152 600 0 "$BAR"
check "the window offers no maximise" bash -c "! xprop -id $WIN _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE"
check "fixed size" bash -c "xprop -id $WIN WM_NORMAL_HINTS | grep -q 'maximum size: 1152 by $H'"

check "Ctrl+Minus gives a 768 x (400 + bar) window" press_until ctrl+minus is_size "768x$((400 + BAR))"
check "the field is shown as 2 x 2 blocks" wait_for 5 blocks 2 768 400 0 "$BAR"
"$XCLOSE" "$WIN"
wait_game_exit 10
check "closed with status 0" test "$game_status" = 0
check "Zoom=2 and Fullscreen=0 are kept" grep -qx 'Zoom=2' "$CONF"
check "Fullscreen=0 is kept" grep -qx 'Fullscreen=0' "$CONF"

# --- Second run: 2x as kept; full screen at 5x and back ---------------------------
check "second run starts" start_game
check "the second run opens 768 wide" wait_for 5 width_is 768
check "F11 fills the 1920 x 1080 screen" press_until F11 is_size 1920x1080
# 5 x 200 rows below the bar, centred in what is left; 0 columns spare.
FS_TOP=$((BAR + (1080 - BAR - 1000) / 2))
check "the field is shown as 5 x 5 blocks in full screen" wait_for 5 blocks 5 1920 1000 0 "$FS_TOP"
check "Escape brings the 768-wide window back" press_until Escape is_size "768x$((400 + BAR))"
check "Alt+Enter goes full screen" press_until alt+Return is_size 1920x1080
check "F11 leaves it" press_until F11 width_is 768
"$XCLOSE" "$WIN"
wait_game_exit 10
check "closed with status 0 again" test "$game_status" = 0
check "still Zoom=2, windowed" grep -qx 'Fullscreen=0' "$CONF"
[ "$failed" -eq 0 ] || { [ -s "$work/game.log" ] && sed 's/^/  game: /' "$work/game.log"; }
report
