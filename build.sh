#!/usr/bin/env bash
# Sets up a Debian 13 or Debian 12 machine for Ruvo, builds it, and then either
# starts the game (./build.sh play: only the game and its data are built) or
# builds everything and runs every test (./build.sh test).
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
    build build
    # The engine's tests and a soak of ruvo-sim under the sanitizers (the
    # sanitized build leaves out the window's tests and the installation).
    build build-sanitize -DRUVO_SANITIZE=ON -DRUVO_ENGINE_ONLY=OFF
    # The tests set up their own surroundings (locale, display, audio driver,
    # settings and runtime folders): nothing is exported for them here.
    ctest --test-dir build --output-on-failure -j "$jobs"
    ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
    ;;
*)
    echo "usage: ./build.sh play|test|packages [LIST...]" >&2
    exit 2
    ;;
esac
