#!/usr/bin/env bash
# Sets up a Debian 13 or Debian 12 machine for Ruvo, builds it, and then either
# starts the game (./build.sh play: only the game and its data are built),
# builds everything and runs every test (./build.sh test), or serves the game
# in the browser (./build.sh web: http://127.0.0.1:8080/, or the port in
# RUVO_WEB_PORT), or builds the Windows programs, zips and installers
# (./build.sh windows: in build-windows/ the players' installer and the
# 32-bit programs, in build-windows/x64/ the 64-bit ones), or starts a
# high-score board with the page beside it (./build.sh board:
# http://127.0.0.1:8088/board, or the address in RUVO_BOARD_LISTEN).
# Each command first installs what it needs and is missing: play the list
# packages/play.txt, web, windows and board theirs besides (board web's too),
# test all of them (and Wine's 32-bit half where it can).
# ./build.sh packages [LIST...] only installs what is missing from the lists
# (all of packages/ when none is named); bench.sh and soak.sh use it.
# SPDX-License-Identifier: MIT
set -euo pipefail
cd "$(dirname "$0")"
mode=${1:-play}

# apt-get update, tried three times: a mirror in the middle of a sync serves
# lists that do not match their index for a while.
apt_update() { # apt_update SUDO...
    local try
    for try in 1 2 3; do
        "$@" apt-get update && return 0
        [ $try -lt 3 ] && sleep $((try * 15))
    done
    return 1
}

install_missing_packages() { # install_missing_packages LIST...
    local missing=() package
    for package in $(cat "$@" | grep -v '^#'); do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    apt_update "${sudo[@]}"
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

# Wine's 32-bit half, for the tests of the 32-bit Windows programs (test
# mode): the i386 architecture and wine32:i386, where this machine runs
# 32-bit x86 code (a tiny static i686 program tells) and apt would remove
# nothing for them. On Debian 12, jack1's headers (libjack-dev, which
# libfluidsynth-dev brings where nothing else is named) and wine32's i386
# libraries cannot be installed together, and apt would remove them with the
# SDL and FluidSynth headers: there, where no jack headers are in yet, jack2's
# (libjack-jackd2-dev, which serve libfluidsynth-dev as well) come with the
# first install. Debian 13 (Wine 10) has the same two halves and no such
# conflict. Where wine32 stays out, tests/platform/windows/run.sh says so and goes on.
wine32_companions() { # the packages to name with the project's list
    grep -q '^12' /etc/debian_version 2>/dev/null || return 0
    dpkg-query -W -f='${Status}' libjack-dev 2>/dev/null | grep -q 'install ok installed' && return 0
    echo libjack-jackd2-dev
}
install_wine32() {
    dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' && return 0
    printf 'int main(void) { return 0; }\n' >/tmp/ruvo-tiny-$$.c
    if ! { i686-linux-gnu-gcc -static -o /tmp/ruvo-tiny-$$ /tmp/ruvo-tiny-$$.c && /tmp/ruvo-tiny-$$; } 2>/dev/null; then
        rm -f /tmp/ruvo-tiny-$$ /tmp/ruvo-tiny-$$.c
        echo "wine32:i386 left out: this machine does not run 32-bit x86 code"
        return 0
    fi
    rm -f /tmp/ruvo-tiny-$$ /tmp/ruvo-tiny-$$.c
    local sudo=() removed
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    dpkg --print-foreign-architectures | grep -qx i386 || "${sudo[@]}" dpkg --add-architecture i386
    # A mirror that cannot give the i386 lists leaves Wine's 32-bit half out,
    # and the architecture too, so that later updates do not fail on it.
    if ! apt_update "${sudo[@]}"; then
        dpkg-query -W -f='${Package}:${Architecture}\n' 2>/dev/null | grep -q ':i386$' ||
            { "${sudo[@]}" dpkg --remove-architecture i386 && "${sudo[@]}" apt-get update >/dev/null 2>&1; }
        echo "wine32:i386 left out: apt could not fetch the i386 package lists"
        return 0
    fi
    local plan
    if ! plan=$(apt-get -s install --no-install-recommends wine32:i386 2>&1); then
        echo "wine32:i386 left out: apt cannot install it here ($(grep -m1 '^E:' <<<"$plan"))"
        return 0
    fi
    removed=$(sed -n 's/^Remv \([^ ]*\).*/\1/p' <<<"$plan" | tr '\n' ' ')
    if [ -n "$removed" ]; then
        echo "wine32:i386 left out: apt would remove ${removed% } to install it"
        return 0
    fi
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends wine32:i386
}

jobs=$(nproc)
# Where ccache is installed, the compilers go through it: a machine that
# builds the tree again and again (a developer's) rebuilds only what changed.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
build() { # build DIR [--target NAME...] [cmake options...]
    local dir=$1 targets=()
    shift
    while [ "${1:-}" = --target ]; do
        targets+=(--target "$2")
        shift 2
    done
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
    cmake --build "$dir" -j "$jobs" "${targets[@]}"
}

# The WebAssembly build in build-web: the generators that run during the
# build are built for this machine first (build-web/host), then the engine,
# ruvo-sim and the site (build-web/site) for WebAssembly.
build_web() {
    # Debian's nodejs has npm in a package of its own; another nodejs brings its own.
    command -v npm >/dev/null || install_missing_packages <(echo npm)
    cmake -S . -B build-web/host -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" -DRUVO_ENGINE_ONLY=ON -DBUILD_TESTING=OFF >/dev/null
    cmake --build build-web/host -j "$jobs" --target mkresources mksounds mkmusic
    # MinSizeRel: built for size (-Os), with no debugging information; the
    # game's module is most of what the page fetches before its first frame.
    build build-web -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake -DRUVO_WEB=ON \
        -DRUVO_HOST_TOOLS="$PWD/build-web/host/bin"
}

# The Windows builds in build-windows/x64 (x86_64) and build-windows (i686,
# with the players' installer, which carries both programs), with the
# generators built for this machine first (build-windows/host).
build_windows() {
    cmake -S . -B build-windows/host -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" -DRUVO_ENGINE_ONLY=ON -DBUILD_TESTING=OFF >/dev/null
    cmake --build build-windows/host -j "$jobs" --target mkresources mksounds mkmusic
    local arch dir
    for arch in x86_64 i686; do
        dir=build-windows
        [ "$arch" = x86_64 ] && dir=build-windows/x64
        # Release: the shipped programs carry no debugging information.
        build "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
            -DRUVO_WINDOWS_ARCH="$arch" -DRUVO_WINDOWS=ON -DRUVO_HOST_TOOLS="$PWD/build-windows/host/bin" \
            -DRUVO_WINDOWS_X64_STAGE="$PWD/build-windows/x64/package/Ruvo"
    done
}

# The engine, its tests and ruvo-sim for 32-bit Linux (i686), run under qemu-i386.
build_i686() {
    build build-i686 -DCMAKE_TOOLCHAIN_FILE=cmake/i686-linux.cmake -DRUVO_ENGINE_ONLY=ON
}

if [ "$mode" = packages ]; then
    shift
    [ $# -eq 0 ] && set -- packages/*.txt
    install_missing_packages "$@"
    exit 0
fi
lists=(packages/play.txt)
case "$mode" in
test) lists+=(packages/test.txt packages/web.txt packages/windows.txt packages/board.txt) ;;
web | windows) lists+=("packages/$mode.txt") ;;
board) lists+=(packages/web.txt packages/board.txt) ;;
esac
if [ "$mode" = test ]; then
    install_missing_packages "${lists[@]}" <(wine32_companions)
    install_wine32
