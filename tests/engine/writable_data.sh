#!/usr/bin/env bash
# The engine keeps no program-wide state: its libraries hold no data object
# that the program could write, but the compiler's own (a reference to the
# exception personality). Read-only data that needs relocating (.data.rel.ro)
# is not writable once the program runs.
# Usage: writable_data.sh LIBRARY.a...
# SPDX-License-Identifier: MIT
set -uo pipefail
found=$(objdump -t "$@" | awk '/ O / && /\.(data|bss|tbss|tdata)/ && !/\.data\.rel\.ro/ && !/DW\.ref\.__gxx_personality_v0/')
[ -z "$found" ] && exit 0
echo "FAIL: writable data objects in the engine's libraries:"
echo "$found"
exit 1
