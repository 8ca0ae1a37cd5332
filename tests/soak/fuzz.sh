#!/usr/bin/env bash
# Runs the settings file's libFuzzer target for SECONDS from the seed corpus;
# the corpus it grows and any failing input stay in the build folder.
# Usage: fuzz.sh FUZZ-BUILD-DIR SECONDS
# SPDX-License-Identifier: MIT
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
dir=$(cd "${1:?usage: fuzz.sh FUZZ-BUILD-DIR SECONDS}" && pwd)
seconds=${2:?usage: fuzz.sh FUZZ-BUILD-DIR SECONDS}
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/soak/lsan.supp:print_suppressions=0}
corpus=$dir/corpus
mkdir -p "$corpus"
cp "$root"/tests/soak/fuzz/corpus/* "$corpus/"
(cd "$dir" && bin/settings_fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
    -dict="$root/tests/soak/fuzz/settings.dict" -artifact_prefix="$dir/" "$corpus" 2>fuzz.log)
status=$?
grep -E '^#[0-9]+ +DONE|^Done' "$dir/fuzz.log"
if [ $status -ne 0 ]; then
    tail -n 40 "$dir/fuzz.log"
    echo "the failing input is in $dir/ (crash-*, leak-*, timeout-*)"
fi
exit $status
