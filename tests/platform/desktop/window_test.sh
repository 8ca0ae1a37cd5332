#!/bin/bash
# The game on a real X server (Xvfb): its window's icon and play field,
# the keys as a player presses them and the screen they change, a dialog over
# the running game, and the settings written when the window manager closes
# the window or the player chooses Exit.
# Usage: window_test.sh BUILDDIR (the programs are in BUILDDIR/bin)
# SPDX-License-Identifier: MIT
source "$(dirname "${BASH_SOURCE[0]}")/game_driving.sh" "$@"

stored_values() { grep -cE '^(Sound|Music|Option|Score[1-5]|Round[1-5]|Name[1-5])=' "$CONF"; }
ABOUT="“Ruvo Zelp!”について"

# --- First run: the window, the keys, a close by the window manager --------
# (Its title is what start_game finds it by; the field's pixels at every
# zoom are the X field test's.)
start_game first
check "it has a 32 x 32 icon" bash -c "xprop -id $WIN _NET_WM_ICON | grep -q 'Icon (32 x 32)'"
check "the window is 384 wide" test "$(xwininfo -id "$WIN" | awk '/Width:/ {print $2}')" -eq 384
press "$WIN" F4 # sound on, saved at the close
# F2 starts a game, its START in blue (what the field shows, pixel for
# pixel, is the X field test's).
press "$WIN" F2
check "F2 shows the blue START" wait_for 5 blue "$WIN"
check "closed by the window manager, it ends with status 0" close_game "$WIN" "$GAME"
check "F4 then the close stored Sound=1" grep -qx 'Sound=1' "$CONF"
# No new entry in the table: the save writes the three switches and no row.
check "the store holds the switches alone" test "$(stored_values)" -eq 3

# --- Second run: About over the running game; Exit from the menu -----------
# Where the dialogs go and how they close is the desktop tests' (dialogs_test).
start_game second
press "$WIN" F10
check "F10 opens About" dialog "$GAME" "$ABOUT"
check "the game runs on behind About" game_runs
check "About is open beside the game window: $(game_others "$GAME" "$WIN" | tr '\n' ' ')" \
    test "$(game_others "$GAME" "$WIN")" = "$DIALOG"
press "$DIALOG" Escape
check "Escape closes About" wait_for 10 eval '[ -z "$(shown_by "$GAME" "$ABOUT")" ]'
check "and leaves nothing open beside the game window" wait_for 5 eval '[ -z "$(game_others "$GAME" "$WIN")" ]'
press "$WIN" F4 # the stored sound was on: now off
menu_item "$GAME" "$WIN" g x # Game > E&xit
check "Exit ends the game with status 0" game_ends "$GAME"
check "the second F4 stored Sound=0" grep -qx 'Sound=0' "$CONF"
check "the store still holds the switches alone" test "$(stored_values)" -eq 3
report
