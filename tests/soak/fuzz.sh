#!/usr/bin/env bash
# Runs the libFuzzer targets, the settings file's, the replay file's and the
# board's requests (or only those named), for SECONDS each from their seed
# corpora; the corpora they grow and any failing input stay in the build
# folder.
# Usage: fuzz.sh FUZZ-BUILD-DIR SECONDS [settings|replay|board]...
# SPDX-License-Identifier: MIT
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
dir=$(cd "${1:?usage: fuzz.sh FUZZ-BUILD-DIR SECONDS}" && pwd)
seconds=${2:?usage: fuzz.sh FUZZ-BUILD-DIR SECONDS}
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/soak/lsan.supp:print_suppressions=0}
status=0
fuzz() { # fuzz TARGET SEEDS DICTIONARY MAX-LENGTH
    local target=$1 corpus=$dir/corpus-$1
    mkdir -p "$corpus"
    cp "$2"/* "$corpus/"
    (cd "$dir" && "bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -dict="$3" -max_len="$4" \
        -artifact_prefix="$dir/$target-" "$corpus" 2>"$target.log")
    local result=$?
    echo "$target: $(grep -E '^#[0-9]+ +DONE|^Done' "$dir/$target.log")"
    if [ $result -ne 0 ]; then
        tail -n 40 "$dir/$target.log"
        echo "the failing input is in $dir/ ($target-crash-*, $target-leak-*, $target-timeout-*)"
        status=1
    fi
}
shift 2
[ $# -eq 0 ] && set -- settings replay board
for file in "$@"; do
    case $file in
    settings) fuzz settings_fuzz "$root/tests/soak/fuzz/corpus" "$root/tests/soak/fuzz/settings.dict" 4096 ;;
    # Past the replay's size limit of 1 MiB.
    replay) fuzz replay_fuzz "$root/tests/soak/fuzz/replay-corpus" "$root/tests/soak/fuzz/replay.dict" 1049000 ;;
    # Past the board's body limit of 64 KiB.
    board) fuzz board_fuzz "$root/tests/soak/fuzz/board-corpus" "$root/tests/soak/fuzz/board.dict" 70000 ;;
    *) echo "fuzz.sh: no fuzz target for '$file'"; status=1 ;;
    esac
done
exit $status
