# Shared by the Windows scripts under Wine (tests/platform/windows; source it
# after script_checks.sh, with build set to a Windows build): whether this
# machine runs 32-bit Windows programs; a Wine prefix of the script's own on
# a virtual display with a window manager; the game started and found, keys
# pressed, colours and a see-through figure's pixels counted in its field,
# its windows read through
# ruvo-probe.exe, since X shows neither classes nor control texts; a game
# that ends with a high score.
# SPDX-License-Identifier: MIT
wine_scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")/../platform/windows" && pwd)
TITLE="Ruvo Zelp! for Windows 95"
key='HKCU\Software\Tolp\Ruvo'

# Why this machine cannot run 32-bit Windows programs under Wine (the i686
# game, and the installer, an NSIS program for 32-bit Windows), in a few
# words; nothing when it can. Wine's 64-bit loader hands a 32-bit program to
# the 32-bit one, which is Wine's 32-bit half, and that needs the processor
# to run 32-bit x86 code (a tiny static i686 program tells).
no_wine32() {
    printf 'int main(void) { return 0; }\n' >"$work/tiny.c"
    if ! { i686-linux-gnu-gcc -static -o "$work/tiny" "$work/tiny.c" && "$work/tiny"; } 2>/dev/null; then
        echo "this machine does not run 32-bit x86 code"
    elif [ ! -x "${RUVO_WINE32:-/usr/lib/wine/wine}" ]; then
        echo "Wine's 32-bit half, wine32:i386, is not installed"
    fi
}

