#!/usr/bin/env bash
# A ruvo-sim that runs two on the same command line, the native one
# ($RUVO_SIM_NATIVE) and another build's ($RUVO_SIM_WASM, named
# $RUVO_SIM_OTHER_NAME), and hands back the native one's output and status;
# when they differ, it says so in $RUVO_SIM_PAIR_LOG and on stderr and exits
# with 99. With RUVO_SIM_PAIR_TRACE=1 both trace every tick.
# SPDX-License-Identifier: MIT
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
args=("$@")
[ "${RUVO_SIM_PAIR_TRACE:-0}" = 1 ] && [[ " $* " != *" --trace "* ]] && args+=(--trace)
"$RUVO_SIM_NATIVE" "${args[@]}" >"$work/native.out" 2>"$work/native.err"
native=$?
"$RUVO_SIM_WASM" "${args[@]}" >"$work/wasm.out" 2>"$work/wasm.err"
wasm=$?
differs=()
[ $native -eq $wasm ] || differs+=("exit status $native against $wasm")
cmp -s "$work/native.out" "$work/wasm.out" || differs+=("stdout: $(cmp "$work/native.out" "$work/wasm.out" 2>&1 | head -n1)")
cmp -s "$work/native.err" "$work/wasm.err" || differs+=("stderr: $(diff "$work/native.err" "$work/wasm.err" | head -n4 | tr '\n' ' ')")
if [ ${#differs[@]} -gt 0 ]; then
    printf 'DIFFERS: ruvo-sim %s\n' "${args[*]}" >>"$RUVO_SIM_PAIR_LOG"
    printf '  %s\n' "${differs[@]}" >>"$RUVO_SIM_PAIR_LOG"
    echo "ruvo-sim pair: the ${RUVO_SIM_OTHER_NAME:-WebAssembly} ruvo-sim differs: ${differs[*]}" >&2
    exit 99
fi
echo "ruvo-sim ${args[*]}" >>"$RUVO_SIM_PAIR_LOG.same"
cat "$work/native.out"
cat "$work/native.err" >&2
exit $native
