# The real game driven as a player drives it, with xdotool, for the desktop
# window tests: source it with the build folder (the programs are in its
# bin/). It brings script_checks.sh and an X server (Xvfb, 800 x 600 unless
# RUVO_SCREEN names another, as 1280x800x24) of the
# test's own, sets CONF and REPLAYS, the game's settings file and replay
# folder, and seeds the random moments (RUVO_TEST_SEED replays a run's);
# then games started and closed (ending with status 0), the Option dialog
# filled in, games played with dives at random moments, dialogs found.
# SPDX-License-Identifier: MIT
set -u
BUILD=$(cd "${1:?usage: $0 BUILDDIR}" && pwd)
RUVO=$BUILD/bin/ruvo
SIM=$BUILD/bin/ruvo-sim
XCLOSE=$BUILD/bin/xclose
[ -x "$RUVO" ] && [ -x "$SIM" ] && [ -x "$XCLOSE" ] || { echo "FAIL: no $RUVO, $SIM or $XCLOSE"; exit 1; }
source "$(dirname "${BASH_SOURCE[0]}")/../../support/script_checks.sh"
need_tools Xvfb xdotool xprop xwininfo import
start_xvfb "${RUVO_SCREEN:-800x600x24}" || { echo "FAIL: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }
export QT_QPA_PLATFORM=xcb
CONF=$work/config/Tolp/Ruvo.conf
REPLAYS=$XDG_DATA_HOME/Tolp/Ruvo/replays
mkdir -p "$(dirname "$CONF")"
RANDOM=${RUVO_TEST_SEED:-$$}
echo "random moments from seed $RANDOM (RUVO_TEST_SEED)"
TITLE="Ruvo Zelp! for Windows 95"
games=() # the pids of the games started, each closed at the end
LAUNCH=() # what start_game runs the game under, if anything
fail() {
    echo "FAIL: $*"
    for log in "$work"/game-*.log "$work"/xvfb.log; do [ -s "$log" ] && sed "s|^|  $(basename "$log"): |" "$log"; done
    # A game that cannot reach the X server: whether the server is still there.
    kill -0 "$xvfb_pid" 2>/dev/null || echo "  the X server of $DISPLAY has ended"
    xwininfo -root >/dev/null 2>&1 || echo "  $DISPLAY takes no client now"
    for pid in "${games[@]}"; do kill "$pid" 2>/dev/null; done
    exit 1
}
# The game's own window: of its top windows, the one its title names; sets WIN.
game_window() { # game_window PID
    local w
    for w in $(game_top_windows "$1"); do
        [[ $(xdotool getwindowname "$w" 2>/dev/null) == "$TITLE"* ]] && { WIN=$w; return 0; }
    done
    return 1
}
caption_is() { [ "$(xdotool getwindowname "$1" 2>/dev/null)" = "$2" ]; }
start_game() { # start_game NAME [ARGUMENT...]: sets GAME (its pid) and WIN
    "${LAUNCH[@]}" "$RUVO" "${@:2}" >"$work/game-$1.log" 2>&1 &
    GAME=$!
    games+=("$GAME")
    wait_for 15 game_window "$GAME" || fail "game $1 shows no window"
}
press() { # press WINDOW KEY...
    xdotool windowfocus --sync "$1" 2>/dev/null
    shift
    xdotool key "$@"
}
shown_by() { xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | head -n 1; }
# A dialog of the game, once it shows: sets DIALOG.
dialog() { # dialog PID TITLE
    local pid=$1 title=$2
    wait_for 15 eval '[ -n "$(shown_by "$pid" "$title")" ]' && DIALOG=$(shown_by "$pid" "$title")
}
# A menu's item by its keys: once nothing but the game window shows, the
# menu opened with Alt, and the item's key pressed once the menu shows (a
# top window of the game's beside its own); on a loaded machine either can
# take a while.
menu_item() { # menu_item PID WINDOW MENU-KEY ITEM-KEY
    local pid=$1 window=$2
    wait_for 10 eval '[ -z "$(game_others "$pid" "$window")" ]' || fail "a window of the game stays open"
    press "$window" "alt+$3"
    wait_for 10 eval '[ -n "$(game_others "$pid" "$window")" ]' || fail "the menu of alt+$3 does not show"
    xdotool key "$4"
}
# The eight values of the Option dialog, in its order: optRound,
# optGameLevel, optBossLevel, optDistance, optSpeed, optHarryLevel,
# optHarrySpeed, optDamage.
set_options() { # set_options PID WINDOW VALUE...
    local pid=$1 value keys=()
    menu_item "$pid" "$2" o o
    dialog "$pid" Option || fail "no Option dialog"
    shift 2
    # Return in the last edit is OK, the dialog's default button.
    for value in "$@"; do keys+=(Tab ctrl+a $(sed 's/./& /g' <<<"$value")); done
    press "$DIALOG" "${keys[@]:1}" Return
    wait_for 10 eval '[ -z "$(shown_by "$pid" Option)" ]' || fail "the Option dialog stays open"
}
# Game > Replays...: sets DIALOG and LIST to the list.
open_replays() { # open_replays PID WINDOW
    menu_item "$1" "$2" g r
    dialog "$1" Replays && LIST=$DIALOG || fail "no Replays list"
}
# The text of an edit, the focused one of WINDOW, typed anew.
type_into() { # type_into WINDOW TEXT
    press "$1" ctrl+a
    xdotool type --delay 50 "$2"
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
    while [ -z "$(shown_by "$1" High-Score)" ]; do
        [ "$SECONDS" -ge "$deadline" ] && fail "game $3 did not end"
        press "$2" space
        sleep "0.$((RANDOM % 9 + 1))"
    done
    dialog "$1" High-Score || fail "no name dialog"
    # The name, typed again should the dialog not have taken it yet.
    local input=$DIALOG try
    for try in 1 2 3; do
        sleep 0.5
        type_into "$input" "$3"
        xdotool key Return
        wait_for 3 bash -c "! xdotool search --all --onlyvisible --pid $1 --name '^High-Score\$' 2>/dev/null | grep -qx $input" &&
            break
    done
    dialog "$1" High-Score || fail "no table after the name"
    press "$DIALOG" Return
    local pid=$1
    wait_for 10 eval '[ -z "$(shown_by "$pid" High-Score)" ]'
}
# The game ends with status 0 within 10 s.
game_ends() { # game_ends PID
    game_pid=$1
    wait_game_exit 10
    [ "$game_status" = 0 ] || { echo "  the game's status: $game_status"; return 1; }
}
# Closed as the window manager closes it, the game ends with status 0.
close_game() { "$XCLOSE" "$1" && game_ends "$2"; } # close_game WINDOW PID
result_line() { sed -n 's/^result //p' "$1"; }
table() { # table SCORE NAME: the Option dialog on offer, five rows of that score and name
    local row
    printf '[General]\nOption=1\n' >"$CONF"
    for row in 1 2 3 4 5; do printf 'Score%d=%d\nName%d=%s\n' $row "$1" $row "$2" >>"$CONF"; done
}
# A game's START shows: 40 blue pixels, at least, in its place at the centre
# of the play field (the window's last 200 rows, under the menu bar). A
# window that cannot be captured shows none.
blue() { # blue WINDOW
    local top
    top=$(($(xwininfo -id "$1" | awk '/Height:/ {print $2}') - 200))
    [ "$(import -window "$1" -crop "84x18+150+$((top + 91))" -depth 8 txt:- 2>/dev/null | grep -ci "#0000FF ")" -ge 40 ]
}