else
    install_missing_packages "${lists[@]}"
fi
case "$mode" in
play)
    # The game brings its music with it; the help file is copied at configure
    # time. Without the tests, which need packages of the test list.
    build build --target ruvo -DBUILD_TESTING=OFF -DRUVO_BOARD=OFF
    exec ./build/bin/ruvo
    ;;
test)
    build build -DBUILD_TESTING=ON -DRUVO_BOARD=ON
    # The layout, the docs' links and unused functions first: they need no
    # other build.
    ctest --test-dir build --output-on-failure -L '^format$' --no-tests=error
    # The other editions, whose tests the desktop build lists and runs by label.
    build build-sanitize -DRUVO_SANITIZE=ON -DRUVO_ENGINE_ONLY=OFF
    build build-fuzz --target settings_fuzz --target replay_fuzz --target board_fuzz -DCMAKE_CXX_COMPILER=clang++ \
        -DRUVO_FUZZ=ON -DRUVO_BOARD=ON
    build build-tsan --target ruvo_threads_tests -DRUVO_ENGINE_ONLY=ON -DRUVO_TSAN=ON
    build_web
    build_windows
    build_i686
    # The tests set up their own surroundings (locale, display, audio driver,
    # settings and runtime folders): nothing is exported for them here but
    # the file the browser and Windows suites add their one-line results to.
    export RUVO_TEST_SUMMARY=$PWD/build/test-summary.txt
    : >"$RUVO_TEST_SUMMARY"
    status=0
    for label in unit window audio soak-short fuzz browser wine qemu board; do
        echo "== ctest -L $label"
        ctest --test-dir build --output-on-failure -j "$jobs" -L "^$label\$" --no-tests=error 2>&1 |
            tee "build/ctest-$label.log" || status=1
        printf '%s: %s\n' "$label" "$(grep -E 'tests passed|tests failed' "build/ctest-$label.log" | tail -n1)" >>build/test-labels.txt
    done
    cat build/test-labels.txt "$RUVO_TEST_SUMMARY"
    rm -f build/test-labels.txt
    exit $status
    ;;
web)
    build_web
    exec python3 tools/serve_site.py build-web/site "${RUVO_WEB_PORT:-8080}"
    ;;
windows)
    build_windows
    ls -1 build-windows/*-setup.exe build-windows/*.zip build-windows/x64/*.zip
    ;;
board)
    build_web
    build build --target ruvo-board -DRUVO_BOARD=ON
    exec ./build/bin/ruvo-board --listen "${RUVO_BOARD_LISTEN:-127.0.0.1:8088}" --site build-web/site
    ;;
*)
    echo "usage: ./build.sh play|test|web|windows|board|packages [LIST...]" >&2
    exit 2
    ;;
esac