run() { "$wine_scripts/wine-run.sh" "$@"; }
probe() { run "$build/bin/ruvo-probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
winpath() { local path=${1//\//\\}; echo "Z:$path"; }

# A prefix of the script's own, made, on a display of its own with openbox
# (without a window manager every window that closes keeps Wine waiting);
# the window manager and Wine's server go at exit.
stop_server() { "${RUVO_WINESERVER:-/usr/lib/wine/wineserver}" -k 2>/dev/null; }
stop_wine() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    stop_server
}
start_wine_display() {
    need_tools Xvfb xdotool import openbox xprop
    export WINEPREFIX=$work/prefix
    trap 'stop_wine; cleanup' EXIT
    start_xvfb || { echo "FAIL: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }
    start_wm || { echo "FAIL: openbox did not start"; exit 1; }
    run "$build/bin/ruvo-probe.exe" none >/dev/null 2>&1
}

titled() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
shown() { [ -n "$(titled "$1")" ]; }
hidden() { [ -z "$(titled "$1")" ]; }
# The game's windows other than the game window, shown now: their titles, one
# a line (the probe's own status: none without a game window).
others() { probe others; }
no_others() { local titles; titles=$(others) && [ -z "$titles" ]; }

starts=0
game=${build:-}/bin/ruvo.exe
start_game() { # start_game [ARGS...]: runs $game, sets WIN, the game window's X id
    starts=$((starts + 1))
    run "$game" "$@" >"$work/game-$starts.log" 2>&1 &
    game_pid=$!
    # Its caption may already tell of a replay or a race.
    WIN=
    wait_for 60 eval 'WIN=$(titled "$TITLE( - (REPLAY|RACE).*)?"); [ -n "$WIN" ]'
    [ -n "$WIN" ] && return
    # Wine's messages and the log it kept, when the window never comes.
    echo "no game window; the game's output and Wine's:"
    cat "$work/game-$starts.log"
    display_and_wine_state
    false
}
quit_by_menu() { press "$WIN" alt+g x; wait_game_exit 30; [ "$game_status" = 0 ]; }
caption_is() { [ "$(probe window | cut -d'|' -f2)" = "$1" ]; }
caption_like() { [[ "$(probe window | cut -d'|' -f2)" =~ ^$1$ ]]; } # an extended regular expression
has_control() { run "$build/bin/ruvo-probe.exe" text "$1" "$2" >/dev/null 2>&1; }
press() { xdotool windowfocus --sync "$1" 2>/dev/null; xdotool key --delay 60 "${@:2}"; }
# pressed KEYS CONDITION...: the keys (one word, split at spaces) in the game
# window, then the condition within ten seconds.
pressed() { press "$WIN" $1; wait_for 10 "${@:2}"; }
# Closes a box or dialog over the game with a key, pressed again while it stays: on a
# loaded machine a key can reach Wine before the box is its active window, and is lost.
close_box() { # close_box TITLE KEY
    local box=$1 box_key=$2
    wait_for 30 eval 'press "$(titled "$box")" "$box_key"; wait_for 5 hidden "$box"'
}

# The play field's pixels in a block of it (the client area is the window's
# bottom 200 rows), as ImageMagick's text.
field_pixels() { # field_pixels WIDTH HEIGHT X Y
    local height
    height=$(xwininfo -id "$WIN" | awk '/Height:/ {print $2}')
    import -window "$WIN" -crop "$1x$2+$3+$((height - 200 + $4))" -depth 8 txt:- 2>/dev/null
}
# banner RRGGBB, no_banner RRGGBB: the START (0000FF) or PAUSE (FF0000)
# banner's colour, at least 40 pixels of it or none, in its place in the field.
banner_pixels() {
    local pixels
    pixels=$(field_pixels 84 18 150 91) || { echo -1; return; }
    grep -ci "#$1 " <<<"$pixels"
}
banner() { [ "$(banner_pixels "$1")" -ge 40 ]; }
no_banner() { [ "$(banner_pixels "$1")" -eq 0 ]; }
# The field's pixels of a see-through figure (a race's ghost, every other
# pixel of it): each differs from its four neighbours, which are alike, and
# matches its two diagonal ones down the slope. The scenery alone has a few
# dozen; a ghost in the field adds some 100 to 600.
see_through_pixels() {
    field_pixels 384 200 0 0 | awk -F'[ ,:]+' '
        !/^#/ { c[$1 "," $2] = $3 "," $4 "," $5 }
        END {
            n = 0
            for (y = 1; y < 199; y++) for (x = 1; x < 383; x++) {
                p = c[x "," y]; l = c[x - 1 "," y]
                n += p != l && l == c[x + 1 "," y] && l == c[x "," y - 1] && l == c[x "," y + 1] &&
                     p == c[x - 1 "," y - 1] && p == c[x + 1 "," y + 1]
            }
            print n
        }'
}

# high_score_game NAME KEY...: a game that ends with a high score, its name
# dialog open and NAME typed there with the keys. A table that every game
# enters; Option set for no platforms to speak of and no life to spare, the
# speed as it is (at the fastest the first fall can come before a loaded
# machine has seen the START banner end and pressed F3); START, a pause, on.
table_scores() { # table_scores SCORE: every row of the table at SCORE
    local row
    for row in 1 2 3 4 5; do run reg add "$key" /v "Score$row" /t REG_DWORD /d "$1" /f >/dev/null 2>&1; done
}
high_score_game() {
    local typed=$1
    table_scores 0
    run reg add "$key" /v Option /t REG_DWORD /d 1 /f >/dev/null 2>&1
    start_game || return 1
    check "Option opens" pressed "alt+o o" shown Option
    press "$(titled Option)" Tab 0 Tab Tab Tab Tab Tab Tab 0 Return
    check "OK closes Option" wait_for 10 no_others
    check "F2 shows a blue START" pressed F2 banner 0000FF
    check "the START banner ends" wait_for 15 no_banner 0000FF
    check "F3 pauses the game" pressed F3 banner FF0000
    press "$WIN" F3
    check "the game goes on, ends and asks for a name" wait_for 60 has_control High-Score 410
    press "$(titled High-Score)" "${@:2}"
    check "the name is typed" wait_for 10 eval '[ "$(probe text High-Score 410)" = "$typed" ]'
}
