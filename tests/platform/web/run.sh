#!/usr/bin/env bash
# Runs the browser tests on the tests' build of the site (BUILD/test-site) in
# each browser engine: tests/platform/web/run.sh BUILD_WEB_DIR [ENGINE...] (chromium
# firefox webkit when none is named). Installs the drivers as pinned into the
# build folder, starts an X server of its own for WebKit's MiniBrowser, runs
# page_test.mjs and replay_test.mjs once per engine (RUVO_SIM: the native
# ruvo-sim that verifies the page's replays), and ends with one line per engine.
# SPDX-License-Identifier: MIT
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run.sh BUILD_WEB_DIR [ENGINE...]}" && pwd)
shift
[ $# -gt 0 ] || set -- chromium firefox webkit
# The tests read the game through its probe, which the shipped module must not carry.
node -e 'const probed = (site) => WebAssembly.Module.exports(new WebAssembly.Module(require("fs").readFileSync(
    `${process.argv[1]}/${site}/ruvo.wasm`))).some((e) => e.name === "ruvo_probe");
if (probed("site") || !probed("test-site")) throw new Error("ruvo_probe must be in test-site only");' "$build"

modules=$build/web-tests
mkdir -p "$modules"
if ! cmp -s "$here/package-lock.json" "$modules/package-lock.json" || [ ! -d "$modules/node_modules/selenium-webdriver" ]; then
    cp "$here/package.json" "$here/package-lock.json" "$modules/"
    npm ci --prefix "$modules" --ignore-scripts --no-audit --no-fund --loglevel=error
fi

# A scratch folder (and the home, settings and runtime folders in it where
# Firefox and the MiniBrowser keep their profiles and caches), gone at exit
# with the X server.
source "$here/../../support/script_checks.sh"
# A screen large enough for a phone held upright at three device pixels to
# the CSS pixel (WebKit takes its scale from the display).
if [[ " $* " == *" webkit "* ]]; then
    start_xvfb 2600x2600x24 || { echo "run.sh: Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }
fi

summary=() failed=0
for engine in "$@"; do
    status=0
    for suite in page_test replay_test; do
        RUVO_WEB_MODULES=$modules/node_modules node --test-reporter=tap "$here/$suite.mjs" "$engine" "$build/test-site" \
            >>"$work/$engine.log" 2>&1 || status=$?
    done
    cat "$work/$engine.log"
    [ "$status" -eq 0 ] || failed=1
    summary+=("$engine: $(grep -E '^# (pass|fail|skipped) ' "$work/$engine.log" | cut -c3- | tr '\n' ' ')exit status $status")
done
printf '%s\n' "${summary[@]}"
# ./build.sh test ends with these lines, gathered from every suite.
[ -z "${RUVO_TEST_SUMMARY:-}" ] || printf 'browser %s\n' "${summary[@]}" >>"$RUVO_TEST_SUMMARY"
exit $failed
