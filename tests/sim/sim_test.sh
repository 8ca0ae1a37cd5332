#!/usr/bin/env bash
# ruvo-sim: its command line, its trace and whole scripted games.
# SPDX-License-Identifier: MIT
set -uo pipefail
sim="$1/bin/ruvo-sim"
source "$(dirname "${BASH_SOURCE[0]}")/../support/script_checks.sh"
field() { # field LINE NAME: the value of NAME= in a trace line
    sed -n "s/.* $2=\([^ ]*\).*/\1/p" <<<" $1"
}

check "extreme damage accepted" "$sim" --ticks 1 --option optDamage=-2147483648 --option optSpeed=4294967295 >/dev/null

# A game: start, dives, a name for the table.
cat >"$work/game.txt" <<'SCRIPT'
# start on the title, then dive now and then
1 start
30 dive
40 pause
50 pause
80 dive
81 dive
400 dive
1200 name Tester
SCRIPT
"$sim" --ticks 3000 --trace --script "$work/game.txt" --option optDamage=1 >"$work/a.txt"
check "exit status 0" test $? -eq 0
"$sim" --ticks 3000 --trace --script "$work/game.txt" --option optDamage=1 --record "$work/game.ruvo-replay" >"$work/b.txt"
check "the same script gives the same trace, recorded or not" cmp -s "$work/a.txt" "$work/b.txt"
check "3000 trace lines, five table rows and the saves" test "$(wc -l <"$work/a.txt")" -eq 3006
# What the game does tick by tick is the engine's (tests/sim); here the
# script's commands land on their ticks and the run ends with the table.
check "trace line fields in order" grep -Eq '^t=1 st=[0-9a-f]{4} sc=[0-9]+ rd=[0-9]+ lv=-?[0-9]+ rt=[0-9]+ jr=-?[0-9]+ jv=-?[0-9]+ jl=[0-9]+ arm=[0-9]+ ba=[0-9]+ bc=-?[0-9]+ br=-?[0-9]+ bdx=-?[0-9]+ bdy=-?[0-9]+ bh=-?[0-9]+ sx=-?[0-9]+ gap=-?[0-9]+ bt=-?[0-9]+ ti=[0-9]+ hu=[0-9] ps=[0-9] mt=[0-9] so=[0-9] mo=[0-9] fx=[-0-9,]+ mu=[-0-9:,]+ grid=[0-9a-f]{8} seed=[0-9a-f]{8}$' "$work/a.txt"
check "start on tick 1 shows the banner" test "$(field "$(head -1 "$work/a.txt")" st)" = 0108
check "pause on tick 40" test "$(field "$(sed -n 40p "$work/a.txt")" st)" = 0004
check "the game ends and the title returns" grep -q ' st=0208 ' "$work/a.txt"
check "the table ends the run" grep -q '^hs1 score=[0-9]* round=[0-9]* name=' "$work/a.txt"
check "saves counted" grep -q '^saves=[0-9]*$' "$work/a.txt"

# Settings from a file: sound on plays effects, music on plays the title track at once.
printf '[General]\nSound=1\nMusic=1\nScore1=77\nName1=Zed\n' >"$work/settings.conf"
"$sim" --ticks 400 --trace --settings "$work/settings.conf" --script "$work/game.txt" >"$work/s.txt"
# Start-up plays the title once, then the start command plays the round track, repeating.
check "start-up and start music in the first line" test "$(field "$(head -1 "$work/s.txt")" mu)" = 0:0,1:1
check "bounce effects" grep -Eq ' fx=([0-9],)*0(,[0-9])* ' "$work/s.txt"
check "settings file rows" grep -q '^hs1 score=77 round=1 name=Zed$' "$work/s.txt"
check "a missing settings file is a first run" bash -c "'$sim' --ticks 1 --settings '$work/none.conf' | grep -q '^hs1 score=1000 round=1 name=K.Dorrimak$'"

