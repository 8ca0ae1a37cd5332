#!/usr/bin/env bash
# The WebAssembly engine beside the native one (a benchmark, not a test:
# nothing depends on a time). Builds what it needs: the native engine in
# build-bench/ (RelWithDebInfo, as the game ships) and the WebAssembly tree in
# build-web/ (MinSizeRel, as build.sh web builds it), then runs ruvo-engine-bench natively and under Node in the same
# run, three times each, and prints one table, also written to
# build-web/web-bench-results.md. WebAssembly has no text renderer, so both
# sides leave the letters out; the native figure with letters is given too.
# Then the page's own figures in Chromium, when bench/web-page-bench.mjs is
# there. Usage: bench/web-bench.sh [TICKS]   (100000 when not given)
# SPDX-License-Identifier: MIT
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
ticks=${1:-100000}

./build.sh packages
command -v npm >/dev/null || ./build.sh packages <(echo npm)
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-bench -j 2 --target ruvo-engine-bench mkresources mksounds mkmusic >/dev/null
cmake -S . -B build-web -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake \
    -DRUVO_WEB=ON -DRUVO_HOST_TOOLS="$root/build-bench/bin" >/dev/null
cmake --build build-web -j 2 >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
value() { sed -n "s/^$1=//p"; } # value KEY < key=value lines
median() { sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
# tps NAME COMMAND...: the median ticks per second of three runs.
tps() {
    local name=$1 run
    shift
    for run in 1 2 3; do
        QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work "$@" >"$work/$name-$run" 2>/dev/null
        value ticks_per_second <"$work/$name-$run"
    done | median
}

node_version=$(node --version)
rows=()
for scenario in boss rounds; do
    native=$(tps "native-$scenario" build-bench/bin/ruvo-engine-bench "$scenario" "$ticks" --no-text)
    wasm=$(tps "wasm-$scenario" build-web/bin/ruvo-engine-bench "$scenario" "$ticks")
    lettered=$(tps "lettered-$scenario" build-bench/bin/ruvo-engine-bench "$scenario" "$ticks")
    ratio=$(awk -v w="$wasm" -v n="$native" 'BEGIN {printf "%.2f", w / n}')
    rows+=("| $scenario | $native | $wasm | $ratio | $lettered |")
done

{
    echo "Engine ticks per second, median of 3 × $ticks ticks ($(date -u +%Y-%m-%d), $(nproc) cores):"
    echo
    echo "| Scenario | Native, no letters | WebAssembly under Node $node_version, no letters | WebAssembly / native | Native, with letters (Qt) |"
    echo "|---|---|---|---|---|"
    printf '%s\n' "${rows[@]}"
} | tee build-web/web-bench-results.md

if [ -f bench/web-page-bench.mjs ]; then
    echo
    node bench/web-page-bench.mjs build-web "$ticks" | tee -a build-web/web-bench-results.md
fi
