#!/usr/bin/env bash
# A soak of the engine through ruvo-sim: runs of random scripted play (starts,
# dives, pauses, the sound and music switches, names for the table) over
# random option sets and random settings files, until TOTAL ticks are played.
# The first runs take the extreme option values one by one; later runs mix
# them with ordinary ones. Built with the sanitizers, any report fails the
# run; a run that does not end in time is a hang.
# Usage: sim_soak.sh RUVO-SIM TOTAL-TICKS [SEED]
#   SEED picks the random runs (the default is fixed, so that CI plays the
#   same games every time); the seed and each run's command line are printed.
# SPDX-License-Identifier: MIT
set -uo pipefail
sim=${1:?usage: sim_soak.sh RUVO-SIM TOTAL-TICKS [SEED]}
total=${2:?usage: sim_soak.sh RUVO-SIM TOTAL-TICKS [SEED]}
seed=${3:-1995}
source "$(dirname "${BASH_SOURCE[0]}")/../support/script_checks.sh"
# Unless the caller asked otherwise: every report ends the run with an error.
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

unsigned_options=(optRound optDistance optGameLevel optBossLevel optSpeed optHarryLevel optHarrySpeed)
# Values from both ends of every range, and the game's own defaults between.
unsigned_values=(0 1 2 3 9 10 11 20 50 80 100 300 1000 65535 65536 2147483647 2147483648 4294967294 4294967295)
damage_values=(-2147483648 -2147483647 -1 0 1 2 3 100 2147483647)
# The extremes, one per run, before the random sets.
extremes=(optSpeed=0 optDistance=0 optBossLevel=0 optRound=0 optRound=4294967295 optGameLevel=0
    optGameLevel=4294967295 optDamage=-2147483648 optDistance=4294967295 optBossLevel=4294967295
    optHarryLevel=0 optHarrySpeed=0 optDamage=2147483647 optRound=2147483648)

# Every draw is made in this shell, never in a $(...) subshell: bash seeds a
# subshell's RANDOM afresh, and the seed would no longer replay the runs.
RANDOM=$seed
random32() { r32=$(((RANDOM << 17 ^ RANDOM << 2 ^ RANDOM) & 0xFFFFFFFF)); }

# A random option set, added to args: each option left at its default or set
# to a value from its list, now and then to any 32-bit value.
random_options() {
    local name
    for name in "${unsigned_options[@]}"; do
        case $((RANDOM % 10)) in
        [4-8]) args+=(--option "$name=${unsigned_values[RANDOM % ${#unsigned_values[@]}]}") ;;
        9) random32 && args+=(--option "$name=$r32") ;;
        esac
    done
    [ $((RANDOM % 10)) -lt 3 ] || args+=(--option "optDamage=${damage_values[RANDOM % ${#damage_values[@]}]}")
}

# A settings file: the switches, and a table that a game can or cannot enter.
random_settings() {
    local row
    printf '[General]\nSound=%d\nMusic=%d\n' $((RANDOM % 2)) $((RANDOM % 2))
    for row in 1 2 3 4 5; do
        case $((RANDOM % 3)) in
        0) echo "Score$row=$((RANDOM % 2000))" ;;
        1) random32 && echo "Score$row=$r32" ;;
        esac
        [ $((RANDOM % 2)) -eq 0 ] && echo "Round$row=$((RANDOM % 70000))"
    done
}

# A script of TICKS ticks: dives most often, starts now and then (they only
# take on the title), pauses that mostly end soon, switches, and names, some
# longer than a table row holds, some not ASCII.
random_script() { # random_script TICKS SEED
    awk -v ticks="$1" -v seed="$2" 'BEGIN {
        srand(seed)
        split("Ann|Z|Öle Ümit|名前のテスト|a very long name that does not fit in a row|x y z|ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄ", names, "|")
        dive = 0.05 + rand() * 0.4
        paused = 0
        for (k = 1; k <= ticks; k++) {
            if (rand() < dive) print k, "dive"
            if (rand() < 0.004) print k, "start"
            if (paused ? k == resume : rand() < 0.002) {
                print k, "pause"
                paused = !paused
                if (paused) resume = k + 1 + int(rand() * (rand() < 0.1 ? 3000 : 100))
            }
            if (rand() < 0.0005) print k, "sound"
            if (rand() < 0.0005) print k, "music"
            if (rand() < 0.002) print k, "name", names[int(rand() * 7) + 1]
        }
    }'
}

played=0 run=0
echo "sim_soak: seed $seed, $total ticks"
while [ "$played" -lt "$total" ]; do
    run=$((run + 1))
    ticks=$((2000 + RANDOM % 6001))
    [ $((played + ticks)) -gt "$total" ] && ticks=$((total - played))
    args=(--ticks "$ticks")
    if [ "$run" -le "${#extremes[@]}" ]; then
        args+=(--option "${extremes[run - 1]}")
    else
        random_options
    fi
    if [ $((RANDOM % 2)) -eq 0 ]; then
        random_settings >"$work/settings-$run.conf"
        args+=(--settings "$work/settings-$run.conf")
    fi
    random_script "$ticks" "$RANDOM" >"$work/script-$run.txt"
    args+=(--script "$work/script-$run.txt")
    # Far longer than a run takes under the sanitizers: only a hang reaches it.
    timeout -k 10 $((60 + ticks / 100)) "$sim" "${args[@]}" >"$work/out" 2>"$work/err"
    status=$?
    if [ $status -eq 0 ] && [ ! -s "$work/err" ] && tail -n1 "$work/out" | grep -q '^saves=[0-9]*$'; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        what="exit status $status"
        [ $status -eq 124 ] || [ $status -eq 137 ] && what="no end in time (a hang)"
        echo "FAIL: run $run ($what): $sim ${args[*]}"
        sed 's/^/  /' "$work/err" | head -n 40
        # Keep what the run needs for a replay.
        keep=${RUVO_SOAK_KEEP:-/tmp}/ruvo-soak-failures
        mkdir -p "$keep" && cp "$work/script-$run.txt" "$work/settings-$run.conf" "$keep/" 2>/dev/null
    fi
    played=$((played + ticks))
done
echo "sim_soak: $run runs, $played ticks"
report
