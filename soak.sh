#!/usr/bin/env bash
# The long soak and fault tests, apart from CI:
#   1. 1,000,000 ticks of random scripted play through ruvo-sim under
#      AddressSanitizer and UndefinedBehaviorSanitizer (random seed, printed;
#      SOAK_SEED=N plays a seed again);
#   2. the settings file, the replay file and the board's requests fuzzed for 60 s each
#      (libFuzzer, clang);
#   3. the settings saved 100 times by a process killed part-way, 100 times
#      over: the file always loads as one whole table;
#   4. 2,000 key presses and clicks in 20 s on the real window (the sanitized
#      game), which then still ticks and closes with status 0;
#   5. 5,000 random runs of the program, every game of each replayed alone
#      against its trace and frames, under the sanitizers (seed as in 1);
#   6. the page's reader of replay links fuzzed under Node for 60 s (seed as
#      in 1).
# Builds what it needs in build/, build-sanitize/, build-fuzz/ and (the
# page's tables) build-web/.
# Usage: ./soak.sh
# A shorter run for a check: SOAK_TICKS, SOAK_FUZZ_SECONDS, SOAK_KILLS,
# SOAK_FLOOD (presses), SOAK_FLOOD_SECONDS, SOAK_REPLAY_RUNS and
# SOAK_LINK_SECONDS set the six parts' sizes.
# SPDX-License-Identifier: MIT
set -uo pipefail
cd "$(dirname "$0")"
root=$(pwd)

./build.sh packages || exit 1
# The page's build wants npm, which Debian's nodejs leaves to a package of its own.
command -v npm >/dev/null || ./build.sh packages <(echo npm) || exit 1
ticks=${SOAK_TICKS:-1000000}
fuzz_seconds=${SOAK_FUZZ_SECONDS:-60}
kills=${SOAK_KILLS:-100}
flood=${SOAK_FLOOD:-2000}
flood_seconds=${SOAK_FLOOD_SECONDS:-20}
replay_runs=${SOAK_REPLAY_RUNS:-5000}
link_seconds=${SOAK_LINK_SECONDS:-60}
build() { # build DIR TARGET... -- CMAKE-OPTION...
    local dir=$1 targets=()
    shift
    while [ $# -gt 0 ] && [ "$1" != -- ]; do targets+=("$1"); shift; done
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null &&
        cmake --build "$dir" -j 2 --target "${targets[@]}" >"$dir.log" 2>&1 ||
        { echo "soak: building in $dir failed; see $dir.log" >&2; exit 1; }
}
build build ruvo-settings-saver xclose -- -DRUVO_SANITIZE=OFF
build build-sanitize ruvo-sim ruvo ruvo_music ruvo_sim_tests -- -DRUVO_SANITIZE=ON -DRUVO_ENGINE_ONLY=OFF
build build-fuzz settings_fuzz replay_fuzz board_fuzz -- -DCMAKE_CXX_COMPILER=clang++ -DRUVO_FUZZ=ON -DRUVO_BOARD=ON
# The page's share of the engine's tables (its replay size limit), from the
# WebAssembly build as ./build.sh makes it.
build build-web/host mkresources mksounds mkmusic -- -DRUVO_ENGINE_ONLY=ON -DBUILD_TESTING=OFF
build build-web ruvo_web_tables -- -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake \
    -DRUVO_WEB=ON -DRUVO_HOST_TOOLS="$root/build-web/host/bin"

runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/tests/soak/lsan.supp:print_suppressions=0

results=()
run() { # run NAME COMMAND...: runs a part, notes how it ended
    local name=$1 start=$SECONDS status
    shift
    echo "=== $name"
    "$@"
    status=$?
    results+=("$(printf '%-44s %s (%d s)' "$name" "$([ $status -eq 0 ] && echo passed || echo FAILED)" $((SECONDS - start)))")
}

seed=${SOAK_SEED:-$(((RANDOM << 15) | RANDOM))}
run "1. ruvo-sim, $ticks ticks (seed $seed)" bash tests/soak/sim_soak.sh build-sanitize/bin/ruvo-sim "$ticks" "$seed"

run "2. settings and replay files and board requests fuzzed, $fuzz_seconds s each" bash tests/soak/fuzz.sh build-fuzz "$fuzz_seconds"
run "3. settings saves killed, $kills rounds" bash tests/soak/kill_test.sh build/bin/ruvo-settings-saver "$kills"
run "4. input flood on the window, $flood in $flood_seconds s" bash tests/soak/flood_test.sh build-sanitize/bin/ruvo \
    build/bin/xclose "$flood" "$flood_seconds"
run "5. replays of $replay_runs random runs (seed $seed)" env RUVO_REPLAY_RUNS="$replay_runs" RUVO_REPLAY_SEED="$seed" \
    build-sanitize/bin/ruvo_sim_tests --gtest_filter='ReplayProperty.*'
run "6. replay links fuzzed, $link_seconds s (seed $seed)" node tests/platform/web/link_fuzz.mjs build-web \
    "$link_seconds" "$seed"

echo
echo "soak results:"
printf '  %s\n' "${results[@]}"
! printf '%s\n' "${results[@]}" | grep -q FAILED
