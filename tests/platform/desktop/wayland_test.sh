#!/bin/bash
# The game on a Wayland compositor of its own (weston, headless): it comes up
# as a native Wayland client with its app id when the session is Wayland, it
# ticks (a repaint reaches the compositor with every tick), and it ends with
# status 0 and its settings saved when asked to end.
# Usage: wayland_test.sh BUILDDIR (the programs are in BUILDDIR/bin)
# SPDX-License-Identifier: MIT
set -u

RUVO=${1:?usage: wayland_test.sh BUILDDIR}/bin/ruvo
command -v weston >/dev/null || { echo "FAIL: weston is not installed"; exit 1; }
[ -n "$(find /usr/lib -path '*qt6/plugins/platforms/libqwayland-generic.so' -print -quit 2>/dev/null)" ] ||
    { echo "FAIL: Qt's Wayland platform (qt6-wayland) is not installed"; exit 1; }

# The runtime folder, home and settings are the test's own (script_checks.sh).
source "$(dirname "${BASH_SOURCE[0]}")/../../support/script_checks.sh"

# The compositor is this session's window manager: cleanup ends it after the game.
weston --backend=headless-backend.so --socket=ruvo-test --idle-time=0 \
    >"$work/weston.log" 2>&1 < /dev/null &
wm_pid=$!
wait_for 10 test -S "$XDG_RUNTIME_DIR/ruvo-test" || { echo "FAIL: weston did not start"; sed 's/^/  weston: /' "$work/weston.log"; exit 1; }

# A Wayland session as a desktop presents it: no X display, the session type
# says Wayland, Qt picks its platform itself.
env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=ruvo-test XDG_SESSION_TYPE=wayland WAYLAND_DEBUG=client \
    "$RUVO" >"$work/game.log" 2>"$work/wayland.log" &
game_pid=$!

# libwayland names an object name@id in its debug log, newer releases name#id.
commits() { grep -c 'wl_surface[@#][0-9]*\.commit' "$work/wayland.log"; }
check "the game talks Wayland" wait_for 10 grep -q 'xdg_toplevel[@#][0-9]*\.set_app_id' "$work/wayland.log"
check "its app id is org.tolp.Ruvo" grep -q 'set_app_id("org.tolp.Ruvo")' "$work/wayland.log"
check "its title is the game's" grep -q 'set_title("Ruvo Zelp! for Windows 95")' "$work/wayland.log"
# The title screen's ticks redraw its moving parts, each a surface commit:
# twenty more than the window had when it came up is a game that ticks.
target=$(($(commits) + 20))
ticked() { [ "$(commits)" -ge "$target" ]; }
check "it ticks: twenty more surface commits" wait_for 20 ticked
kill -TERM "$game_pid"
wait_game_exit 10
check "asked to end, it ends with status 0 (status $game_status)" test "$game_status" = 0
check "its settings are saved" test -f "$XDG_CONFIG_HOME/Tolp/Ruvo.conf"
if [ "$failed" -ne 0 ]; then
    sed 's/^/  game: /' "$work/game.log"
    grep -v 'wl_surface\|wl_buffer\|wl_callback\|frame' "$work/wayland.log" | tail -20 | sed 's/^/  wayland: /'
fi
report
