#!/usr/bin/env bash
# Settings saved while the process is killed: again and again a saver writes
# the table 100 times (A and B in turn) and is killed with SIGKILL part-way;
# the file then loads as one whole table, A or B, never a mix of the two and
# never the first-run defaults. After each kill a single save must go through
# without hanging, whatever the killed saver left behind (temporary files, a
# lock file): a save that has not ended after 10 s (it takes milliseconds)
# counts as hung.
# Usage: kill_test.sh SAVER [ROUNDS]   (ROUNDS: 20 when not given)
# SPDX-License-Identifier: MIT
set -uo pipefail
saver=${1:?usage: kill_test.sh SAVER [ROUNDS]}
rounds=${2:-20}
source "$(dirname "${BASH_SOURCE[0]}")/../support/script_checks.sh"
file=$work/Tolp/Ruvo.conf
mkdir -p "$work/Tolp"

# The first table is in place before any kill.
"$saver" save "$file" 1
check "one save loads as table A" test "$("$saver" check "$file")" = A

# How long 100 saves take here; the kills fall anywhere inside that time.
start=$(date +%s%N)
"$saver" save "$file" 100
span_us=$((($(date +%s%N) - start) / 1000))
check "100 saves end on table B" test "$("$saver" check "$file")" = B
[ "$span_us" -gt 0 ] || span_us=1

declare -A seen=([A]=0 [B]=0)
for round in $(seq "$rounds"); do
    "$saver" save "$file" 100 &
    pid=$!
    # A spread over the whole run, start-up included, the same for every run of the test.
    delay_us=$(((round * 7919) % span_us))
    sleep "$(printf '0.%06d' "$delay_us")"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    table=$("$saver" check "$file")
    check "round $round: a whole table after the kill, not $table" test "$table" = A -o "$table" = B
    [[ $table == [AB] ]] && seen[$table]=$((seen[$table] + 1))
    timeout -k 1 10 "$saver" save "$file" 1
    status=$?
    check "round $round: a save after the kill ends (status $status; lock file: $(wc -c 2>/dev/null <"$file.lock" || echo none) bytes)" \
        test $status -eq 0
    [ $status -eq 0 ] && check "round $round: and is kept" test "$("$saver" check "$file")" = A
    # A hung save is cleaned up after, so that the next round starts clean.
    [ $status -eq 0 ] || rm -f "$file.lock"
done
echo "kill_test: 100 saves take $((span_us / 1000)) ms here; $rounds kills left table A ${seen[A]} times, B ${seen[B]} times"
# Saves still go through after the kills, from A (the last round's) to B.
"$saver" save "$file" 2
check "saves after the kills are kept (B)" test "$("$saver" check "$file")" = B

report
