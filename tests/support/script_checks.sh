# Shared by the shell tests, the benchmarks and the soak (source it; it sets
# work, xvfb_pid and game_pid): a scratch folder that goes away at exit with
# the game and the X server started for it, named checks with a closing
# count, waiting on a condition, an X server of our own. The surroundings are
# the same whatever the caller's session holds: a UTF-8 locale (xdotool
# matches titles that are not ASCII through it), a home, settings, replays and
# runtime folder of our own, Qt offscreen until a script asks for X, silent audio.
# SPDX-License-Identifier: MIT
work=$(mktemp -d)
mkdir -m 700 "$work/home" "$work/run"
export LC_ALL=C.UTF-8 HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run \
    QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
unset LANGUAGE SESSION_MANAGER
xvfb_pid= game_pid= wm_pid=
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

passed=0 failed=0
check() { # check NAME CONDITION-COMMAND...
    local name=$1
    shift
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $name"; fi
}
# The closing line; the status is that of the checks.
report() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}

need_tools() { # need_tools TOOL...: the test fails at once when one is missing
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
    done
}

# The game's own window among those of its class (its menus share the class); sets WIN.
find_game_window() {
    local w
    for w in $(xdotool search --onlyvisible --class '^RuvoWClass$' 2>/dev/null); do
        [ "$(xdotool getwindowname "$w")" = "Ruvo Zelp! for Windows 95" ] && { WIN=$w; return 0; }
    done
    return 1
}

# The game's windows on show that stand on their own: its window, dialogs,
# message boxes, help and open menus. Not what lies inside one of them (the
# menu bar, the play field's native windows), which X lists under the game's
# pid too where Qt gives its child windows one (Debian 12's Qt does).
game_top_windows() { # game_top_windows PID
    local shown w id inside=" "
    shown=$(xdotool search --all --onlyvisible --pid "$1" 2>/dev/null)
    for w in $shown; do
        for id in $(xwininfo -tree -id "$w" 2>/dev/null | grep -o '^ *0x[0-9a-fA-F]*'); do inside+="$((id)) "; done
    done
    for w in $shown; do [[ $inside == *" $w "* ]] || echo "$w"; done
}
# Whatever else the game has open: its top windows other than the game window.
game_others() { # game_others PID WINDOW
    game_top_windows "$1" | grep -vx "$2"
}

wait_for() { # wait_for SECONDS CONDITION-COMMAND...: runs the condition until it holds or time is up
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}
# The game window's picture changes within SECONDS (10 unless given): the game ticks.
game_runs() { # game_runs [SECONDS]
    local before
    before=$(import -window "$WIN" rgb:- 2>/dev/null | md5sum)
    wait_for "${1:-10}" eval '[ "$(import -window "$WIN" rgb:- 2>/dev/null | md5sum)" != "$before" ]'
}

# An X server on a free display (Xvfb picks the number and writes it to fd 3); exports DISPLAY.
# One that takes no client (seen when other tests on the machine started
# servers at the same moment: the game could not connect) is replaced.
# -noreset: by default the server resets when its last client leaves, and a
# game started just after the previous one closed could find no server to
# connect to (1 in 60 connections, timed in a loop of clients).
start_xvfb() { # start_xvfb [SCREEN]
    local try
    for try in 1 2 3; do
        Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
        xvfb_pid=$!
        # Two servers starting at once may reach for the same display number:
        # the loser ends at once without naming one, and the next try picks anew.
        wait_for 10 eval 'test -s "$work/display" || ! kill -0 "$xvfb_pid" 2>/dev/null'
        if [ -s "$work/display" ]; then
            export DISPLAY=":$(head -n1 "$work/display")"
            wait_for 5 eval 'xwininfo -root >/dev/null 2>&1' && return 0
            echo "the X server on $DISPLAY takes no client; another one"
        else
            echo "the X server named no display: $(tail -n1 "$work/xvfb.log"); another one"
        fi
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    done
    return 1
}

# A window manager on the virtual display, as a desktop has one: openbox,
# which takes a window's state as the conventions ask (Wine 10 waits for
# that before it hides a window it has shown, which twm never gave).
# Sets wm_pid; its output goes to $work/openbox.log.
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
start_wm() {
    local try
    for try in 1 2 3; do
        openbox --sm-disable >"$work/openbox.log" 2>&1 &
        wm_pid=$!
        wait_for 10 wm_ready && return 0
        kill "$wm_pid" 2>/dev/null
        wait "$wm_pid" 2>/dev/null
        sed 's/^/  openbox: /' "$work/openbox.log"
    done
    wm_pid=
    return 1
}

# What a window that never came leaves to go on: the windows on the display
# and the processes of Wine with what each waits on.
display_and_wine_state() {
    local w
    echo "the windows shown:"
    for w in $(xdotool search --onlyvisible --name '' 2>/dev/null); do echo "  $w $(xdotool getwindowname "$w" 2>/dev/null)"; done
    echo "Wine's processes:"
    ps -eo pid,stat,etime,wchan:24,args 2>/dev/null | grep -iE 'wine|\.exe' | grep -v grep | sed 's/^/  /'
    # The newest run's log, which Wine is still writing while the program runs.
    local logs=${RUVO_WINE_LOGS:-${WINEPREFIX:-/nonexistent}/logs} newest
    newest=$(ls -t "$logs"/run-* 2>/dev/null | head -n 1)
    [ -n "$newest" ] || return 0
    echo "Wine's messages so far ($newest):"
    grep -v ':trace:loaddll:' "$newest" | tail -n 30 | sed 's/^/  /'
}

# Waits for the game started as game_pid to end and sets game_status to its
# exit status, or to "timeout" when it is still running after the seconds.
# (Not in a command substitution: only this shell can wait for its child.)
wait_game_exit() { # wait_game_exit SECONDS
    local deadline=$((SECONDS + $1))
    game_status=timeout
    while kill -0 "$game_pid" 2>/dev/null; do
        [ "$SECONDS" -ge "$deadline" ] && return
        sleep 0.1
    done
    wait "$game_pid"
    game_status=$?
    game_pid=
}
