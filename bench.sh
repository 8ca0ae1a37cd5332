#!/usr/bin/env bash
# The benchmarks: builds what they need in build-bench/ (as the game ships:
# RelWithDebInfo), runs them on a virtual X display of their own and prints
# one table, which is also written to build-bench/bench-results.md.
#   (a) engine ticks per second with full frames and text, against one plain
#       384 x 200 x 4-byte copy per tick, what recording each game for its
#       replay costs, a game verified without drawing against the same game
#       drawn, verification on two threads against one, and what watching a
#       replay keeps;
#   (b) the real window's tick period at 80 ms and 50 ms;
#   (c) the game's processor time and peak memory over 30 s of play, music
#       off and on, with the field at 1x and at 3x (and the X server's
#       processor time beside it, which drawing can shift work onto);
#   (d) the time from start to the first painted frame.
# Usage: ./bench.sh            BENCH_SECONDS=N shortens (b) and (c) to N s each.
# SPDX-License-Identifier: MIT
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
dir=$root/build-bench
seconds=${BENCH_SECONDS:-30}

./build.sh packages
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j 2 --target ruvo ruvo_music ruvo-engine-bench ruvo-verify-bench ruvo-tick-bench ruvo-first-frame \
    >/dev/null
bin=$dir/bin

source "$root/tests/support/script_checks.sh"
mkdir -p "$work/run"
chmod 700 "$work/run"
export XDG_RUNTIME_DIR=$work/run HOME=$work XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb
unset SESSION_MANAGER
# An audio device that opens (so that the music library and the synthesiser
# are there, as on a machine with sound) and writes to a scratch file (the
# disk driver takes nothing but a regular file or a pipe).
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/measured.raw

# A 1920 x 1080 screen, where the automatic size is 3x.
start_xvfb 1920x1080x24 || { echo "bench: Xvfb did not start" >&2; exit 1; }

value() { sed -n "s/^$1=//p"; }       # value KEY < key=value lines
field() { sed -n "s/.* $1=\([^ ]*\).*/\1/p"; } # field KEY < one line of key=value fields
median() { sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
verdict() { awk -v v="$1" -v op="$2" -v t="$3" 'BEGIN {print ((op == "<=" ? v <= t : v >= t) ? "met" : "**missed**")}'; }
rows=()
row() { rows+=("| $1 | $2 | $3 | $4 |"); } # row WHAT RESULT TARGET VERDICT

# --- (a) Engine ticks per second --------------------------------------------------
for scenario in boss rounds; do
    for run in 1 2 3; do "$bin/ruvo-engine-bench" "$scenario" 100000 >"$work/engine-$scenario-$run" 2>/dev/null; done
    tps=$(for run in 1 2 3; do value ticks_per_second <"$work/engine-$scenario-$run"; done | median)
    best=$(grep -l "^ticks_per_second=$tps\$" "$work"/engine-"$scenario"-* | head -n1)
    ratio=$(value tick_per_copy <"$best")
    copy=$(value frame_copy_microseconds <"$best")
    case $scenario in
    boss) what="(a) engine, boss on screen $(value boss_on_screen_percent <"$best") % of ticks, full row of life icons" ;;
    rounds) what="(a) engine, rounds going by ($(value rounds_cleared <"$best") cleared; $(value play_percent <"$best") % play, $(value banner_percent <"$best") % banners)" ;;
    esac
    row "$what" "$tps ticks/s = $ratio frame copies per tick (one copy: $copy µs); median of 3 × 100,000 ticks" \
        "≥ 20,000 ticks/s" "$(verdict "$tps" ">=" 20000)"
done

# --- (a) What recording a game for its replay costs --------------------------------
# Runs with and without the recording, taken in turns so that a machine that
# grows busier or quieter slows both alike, counted in processor time, which
# the other processes disturb less than the clock; the median of the pairs.
for pair in 1 2 3 4 5 6 7; do
    on=$("$bin/ruvo-engine-bench" boss 50000 2>/dev/null | value processor_ticks_per_second)
    off=$("$bin/ruvo-engine-bench" boss 50000 --no-record 2>/dev/null | value processor_ticks_per_second)
    awk -v a="$on" -v b="$off" 'BEGIN {printf "%.4f %s %s\n", (b - a) / b * 100, a, b}'
