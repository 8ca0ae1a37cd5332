#!/usr/bin/env bash
# Runs the browser tests on a built site: tests/web/run.sh BUILD_WEB_DIR.
# Installs the test driver (playwright-core, as pinned) into the build folder,
# serves BUILD_WEB_DIR/site from localhost on a free port and drives Debian's
# Chromium, headless. Exits non-zero when a test fails.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run.sh BUILD_WEB_DIR}" && pwd)
site=$build/site
[ -f "$site/index.html" ] || { echo "run.sh: no site in $site" >&2; exit 1; }
chromium=${CHROMIUM:-$(command -v chromium || true)}
[ -n "$chromium" ] || { echo "run.sh: chromium is not installed" >&2; exit 1; }

modules=$build/web-tests
mkdir -p "$modules"
if ! cmp -s "$here/package-lock.json" "$modules/package-lock.json" || [ ! -d "$modules/node_modules/playwright-core" ]; then
    cp "$here/package.json" "$here/package-lock.json" "$modules/"
    npm ci --prefix "$modules" --ignore-scripts --no-audit --no-fund --loglevel=error
fi

address_file=$(mktemp)
node "$here/serve.mjs" "$site" 0 >"$address_file" &
server=$!
trap 'kill $server 2>/dev/null; rm -f "$address_file"' EXIT
for _ in $(seq 50); do
    [ -s "$address_file" ] && break
    sleep 0.1
done
url=$(head -n1 "$address_file")
[ -n "$url" ] || { echo "run.sh: the server did not start" >&2; exit 1; }

RUVO_WEB_MODULES=$modules/node_modules node "$here/page_test.mjs" "$url" "$chromium"
