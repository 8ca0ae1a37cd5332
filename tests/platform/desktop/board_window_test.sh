#!/bin/bash
# Playing for a board in the real game on an X server (Xvfb), as a player
# does it with xdotool, against a ruvo-board of the test's own (a free port,
# its SQLite file in the scratch folder): Send to Board refuses a game played
# offline in a box and sends nothing; the address typed into Game > Board...
# opens the board's page in the browser; Play for the Board plays a game from
# the board's start, which Send to Board puts on the board, its row then in
# /api/v1/board; a game for the board that asked for no name goes under the
# name last typed; the address stays in the game's settings. (The board takes
# games played faster than real time here: ruvo-sim's.)
# Usage: board_window_test.sh BUILDDIR (ruvo-board, ruvo-sim and ruvo in BUILDDIR/bin)
# SPDX-License-Identifier: MIT
source "$(dirname "${BASH_SOURCE[0]}")/game_driving.sh" "$@"
need_tools curl xdg-open
"$BUILD/bin/ruvo-board" --listen 127.0.0.1:0 --database "sqlite:$work/board.sqlite" --pace 0 \
    >"$work/board.out" 2>"$work/board.log" &
board_pid=$!
trap 'kill "$board_pid" 2>/dev/null; cleanup' EXIT
wait_for 15 grep -q 'listening on' "$work/board.out" || fail "ruvo-board did not start: $(cat "$work/board.log")"
BOARD=$(sed -n 's|.*listening on \(http://[^/]*\)/*$|\1|p' "$work/board.out")
# The browser the desktop opens a page with, as the desktop's settings name
# one (xdg-open): one that notes the address.
printf '#!/bin/sh\necho "$1" >>"%s"\n' "$work/opened" >"$work/browser"
chmod +x "$work/browser"
mkdir -p "$XDG_DATA_HOME/applications" "$REPLAYS"
printf '[Desktop Entry]\nType=Application\nName=Browser\nExec=%s %%u\nMimeType=x-scheme-handler/http;\n' \
    "$work/browser" >"$XDG_DATA_HOME/applications/test-browser.desktop"
printf '[Default Applications]\nx-scheme-handler/http=test-browser.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list"
# note TEXT: the box titled Board with that line (on stderr too) closes on
# Return; then the list it came from, LIST, on Escape.
note() {
    dialog "$GAME" Board && grep -qE "^ruvo: $1" "$work/game-board.log" && press "$DIALOG" Return &&
        wait_for 5 eval '[ -z "$(shown_by "$GAME" Board)" ]' && press "$LIST" Escape
}
# Send to Board from the Replays list, on the replay the KEYS select: sets LIST.
send() { # send [KEY...]
    open_replays "$GAME" "$WIN"
    press "$LIST" "$@" alt+b
}

# A game played offline, kept as the last game; every game enters the table.
table 0 Old
printf '1 start\n' >"$work/script"
"$SIM" --ticks 3000 --script "$work/script" --record "$REPLAYS/last.ruvo-replay" >/dev/null ||
    fail "ruvo-sim recorded no game"
start_game board
send
check "Send to Board refuses the offline game in a box" note "This game was not played for a board"
check "and sends nothing" bash -c "! grep -q ' /api/v1/replays ' '$work/board.log'"

menu_item "$GAME" "$WIN" g b
dialog "$GAME" Board || fail "no Board dialog"
type_into "$DIALOG" "$BOARD/"
xdotool key alt+o
check "Open the Board opens its page in the browser" wait_for 10 grep -qsx "$BOARD/board" "$work/opened"
# Play for the Board: the dialog closes and the board's game starts (the
# board takes no other).
press "$DIALOG" alt+p
play_game "$GAME" "$WIN" "Ann & Bo+"

send
check "Send to Board puts it on the board, told in a box" note "The board took your game: [0-9]+ points, rank 1\."
named() { [ "$(curl -sf "$BOARD/api/v1/board" | grep -oF '"name":"Ann \u0026 Bo+"' | wc -l)" -eq "$1" ]; }
check "its row is on the board" named 1
# The last game now one for the board that asked for no name, played by ruvo-sim.
curl -sf -X POST -d '' "$BOARD/api/v1/tokens" >"$work/start" || fail "the board gives no start"
"$SIM" --ticks 3000 --from "$work/start" --script "$work/script" --record "$REPLAYS/last.ruvo-replay" >/dev/null ||
    fail "ruvo-sim recorded no game for the board"
send Down
check "a game without a name is taken" note "The board took your game"
check "under the name last typed" named 2
close_game "$WIN" "$GAME"
check "the address is kept with the settings" grep -qx "BoardAddress=$BOARD" "$CONF"
report