# Replays: the game's own, recorded, verified; edited, cut off or not one at all.
check "--record writes the last game's replay" grep -q '^ruvo-replay 1$' "$work/game.ruvo-replay"
verdict=$("$sim" --verify "$work/game.ruvo-replay")
check "--verify verifies it: $verdict" test "$verdict" = "verified $(sed -n 's/^result \(.*\) name=.*/\1/p' "$work/game.ruvo-replay")"
sed 's/^\(result score=\)/\11/' "$work/game.ruvo-replay" >"$work/edited.ruvo-replay"
head -c 200 "$work/game.ruvo-replay" >"$work/cut.ruvo-replay"
# What is refused: exit status 2, one line on stderr and nothing run; or, for
# an edited replay, 1 and one "differs:" line on stdout. A hang fails by the
# timeout.
refused() { # refused STATUS ARGS...
    local want=$1 out
    shift
    out=$(timeout 20 "$sim" "$@" 2>"$work/err")
    [ $? -eq "$want" ] || return 1
    if [ "$want" -eq 1 ]; then [[ $out == differs:* ]] && [ ! -s "$work/err" ]; else [ -z "$out" ] && [ "$(wc -l <"$work/err")" -eq 1 ]; fi
}
# Scripts with a tick 0, ticks going back, an unknown command.
printf '1 start\n0 dive\n' >"$work/bad-1.txt"
printf '5 start\n3 dive\n' >"$work/bad-2.txt"
printf '1 jump\n' >"$work/bad-3.txt"
# To verify, what a stranger may send is refused at once, in one line, and in
# little memory: a dive line of 10 MB, a device, a FIFO with no writer (which
# would block a plain open), a folder, and a game that says it never ends
# (lives that never run out, ticks=4294967295).
{
    sed '/^[0-9]/,$d' "$work/game.ruvo-replay"
    printf '1 dive'
    head -c 5000000 /dev/zero | tr '\0' '\n' | sed 's/^/ 1/' | tr -d '\n'
    printf '\nresult score=1 round=1 ticks=10000000 name=\n'
} >"$work/huge.ruvo-replay"
mkfifo "$work/fifo.ruvo-replay"
sed -e 's/optDamage=1/optDamage=-1/' -e 's/ticks=[0-9]*/ticks=4294967295/' "$work/game.ruvo-replay" >"$work/endless.ruvo-replay"
# Command lines refused: bad scripts, ticks and options, frames without
# --every, a missing script, --verify not alone, -j without it, --from and
# --race of what is no replay, a day that is none; --verify of an edited score (1), of a replay cut off, a script, a
# missing file and the strangers' files above (2).
w=$work
for case in "2 --ticks 1 --script $w/bad-1.txt" "2 --ticks 1 --script $w/bad-2.txt" "2 --ticks 1 --script $w/bad-3.txt" \
    "2" "2 --ticks 12x" "2 --ticks 1 --option optColour=3" "2 --ticks 1 --option optSpeed=4294967296" \
    "2 --ticks 1 --option optSpeed=-1" "2 --ticks 1 --option optDamage=-2147483649" "2 --ticks 1 --frames $w/f" \
    "2 --ticks 1 --script $w/none.txt" "2 --verify $w/game.ruvo-replay --trace" "2 --ticks 1 -j 2" \
    "2 --ticks 1 --from $w/game.txt" "2 --ticks 1 --daily 2026-02-30" "2 --ticks 1 --race $w/game.txt" \
    "1 --verify $w/edited.ruvo-replay" "2 --verify $w/cut.ruvo-replay" "2 --verify $w/game.txt" \
    "2 --verify $w/none.ruvo-replay" "2 --verify $w/huge.ruvo-replay" "2 --verify /dev/zero" \
    "2 --verify $w/fifo.ruvo-replay" "2 --verify ." "2 --verify $w/endless.ruvo-replay"; do
    # shellcheck disable=SC2086
    check "refused: $case" refused $case
