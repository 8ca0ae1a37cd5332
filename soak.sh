#!/usr/bin/env bash
# The long soak and fault tests, apart from CI:
#   1. 1,000,000 ticks of random scripted play through ruvo-sim under
#      AddressSanitizer and UndefinedBehaviorSanitizer (random seed, printed;
#      SOAK_SEED=N plays a seed again);
#   2. the settings file fuzzed for 60 s (libFuzzer, clang);
#   3. the settings saved 100 times by a process killed part-way, 100 times
#      over: the file always loads as one whole table;
#   4. 2,000 key presses and clicks in 20 s on the real window (the sanitized
#      game), which then still ticks and closes with status 0.
# Builds what it needs in build/, build-sanitize/ and build-fuzz/.
# Usage: ./soak.sh
set -uo pipefail
cd "$(dirname "$0")"
root=$(pwd)

./build.sh packages debian-packages.txt tests/soak/debian-packages.txt || exit 1
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
build build-sanitize ruvo-sim ruvo ruvo_music -- -DRUVO_SANITIZE=ON -DRUVO_ENGINE_ONLY=OFF
cmake -S tests/soak/fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ >/dev/null &&
    cmake --build build-fuzz -j 2 >build-fuzz.log 2>&1 || { echo "soak: the fuzz target did not build; see build-fuzz.log" >&2; exit 1; }

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
run "1. ruvo-sim, 1,000,000 ticks (seed $seed)" bash tests/soak/sim_soak.sh build-sanitize/bin/ruvo-sim 1000000 "$seed"

fuzz() {
    local corpus=$root/build-fuzz/corpus
    mkdir -p "$corpus"
    cp tests/soak/fuzz/corpus/* "$corpus/"
    (cd build-fuzz && ./settings_fuzz -max_total_time=60 -timeout=10 -rss_limit_mb=4096 \
        -dict="$root/tests/soak/fuzz/settings.dict" -artifact_prefix="$root/build-fuzz/" "$corpus" 2>fuzz.log)
    local status=$?
    grep -E '^#[0-9]+ +DONE|^Done' build-fuzz/fuzz.log
    [ $status -eq 0 ] || { tail -n 40 build-fuzz/fuzz.log; echo "the failing input is in build-fuzz/ (crash-*, leak-*, timeout-*)"; }
    return $status
}
run "2. settings file fuzzed, 60 s" fuzz
run "3. settings saves killed, 100 rounds" bash tests/soak/kill_test.sh build/bin/ruvo-settings-saver 100
run "4. input flood on the window, 2,000 in 20 s" bash tests/soak/flood_test.sh build-sanitize/bin/ruvo build/bin/xclose 2000 20

echo
echo "soak results:"
printf '  %s\n' "${results[@]}"
! printf '%s\n' "${results[@]}" | grep -q FAILED