done >"$work/recording"
cost=$(cut -d' ' -f1 "$work/recording" | median)
read -r _ on off < <(grep -m1 "^$cost " "$work/recording")
row "(a) recording every game for its replay (boss on screen)" \
    "$on ticks per processor second recorded, $off not: $cost % slower; median of 7 pairs × 50,000 ticks" \
    "within 2 %" "$(awk -v c="$cost" 'BEGIN {print (c <= 2 && c >= -2) ? "met" : "**missed**"}')"

# --- (a) A game without its drawing, on one thread and two, and watched -------------
# The same game drawn, then verified from its replay without drawing; the
# median of 3 runs. Then 16 copies of it verified by one thread and by two,
# by the clock; and what starting to watch its first 2,000 ticks keeps from
# the heap, beside the window's own frame and stage.
for run in 1 2 3; do "$bin/ruvo-verify-bench" 50000 >"$work/verify-$run" 2>/dev/null; done
ratio=$(for run in 1 2 3; do value verify_per_drawn <"$work/verify-$run"; done | median)
best=$(grep -l "^verify_per_drawn=$ratio\$" "$work"/verify-* | head -n1)
row "(a) a game verified without drawing, against the same game drawn (boss on screen)" \
    "$(value verify_processor_ticks_per_second <"$best") against $(value drawn_processor_ticks_per_second <"$best") ticks per processor second: ${ratio}×; median of 3 × 50,000 ticks" \
    "≥ 5×" "$(verdict "$ratio" ">=" 5)"
speedup=$(for run in 1 2 3; do value threads_speedup <"$work/verify-$run"; done | median)
best=$(grep -l "^threads_speedup=$speedup\$" "$work"/verify-* | head -n1)
row "(a) ruvo-sim --verify -j 2 against -j 1: 16 games of 50,000 ticks" \
    "$(value one_thread_seconds <"$best") s on one thread, $(value two_thread_seconds <"$best") s on two: ${speedup}×; median of 3" \
    "≥ 1.6×" "$(verdict "$speedup" ">=" 1.6)"
race=$(for run in 1 2 3; do value race_cost_percent <"$work/verify-$run"; done | median)
row "(a) racing the same game's ghost, shown throughout, against playing it alone" \
    "$race % more processor time; median of 3 runs, each the median of 5 pairs × 25,000 ticks" \
    "≤ 10 %" "$(verdict "$race" "<=" 10)"
kept=$(value watch_start_bytes <"$best")
row "(a) watching a replay: what its start keeps from the heap" \
    "$kept bytes (its game and commands), where the window's frame and stage alone are $(value drawing_bytes <"$best")" \
    "no second drawing: < 64 KiB" "$(verdict "$kept" "<=" 65536)"

# --- (b) The window's tick period -------------------------------------------------
(cd "$work" && "$bin/ruvo-tick-bench" "$seconds" 80 50 >"$work/period" 2>/dev/null)
for period in 80 50; do
    line=$(grep "^period=$period " "$work/period")
    mean=$(field mean_ms <<<" $line")
    p99=$(field p99_ms <<<" $line")
    off=$(awk -v m="$mean" -v p="$period" 'BEGIN {d = (m - p) / p * 100; printf "%+.3f", d}')
    late=$(awk -v q="$p99" -v p="$period" 'BEGIN {printf "%.2f", q - p}')
    ok=$(awk -v o="$off" -v l="$late" 'BEGIN {print (o <= 0.5 && o >= -0.5 && l <= 2 && l >= -2) ? "met" : "**missed**"}')
    row "(b) tick period at $period ms ($(field intervals <<<" $line") intervals)" \
        "mean $mean ms ($off %), 99th percentile $p99 ms ($late ms off), range $(field min_ms <<<" $line")–$(field max_ms <<<" $line") ms" \
        "mean ± 0.5 %, p99 ± 2 ms" "$ok"
done

