#!/usr/bin/env bash
# No function of the engine or the platforms that nothing calls: Debian's
# cppcheck looks over the engine, the platforms, ruvo-sim, the tools, the
# benchmarks and the tests together (a routine the tests alone call still
# counts as called), and fails on any it finds unused, but for the few that
# are called from outside our code (unused_functions.supp says which and why).
# Usage: unused_functions.sh
# SPDX-License-Identifier: MIT
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$here/../.."
command -v cppcheck >/dev/null || { echo "FAIL: cppcheck is not installed"; exit 1; }
# Each platform is looked at with the engine and the code that calls into it;
# the Windows layer is left to its own look, as its headers come from mingw-w64.
out=$(cppcheck --enable=unusedFunction --library=googletest --library=qt --quiet --std=c++20 --language=c++ --inline-suppr \
    --suppressions-list="$here/unused_functions.supp" --template='{file}:{line}: {message}' \
    -I engine -I . -I tests engine platform sim services tools bench tests 2>&1)
if [ -n "$out" ]; then
    echo "$out"
    echo "FAIL: functions that nothing calls (remove them, or say in tests/format/unused_functions.supp why they stay)"
    exit 1
fi
echo "every function is called"
