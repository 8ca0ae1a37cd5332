#!/bin/bash
# Two windows of the real game over one settings file and one replay folder,
# on an X server (Xvfb), played as a player plays them with xdotool: a window
# opened before the other stored a new row plays a game that stays out of the
# table, and the other's row and its replay stay.
# (Two processes that both enter the table over one file are the settings
# test's, with either closing order; both rows keeping their replays, the
# engine's: KeptReplays.TwoWindowsKeepEachOthersRows.)
# Usage: two_windows_test.sh BUILDDIR. RUVO_TEST_SEED replays the random
# moments of a run (printed).
# SPDX-License-Identifier: MIT
source "$(dirname "${BASH_SOURCE[0]}")/game_driving.sh" "$@"
row_names() { grep -h '^result' "$REPLAYS"/row-*.ruvo-replay 2>/dev/null | sed 's/.* name=//' | sort | tr '\n' ' '; }

# Rows of 500: nine lives and more platforms score far more, one life and
# few platforms without a dive far less. Ticks of 20 ms keep the games short.
table 500 Old
start_game c
C=$GAME CWIN=$WIN
start_game d
D=$GAME DWIN=$WIN
set_options "$C" "$CWIN" 1 40 10 300 20 600 20 9
play_game "$C" "$CWIN" Cid
check "the entering window keeps its row's replay: $(row_names)" test "$(row_names)" = "Cid "
set_options "$D" "$DWIN" 1 10 10 300 20 600 20 0
cp "$REPLAYS/last.ruvo-replay" "$work/entering.ruvo-replay"
press "$DWIN" F2
# No dive: the game ends by itself, its replay taking the last game's place.
wait_for 120 eval '! cmp -s "$REPLAYS/last.ruvo-replay" "$work/entering.ruvo-replay" || [ -n "$(shown_by "$D" High-Score)" ]'
[ -n "$(shown_by "$D" High-Score)" ] && fail "the other window's game entered the table: $(result_line "$REPLAYS/last.ruvo-replay")"
check "the other window's game ended out of the table: $(result_line "$REPLAYS/last.ruvo-replay")" \
    test "$(result_line "$REPLAYS/last.ruvo-replay" | sed 's/ .*//')" != "$(result_line "$work/entering.ruvo-replay" | sed 's/ .*//')"
close_game "$DWIN" "$D"
close_game "$CWIN" "$C"
check "the entering window's row keeps its replay: $(row_names)" test "$(row_names)" = "Cid "
check "and its row stays in the table" grep -qx "Name1=Cid" "$CONF"
report