# --- (c) Processor time and peak memory over play ------------------------------------
clock_ticks=$(getconf CLK_TCK)
settings() { # settings MUSIC ZOOM: the switches and the zoom only; the table is the first run's
    mkdir -p "$work/config/Tolp"
    printf '[General]\nSound=0\nMusic=%s\nZoom=%s\n' "$1" "$2" >"$work/config/Tolp/Ruvo.conf"
}
game_window() {
    local w
    for _ in $(seq 200); do
        w=$(xdotool search --onlyvisible --name '^Ruvo Zelp! for Windows 95$' 2>/dev/null | head -n1)
        [ -n "$w" ] && { echo "$w"; return 0; }
        sleep 0.05
    done
    return 1
}
close_game() { # Game > Exit, and the status it ends with
    xdotool windowfocus --sync "$1" 2>/dev/null && xdotool key alt+g && sleep 0.3 && xdotool key x
    for _ in $(seq 100); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
    local status=0
    wait "$game_pid" || status=$?
    game_pid=
    return $status
}
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
share() { awk -v d="$1" -v hz="$clock_ticks" -v s="$seconds" 'BEGIN {printf "%.2f", d / hz / s * 100}'; } # share TICKS: % of a core
# The music really plays when the switch is on: a few seconds of the title with
# the device writing to a file, then that file holds sound, or only silence.
music_heard() { # music_heard MUSIC: exits 0 when the output holds a non-zero sample
    settings "$1" 1
    SDL_DISKAUDIOFILE=$work/audio.raw "$bin/ruvo" >/dev/null 2>&1 &
    game_pid=$!
    local w
    w=$(game_window) || return 2
    sleep 3
    close_game "$w" || return 2
    [ -n "$(tr -d '\0' <"$work/audio.raw" | head -c 1)" ]
}
for music in 0 1; do
    heard=no
    music_heard "$music" && heard=yes
    label=$([ "$music" -eq 1 ] && echo on || echo off)
    limit=$([ "$music" -eq 1 ] && echo 3 || echo 0.5)
    # With the music off the synthesiser never loads its soundfont.
    memory=$([ "$music" -eq 1 ] && echo 60 || echo 45)
    cpus=() servers=() peaks=() notes=() cpu_ok=met peak_ok=met
    for zoom in 1 3; do
        settings "$music" "$zoom"
        "$bin/ruvo" >/dev/null 2>&1 &
        game_pid=$!
        w=$(game_window) || { echo "bench: the game window did not open" >&2; exit 1; }
        width=$(xwininfo -id "$w" | awk '/Width:/ {print $2}')
        xdotool windowfocus --sync "$w" && xdotool key F2
        sleep 1
        before=$(cpu_ticks "$game_pid") server_before=$(cpu_ticks "$xvfb_pid")
        sleep "$seconds"
        after=$(cpu_ticks "$game_pid") server_after=$(cpu_ticks "$xvfb_pid")
        peak_kb=$(awk '/^VmHWM:/ {print $2}' "/proc/$game_pid/status")
        status=0
        close_game "$w" || status=$?
        cpu=$(share $((after - before)))
        peak=$(awk -v k="$peak_kb" 'BEGIN {printf "%.1f", k / 1024}')
        cpus+=("${zoom}x: $cpu %")
        servers+=("$(share $((server_after - server_before))) %")
        peaks+=("${zoom}x: $peak MB")
        notes+=("${zoom}x ${width} px wide, exit status $status")
        [ "$(verdict "$cpu" "<=" "$limit")" = met ] || cpu_ok="**missed**"
        [ "$(verdict "$peak" "<=" "$memory")" = met ] || peak_ok="**missed**"
    done
    row "(c) processor, music $label (music heard: $heard; ${notes[0]}; ${notes[1]})" \
        "${cpus[0]} / ${cpus[1]} of one core over $seconds s (the X server: ${servers[0]} / ${servers[1]})" \
        "≤ $limit %" "$cpu_ok"
    row "(c) peak memory (VmHWM), music $label" "${peaks[0]} / ${peaks[1]}" "≤ $memory MB" "$peak_ok"
done

# --- (d) Start to first painted frame ---------------------------------------------------
rm -f "$work/config/Tolp/Ruvo.conf"
for run in $(seq 10); do
    # A start that shows no frame or does not end with status 0 leaves out its line.
    line=$("$bin/ruvo-first-frame" "$bin/ruvo" 2>/dev/null) && field first_frame_ms <<<" $line"
done >"$work/first"
[ "$(wc -l <"$work/first")" -eq 10 ] || { echo "bench: a first-frame run failed" >&2; exit 1; }
first=$(median <"$work/first")
worst=$(sort -g "$work/first" | tail -n1)
row "(d) start to first painted frame (10 starts)" "median $first ms, slowest $worst ms" "≤ 300 ms" \
    "$(verdict "$worst" "<=" 300)"

# --- The table ------------------------------------------------------------------------------
{
    echo "Ruvo benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git rev-parse --short HEAD 2>/dev/null || echo unknown)"
    echo "Machine: $(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo), $(nproc) cores, $(awk '/^MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo), $(uname -sr); load average at the end $(cut -d' ' -f1-3 /proc/loadavg)"
    echo
    echo "| What | Result | Target | |"
    echo "|---|---|---|---|"
    printf '%s\n' "${rows[@]}"
} | tee "$dir/bench-results.md"
