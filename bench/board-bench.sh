#!/usr/bin/env bash
# The board under load (a benchmark, not a test: nothing depends on a time).
# Builds ruvo-board and ruvo-board-bench in build-bench/ (RelWithDebInfo),
# then, over SQLite and over a PostgreSQL server of its own in a temporary
# folder, measures: verified submissions of a ten-minute game a second and a
# processor second of the board's, from one client; the submissions' median
# and 99th percentile times with 200 clients at once on loopback; the first
# page's times, as JSON and as the page, over a board of 1,000,000 games; and
# the board's peak memory. Prints one table, also written to
# build-bench/board-bench-results.md. Only 127.0.0.1 is sent to, and every
# step ends by itself.
# Usage: bench/board-bench.sh [SUBMISSIONS]   (2,000 when not given)
# SPDX-License-Identifier: MIT
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
count=${1:-2000}

./build.sh packages packages/play.txt packages/board.txt
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRUVO_BOARD=ON >/dev/null
cmake --build build-bench -j 2 --target ruvo-board ruvo-board-bench >/dev/null
bin=$root/build-bench/bin

work=$(mktemp -d)
chmod 755 "$work"
board_pid=
pg_bin=
as_owner=()
cleanup() {
    [ -n "$board_pid" ] && kill "$board_pid" 2>/dev/null
    [ -n "$pg_bin" ] && "${as_owner[@]}" "$pg_bin/pg_ctl" -D "$work/pg/data" -m fast -w stop >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT
value() { sed -n "s/^$1=//p"; } # value KEY < key=value lines
rows=()
row() { rows+=("| $1 | $2 | $3 |"); } # row WHAT RESULT TARGET

start_board() { # start_board DATABASE: a board with nothing in the way of the work
    "$bin/ruvo-board" --listen 127.0.0.1:0 --database "$1" --pace 0 --rate 0 >"$work/board.out" 2>/dev/null &
    board_pid=$!
    for _ in $(seq 600); do
        grep -q listening "$work/board.out" 2>/dev/null && break
        sleep 0.05
    done
    url=$(sed -n 's|.*listening on \(http://[^/]*\)/$|\1|p' "$work/board.out")
    [ -n "$url" ] || { echo "board-bench: ruvo-board did not start" >&2; exit 1; }
}
stop_board() {
    kill "$board_pid"
    wait "$board_pid" || true
    board_pid=
}

# PostgreSQL as Debian ships it, in the work folder, reached by its socket
# there; as nobody when this runs as root, which PostgreSQL refuses.
pg_bin=$(ls -d /usr/lib/postgresql/*/bin | sort -t/ -k4 -n | tail -n1)
mkdir -p "$work/pg"
if [ "$(id -u)" -eq 0 ]; then
    chown nobody:nogroup "$work/pg"
    as_owner=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
(cd "$work/pg" && "${as_owner[@]}" "$pg_bin/initdb" -D "$work/pg/data" -A trust -U ruvo >/dev/null)
(cd "$work/pg" && "${as_owner[@]}" "$pg_bin/pg_ctl" -D "$work/pg/data" -l "$work/pg/log" -w \
    -o "-c listen_addresses='' -k $work/pg -c max_connections=200" start >/dev/null)
psql() { "$pg_bin/psql" -h "$work/pg" -U ruvo -q "$@"; }

for store in sqlite postgresql; do
    case $store in
    sqlite)
        database=sqlite:$work/submit.sqlite
        rows_database=sqlite:$work/rows.sqlite
        ;;
    postgresql)
        psql -d postgres -c 'CREATE DATABASE submit' -c 'CREATE DATABASE rows'
        database="postgresql://ruvo@/submit?host=$work/pg"
        rows_database="postgresql://ruvo@/rows?host=$work/pg"
        ;;
    esac
    start_board "$database"
    "$bin/ruvo-board-bench" "$url" "$board_pid" submit "$((count / 4))" 1 >"$work/one" 2>"$work/one.err"
    "$bin/ruvo-board-bench" "$url" "$board_pid" submit "$count" 200 >"$work/many" 2>"$work/many.err"
    stop_board
    ticks=$(value game_ticks <"$work/one")
    row "$store: verified submissions of one client (a game of $ticks ticks, $((ticks * 80 / 60000)) minutes)" \
        "$(value submissions_per_second <"$work/one")/s; $(value submissions_per_processor_second <"$work/one") per processor second of the board's; $(value accepted <"$work/one") of $(value submissions <"$work/one") accepted" \
        "≥ 100 per processor second"
    row "$store: $(value submissions <"$work/many") submissions from 200 clients at once" \
        "median $(value p50_ms <"$work/many") ms, 99th percentile $(value p99_ms <"$work/many") ms; $(value submissions_per_second <"$work/many")/s; peak memory $(($(value peak_rss_kb <"$work/many") / 1024)) MiB" \
        "p99 ≤ 250 ms"

    # A board of a million games: the schema made by the board, the rows
    # written straight into the database.
    start_board "$rows_database"
    stop_board
    insert="INSERT INTO tokens (token, start, day, issued_ms) SELECT 'bench' || n, '', '', 0 FROM series;
            INSERT INTO replays (token, name, score, round, ticks, accepted, day, body)
            SELECT 'bench' || n, 'player ' || n, (n * 7919) % 1000003, 1 + n % 20, 1000 + n % 5000,
                   '2026-12-09T12:00:00Z', '', 'ruvo-replay 1' FROM series;"
    case $store in
    sqlite)
        sqlite3 "$work/rows.sqlite" "CREATE TEMP VIEW series AS WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 1000000) SELECT n FROM s; $insert"
        ;;
    postgresql)
        psql -d rows -c "CREATE TEMP VIEW series AS SELECT n FROM generate_series(1::BIGINT, 1000000) AS n; $insert ANALYZE;"
        ;;
    esac
    start_board "$rows_database"
    "$bin/ruvo-board-bench" "$url" "$board_pid" pages 1000 >"$work/pages"
    stop_board
    row "$store: the first page over 1,000,000 games, 1,000 requests" \
        "JSON (10 rows): median $(value api_p50_ms <"$work/pages") ms, p99 $(value api_p99_ms <"$work/pages") ms; the page (100 rows): median $(value page_p50_ms <"$work/pages") ms, p99 $(value page_p99_ms <"$work/pages") ms; peak memory $(($(value peak_rss_kb <"$work/pages") / 1024)) MiB" \
        "p99 ≤ 10 ms"
done

{
    echo "| What | Result | Aim |"
    echo "|---|---|---|"
    printf '%s\n' "${rows[@]}"
} | tee build-bench/board-bench-results.md
