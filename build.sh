#!/usr/bin/env bash
# Sets up a Debian 13 or Debian 12 machine for Ruvo, builds it, and then either
# starts the game (./build.sh play: only the game and its data are built),
# builds everything and runs every test (./build.sh test), or serves the game
# in the browser (./build.sh web: http://127.0.0.1:8080/, or the port in
# RUVO_WEB_PORT), or builds the Windows programs, zips and installers
# (./build.sh windows: in build-windows/, the 32-bit ones, and in
# build-windows/x64/ the 64-bit ones).
# ./build.sh packages [LIST...] only installs what is missing from the lists
# (debian-packages.txt when none is named); bench.sh and soak.sh use it.
set -euo pipefail
cd "$(dirname "$0")"
mode=${1:-play}

install_missing_packages() { # install_missing_packages LIST...
    local missing=() package
    for package in $(cat "$@" | grep -v '^#'); do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

jobs=$(nproc)
build() { # build DIR [--target NAME...] [cmake options...]
    local dir=$1 targets=()
    shift
    while [ "${1:-}" = --target ]; do
        targets+=(--target "$2")
        shift 2
    done
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j "$jobs" "${targets[@]}"
}

# The WebAssembly build in build-web: the generators that run during the
# build are built for this machine first (build-web/host), then the engine,
# ruvo-sim and the site (build-web/site) for WebAssembly.
build_web() {
    # Debian's nodejs has npm in a package of its own; another nodejs brings its own.
    command -v npm >/dev/null || install_missing_packages <(echo npm)
    cmake -S . -B build-web/host -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRUVO_ENGINE_ONLY=ON >/dev/null
    cmake --build build-web/host -j "$jobs" --target mkresources mksounds mkmusic
    # Release: debugging information would be most of what a page fetches.
    build build-web -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake -DRUVO_WEB=ON \
        -DRUVO_HOST_TOOLS="$PWD/build-web/host/bin"
}

# The Windows builds in build-windows (i686, the shipped program) and
# build-windows/x64 (x86_64, which Wine runs here for the tests), with the
# generators built for this machine first (build-windows/host).
build_windows() {
    cmake -S . -B build-windows/host -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRUVO_ENGINE_ONLY=ON >/dev/null
    cmake --build build-windows/host -j "$jobs" --target mkresources mksounds mkmusic
    local arch dir
    for arch in i686 x86_64; do
        dir=build-windows
        [ "$arch" = x86_64 ] && dir=build-windows/x64
        # Release: the shipped programs carry no debugging information.
        build "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
            -DRUVO_WINDOWS_ARCH="$arch" -DRUVO_WINDOWS=ON -DRUVO_HOST_TOOLS="$PWD/build-windows/host/bin"
    done
}

# Every C++ file as clang-format 19 lays it out (the version Debian 12 and 13
# share: another version may break lines elsewhere). Lists the files that
# differ and fails.
check_format() {
    local file unformatted=()
    while IFS= read -r file; do
        clang-format-19 --style=file "$file" | cmp -s - "$file" || unformatted+=("$file")
    done < <(git ls-files -- '*.cpp' '*.h' 2>/dev/null || find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
    [ ${#unformatted[@]} -eq 0 ] && return
    printf 'not formatted (clang-format-19 -i FILE...):\n' >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    return 1
}

# The engine, its tests and ruvo-sim for 32-bit Linux (i686), run under qemu-i386.
build_i686() {
    build build-i686 -DCMAKE_TOOLCHAIN_FILE=cmake/i686-linux.cmake -DRUVO_ENGINE_ONLY=ON
}

if [ "$mode" = packages ]; then
    shift
    [ $# -eq 0 ] && set -- debian-packages.txt
    install_missing_packages "$@"
    exit 0
fi
install_missing_packages debian-packages.txt
case "$mode" in
play)
    # The game brings its music with it; the help file is copied at configure time.
    build build --target ruvo
    exec ./build/bin/ruvo
    ;;
test)
    check_format
    build build
    # The engine's tests and a soak of ruvo-sim under the sanitizers (the
    # sanitized build leaves out the window's tests and the installation).
    build build-sanitize -DRUVO_SANITIZE=ON -DRUVO_ENGINE_ONLY=OFF
    # The tests set up their own surroundings (locale, display, audio driver,
    # settings and runtime folders): nothing is exported for them here.
    ctest --test-dir build --output-on-failure -j "$jobs"
    ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
    # The settings file's and the replay file's fuzz targets, built with
    # clang, for a few seconds each (./soak.sh runs them for a minute).
    build build-fuzz --target settings_fuzz --target replay_fuzz -DCMAKE_CXX_COMPILER=clang++ -DRUVO_FUZZ=ON
    bash tests/soak/fuzz.sh build-fuzz 5
    # The WebAssembly ruvo-sim against the native one, then the page in a browser.
    build_web
    bash tests/sim/equality_test.sh build build-web
    bash tests/platform/web/run.sh build-web
    # The Windows programs (the 64-bit ones run under Wine) and the engine
    # for 32-bit Linux (under qemu-i386): their tests, ruvo-sim against the
    # native one, and the game driven on a virtual display.
    build_windows
    build_i686
    bash tests/platform/windows/run.sh build build-windows build-i686
    ;;
web)
    build_web
    exec python3 tools/serve_site.py build-web/site "${RUVO_WEB_PORT:-8080}"
    ;;
windows)
    build_windows
    ls -1 build-windows/*.zip build-windows/*-setup.exe build-windows/x64/*.zip build-windows/x64/*-setup.exe
    ;;
*)
    echo "usage: ./build.sh play|test|web|windows|packages [LIST...]" >&2
    exit 2
    ;;
esac
