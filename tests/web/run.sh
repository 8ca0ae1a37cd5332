#!/usr/bin/env bash
# Runs the browser tests on a built site in each browser engine:
#   tests/web/run.sh BUILD_WEB_DIR [ENGINE...]   (chromium firefox webkit when none is named)
# Installs the drivers (puppeteer-core and selenium-webdriver, as pinned) into
# the build folder, starts an X server of its own for WebKit's MiniBrowser
# (Chromium and Firefox run headless), and runs tests/web/page_test.mjs once
# per engine, each with a server of its own on a free port. Ends with one line
# per engine and exits non-zero when a test failed in any of them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run.sh BUILD_WEB_DIR [ENGINE...]}" && pwd)
shift
engines=("$@")
[ ${#engines[@]} -gt 0 ] || engines=(chromium firefox webkit)
[ -f "$build/test-site/index.html" ] || { echo "run.sh: no test site in $build/test-site" >&2; exit 1; }
# The tests read the game through its probe, which only the tests' module has.
node -e 'const exported = (d) => WebAssembly.Module.exports(new WebAssembly.Module(require("fs").readFileSync(
    `${process.argv[1]}/${d}/ruvo.wasm`))).some((e) => e.name === "ruvo_probe");
if (exported("site") || !exported("test-site")) { console.error("run.sh: ruvo_probe is in the shipped site"); process.exit(1); }' "$build"

modules=$build/web-tests
mkdir -p "$modules"
if ! cmp -s "$here/package-lock.json" "$modules/package-lock.json" || [ ! -d "$modules/node_modules/selenium-webdriver" ]; then
    cp "$here/package.json" "$here/package-lock.json" "$modules/"
    npm ci --prefix "$modules" --ignore-scripts --no-audit --no-fund --loglevel=error
fi

work=$(mktemp -d)
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
# A screen large enough for a phone held upright at three device pixels to
# the CSS pixel (WebKit takes its scale from the display).
if [[ " ${engines[*]} " == *" webkit "* ]]; then
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 2600x2600x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    exec 3>&-
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || { echo "run.sh: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$(cat "$work/display")"
fi
# Firefox and the MiniBrowser keep their profiles and caches here.
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache XDG_DATA_HOME=$work/data
export XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

count() { sed -n "s/^# $1 \([0-9]*\)$/\1/p" "$2" | tail -n1; } # count WHAT LOG: the runner's closing count
summary=()
failed=0
for engine in "${engines[@]}"; do
    start=$SECONDS
    status=0
    RUVO_WEB_MODULES=$modules/node_modules node --test-reporter=tap "$here/page_test.mjs" "$engine" "$build/test-site" \
        >"$work/$engine.log" 2>&1 || status=$?
    cat "$work/$engine.log"
    echo "run.sh: $engine took $((SECONDS - start)) s, exit status $status"
    passed=$(count pass "$work/$engine.log")
    failures=$(count fail "$work/$engine.log")
    [ "$status" -eq 0 ] && [ -n "$passed" ] || { failed=1; failures=$((${failures:-0} > 0 ? ${failures:-0} : 1)); }
    summary+=("$engine: ${passed:-0} passed, ${failures:-0} failed, $(count skipped "$work/$engine.log") skipped")
done
printf '%s\n' "${summary[@]}"
exit $failed
