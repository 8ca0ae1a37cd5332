#!/usr/bin/env bash
# The Windows game under Wine beside the Linux desktop's, in one run on a
# virtual X display: (w1) the tick period at 80 ms and 50 ms, (w2) the
# processor time over SECONDS of play (the game's process, and for Wine its
# wineserver too, which carries every message). Not tests: numbers to read.
# Builds what it needs (the native game in build/, RelWithDebInfo as
# ./build.sh builds it; build-windows/x64 as ./build.sh windows does) and
# writes build-windows/windows-bench-results.md.
# Usage: bench/windows-bench.sh          BENCH_SECONDS=N changes the 30 s.
# SPDX-License-Identifier: MIT
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${BENCH_SECONDS:-30}
./build.sh windows >/dev/null
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j 2 --target ruvo ruvo_music ruvo-tick-bench >/dev/null
cmake --build build-windows/x64 -j 2 --target ruvo-tick-bench >/dev/null
linux=$root/build/bin
windows=$root/build-windows/x64/bin

source "$root/tests/support/script_checks.sh"
export QT_QPA_PLATFORM=xcb WINEPREFIX=$work/prefix
trap '"${RUVO_WINESERVER:-/usr/lib/wine/wineserver}" -k 2>/dev/null; cleanup' EXIT
start_xvfb 1920x1080x24 || { echo "bench: Xvfb did not start" >&2; exit 1; }
printf 'NoTitleFocus\n' >"$work/twmrc"
twm -f "$work/twmrc" >/dev/null 2>&1 &
wine() { "$root/tests/platform/windows/wine-run.sh" "$@"; }
wine "$windows/ruvo-probe.exe" none >/dev/null 2>&1 || true # makes the prefix

field() { sed -n "s/.* $1=\([^ ]*\).*/\1/p"; }
rows=()
row() { rows+=("| $1 | $2 | $3 |"); }

# --- (w1) The tick period --------------------------------------------------------
(cd "$work" && "$linux/ruvo-tick-bench" "$seconds" 80 50 >"$work/linux-period" 2>/dev/null)
wine "$windows/ruvo-tick-bench.exe" "$seconds" 80 50 2>/dev/null | tr -d '\r' >"$work/windows-period"
for period in 80 50; do
    for side in linux windows; do
        line=" $(grep "^period=$period " "$work/$side-period")"
        mean=$(field mean_ms <<<"$line")
        off=$(awk -v m="$mean" -v p="$period" 'BEGIN {printf "%+.3f", (m - p) / p * 100}')
        result="mean $mean ms ($off %), 99th percentile $(field p99_ms <<<"$line") ms, range $(field min_ms <<<"$line")–$(field max_ms <<<"$line") ms"
        [ "$side" = windows ] && result="$result; high-resolution timer: $(field high_resolution <<<"$line"), process $(field cpu_percent <<<"$line") % of a core"
        row "(w1) tick period at $period ms" "$side" "$result"
    done
done

# --- (w2) Processor time over play -------------------------------------------------
clock_ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# This prefix's wineserver: the one whose environment names the prefix.
our_wineserver() {
    local pid
    for pid in $(pgrep -x wineserver64 || true) $(pgrep -x wineserver || true); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && { echo "$pid"; return; }
    done
}
window() { wait_for 60 eval 'xdotool search --onlyvisible --name "^Ruvo Zelp! for Windows 95\$" >/dev/null' &&
    xdotool search --onlyvisible --name '^Ruvo Zelp! for Windows 95$' | head -n1; }
play() { # play linux|windows COMMAND...: SECONDS of a game, measured
    local side=$1
    shift
    "$@" >/dev/null 2>&1 &
    game_pid=$!
    local w server before after sbefore=0 safter=0
    w=$(window)
    xdotool windowfocus --sync "$w" && xdotool key F2
    sleep 1
    server=$([ "$side" = windows ] && our_wineserver || true)
    before=$(cpu_ticks "$game_pid")
    [ -n "$server" ] && sbefore=$(cpu_ticks "$server")
    sleep "$seconds"
    after=$(cpu_ticks "$game_pid")
    [ -n "$server" ] && safter=$(cpu_ticks "$server")
    xdotool windowfocus --sync "$w" && xdotool key alt+g && sleep 0.3 && xdotool key x
    wait_game_exit 30
    awk -v g=$((after - before)) -v s=$((safter - sbefore)) -v hz="$clock_ticks" -v t="$seconds" -v wine="$server" \
        'BEGIN {printf "game %.2f %%", g / hz / t * 100; if (wine != "") printf ", wineserver %.2f %%", s / hz / t * 100;
                printf " of one core"}'
}
mkdir -p "$work/config/Tolp"
printf '[General]\nSound=0\nMusic=0\nZoom=1\n' >"$work/config/Tolp/Ruvo.conf"
row "(w2) processor over $seconds s of play, 1x, sound and music off" linux "$(play linux "$linux/ruvo")"
wine reg add 'HKCU\Software\Tolp\Ruvo' /v Zoom /t REG_DWORD /d 1 /f >/dev/null 2>&1
row "(w2) processor over $seconds s of play, 1x, sound and music off" "windows (Wine)" \
    "$(play windows "$root/tests/platform/windows/wine-run.sh" "$windows/ruvo.exe")"

{
    echo "Ruvo on Windows (Wine $(/usr/lib/wine/wine64 --version 2>/dev/null)) beside Linux, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git rev-parse --short HEAD 2>/dev/null || echo unknown)"
    echo "Machine: $(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo), $(nproc) cores; load average at the end $(cut -d' ' -f1-3 /proc/loadavg)"
    echo
    echo "| What | Where | Result |"
    echo "|---|---|---|"
    printf '%s\n' "${rows[@]}"
} | tee "$root/build-windows/windows-bench-results.md"
