#!/usr/bin/env bash
# The WebAssembly ruvo-sim (under Node) against the native one: the same
# stdout, stderr and exit status on ruvo-sim's own tests, a soak of random
# games over the extreme options (traced tick by tick), odd command lines and
# settings files, and replays verified (the desktop game's among them, which
# must verify). Another build's ruvo-sim (Windows under Wine, 32-bit
# Linux under qemu) is compared the same way, given as a program and a name.
# Usage: equality_test.sh NATIVE_BUILD_DIR WEB_BUILD_DIR|OTHER_PROGRAM [OTHER_NAME]
# SPDX-License-Identifier: MIT
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../support/script_checks.sh"
export RUVO_SIM_NATIVE=$(cd "$1" && pwd)/bin/ruvo-sim
other=$2
[ -d "$other" ] && other=$other/bin/ruvo-sim
export RUVO_SIM_WASM=$(cd "$(dirname "$other")" && pwd)/$(basename "$other")
export RUVO_SIM_OTHER_NAME=${3:-WebAssembly}
export RUVO_SIM_PAIR_LOG=$work/pair.log
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work
: >"$RUVO_SIM_PAIR_LOG" && : >"$RUVO_SIM_PAIR_LOG.same"
# A build folder whose ruvo-sim is the pair.
mkdir -p "$work/pair/bin"
ln -s "$here/sim_pair.sh" "$work/pair/bin/ruvo-sim"
sim=$work/pair/bin/ruvo-sim

check "ruvo-sim's own tests" bash "$here/sim_test.sh" "$work/pair"
check "a soak of traced games, the extreme options first" \
    env RUVO_SIM_PAIR_TRACE=1 bash "$here/../soak/sim_soak.sh" "$sim" "${RUVO_EQUALITY_TICKS:-150000}"

# Command lines at and past the edges, settings files that only a careful
# reader gets right, and replays (the seed files of the replay fuzz target,
# and the desktop game's own when its window test has left one in the native
# build): only sameness counts here.
same() { "$sim" "$@" >/dev/null 2>&1; [ $? -ne 99 ]; }
printf '1 start\n2 name \xc3\x84\xc3\x96 \xe5\x90\x8d \n3 dive\n' >"$work/utf8.txt"
printf '1 start\n1 start\n  # a comment\n\n5 dive   \n9 pause\r\n' >"$work/odd.txt"
runs=("--ticks 0" "--ticks 1000000000001" "--ticks 1 --every 0 --frames $work/f" "--ticks 1 --option optSpeed"
    "--ticks 1 --option =1" "--ticks 1 --option optSpeed=+1" "--ticks 1 --option optDamage=-0"
    "--ticks 1 --option optDamage=2147483648" "--ticks 1 --bogus" "--ticks" "--ticks 1 --script"
    "--ticks 1 --script $work" "--ticks 1 --settings $work" "--ticks 1 --frames /proc/none/f --every 1"
    "--ticks 600 --trace --script $work/utf8.txt" "--ticks 30 --trace --script $work/odd.txt"
    "--ticks 300 --trace --option optSpeed=0 --option optSpeed=1 --option optRound=4294967295")
settings_cases=(
    '[General]\nSound=1\nMusic=1\nOption=1\nScore1=5000\nRound1=7\nName1="  quoted, with a comma "\n'
    '\xef\xbb\xbf[general]\r\nScore1 = 4294967295 \r\nName1=\\x41\\102\\t\\"x\\"\r\nName2=a,b\r\n'
    'Score1=12;comment\nName1=@String(Tag)\nName2=@@at\nName3=\xe5\x90\x8d\xe5\x89\x8d\\\\\nName4=line\\\n continued\n'
    '[Other]\nScore1=9\n[%General]\nScore2=9\n[General]\nScore3=9\nScore3=10\n%53core4=11\nScore5=4294967296\n'
    'Name1=\xff\xfe\nName2=\xc3\\\\x\nName3="open\nName4=ends\xe5\x90\nRound1=-1\nRound2=70000\n'
)
for i in "${!settings_cases[@]}"; do
    printf '%b' "${settings_cases[i]}" >"$work/settings-$i.conf"
    runs+=("--ticks 2 --trace --settings $work/settings-$i.conf")
done
for replay in "$here"/../soak/fuzz/replay-corpus/*.ruvo-replay "$1/replay-window-test.ruvo-replay"; do
    [ -f "$replay" ] && runs+=("--verify $replay")
done
for args in "${runs[@]}"; do
    # shellcheck disable=SC2086
    check "same for: $args" same $args
done

# Paths relative to the folder the runner starts in.
printf '[General]\nSound=1\nName1=Rel\n' >"$work/rel.conf"
check "same with relative paths" bash -c "cd '$work' && '$sim' --ticks 40 --trace --script odd.txt \
    --settings rel.conf --frames rel-frames --every 20 >/dev/null 2>&1"
check "frames under a relative path" test -s "$work/rel-frames/frame-40.png"

if [ -f "$1/replay-window-test.ruvo-replay" ]; then
    check "the desktop game's replay verifies" bash -c "'$sim' --verify '$1/replay-window-test.ruvo-replay' | grep -q '^verified '"
fi

compared=$(wc -l <"$RUVO_SIM_PAIR_LOG.same")
check "every run compared" test "$compared" -gt 40
[ -s "$RUVO_SIM_PAIR_LOG" ] && echo "The $RUVO_SIM_OTHER_NAME ruvo-sim differs from the native one:" &&
    head -n 40 "$RUVO_SIM_PAIR_LOG"
check "no run differs" test ! -s "$RUVO_SIM_PAIR_LOG"
echo "sim_equality ($RUVO_SIM_OTHER_NAME): $compared runs the same"
report