done
check "refused with what and where: $(cat "$work/err")" grep -q '^ruvo-sim: .*endless.ruvo-replay: line [0-9]*: a game of 4294967295 ticks' "$work/err"
# The 10 MB file again, with the peak resident size in KiB it takes.
kb=$(python3 -c 'import resource, subprocess, sys
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, timeout=60)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$sim" --verify "$work/huge.ruvo-replay" 2>"$work/err")
check "the 10 MB file is too large: $(cat "$work/err")" grep -q 'huge.ruvo-replay: too large: 100[0-9]\{5\} bytes' "$work/err"
check "refusing it takes under 64 MB ($kb KiB)" test "$kb" -lt 65536
# Several files at once, on threads: a line each in the files' order, after
# the file's name, and the worst status.
"$sim" --verify "$w/game.ruvo-replay" "$w/edited.ruvo-replay" "$w/game.ruvo-replay" -j 2 >"$w/many" 2>"$w/err"
check "-j 2: the worst status, 1" test $? -eq 1
check "-j 2: a line a file, in order, its name and verdict first" diff <(cut -d' ' -f1-2 "$w/many") \
    <(printf '%s: %s\n' "$w/game.ruvo-replay" verified "$w/edited.ruvo-replay" differs: "$w/game.ruvo-replay" verified)
"$sim" --verify "$work/game.ruvo-replay" "$work/none.ruvo-replay" >/dev/null 2>"$work/err"
check "a file refused among others: status 2, its line on stderr" \
    test $? -eq 2 -a "$(cat "$work/err")" = "ruvo-sim: $work/none.ruvo-replay: cannot be opened: No such file or directory"
# --from: a run from a replay's start plays, with the replay's commands, the
# replay's game again, to the same result.
# (The Start and the game's first tick both come at the run's tick 1.)
{ echo "1 start"; sed -n '/^[0-9]/p' "$work/game.ruvo-replay"; } >"$work/again.txt"
"$sim" --ticks 3000 --from "$work/game.ruvo-replay" --script "$work/again.txt" --record "$work/again.ruvo-replay" >/dev/null
lines() { grep -E "^($1) " "$w/$2.ruvo-replay"; } # lines WORDS NAME: those of NAME.ruvo-replay that begin with WORDS
check "--from starts where the replay did and plays its game again" \
    diff <(lines 'options|table|program|result' game) <(lines 'options|table|program|result' again)
# --daily: every start is that day's challenge, whatever the options were:
# the same day's games start alike, another day's do not, and they verify.
for run in "2026-12-09 d1" "2026-12-09 d2 --option optDamage=1" "2026-12-10 d3"; do
    read -r day name options <<<"$run"
    # shellcheck disable=SC2086
    "$sim" --ticks 3000 --daily "$day" $options --script "$work/game.txt" --record "$work/$name.ruvo-replay" >/dev/null
done
check "a day's games start alike" diff <(lines 'challenge|options|program' d1) <(lines 'challenge|options|program' d2)
check "another day's start otherwise" test "$(lines program d1)" != "$(lines program d3)"
check "a daily game's replay verifies" bash -c "'$sim' --verify '$work/d3.ruvo-replay' | grep -q '^verified '"
# --race: the run's first start races the replay's ghost; the game and its
# trace are the player's own, as when it starts where the replay did.
"$sim" --ticks 3000 --trace --race "$work/d3.ruvo-replay" --script "$work/game.txt" >"$work/race.txt"
"$sim" --ticks 3000 --trace --daily 2026-12-10 --script "$work/game.txt" >"$work/alone.txt"
check "a race's trace is the game's alone" cmp -s "$work/race.txt" "$work/alone.txt"
"$sim" --ticks 10 --record "$work/none.ruvo-replay" >/dev/null 2>"$work/err"
check "--record with no game ended: exit status 2, one line" test $? -eq 2 -a "$(wc -l <"$work/err")" -eq 1

# Frames: the frame buffer as the window shows it.
"$sim" --ticks 40 --frames "$work/frames" --every 20 --script "$work/game.txt" >/dev/null
check "frames written" test -s "$work/frames/frame-20.png" -a -s "$work/frames/frame-40.png" -a ! -e "$work/frames/frame-30.png"

report
