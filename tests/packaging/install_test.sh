#!/usr/bin/env bash
# Installation and the Debian package.
#   install_test.sh BUILDDIR prefix: what `cmake --install` puts where, the
#     desktop entry, the AppStream data and the replay file's type as the
#     validators and the MIME database see them, and the installed game
#     finding its music and its help in its own prefix (not in the build
#     tree).
#   install_test.sh BUILDDIR package: the packages that Debian's tools build
#     from the tree (packaging/build-deb.sh), as lintian sees them (no error,
#     no warning), their files (the replay file's type registering as well),
#     control fields and debugging symbols, and the game unpacked from the
#     package, in /usr/games, finding its music and help in ../share/ruvo.
# SPDX-License-Identifier: MIT
set -uo pipefail
build=$(cd "${1:?usage: install_test.sh BUILDDIR prefix|package}" && pwd)
part=${2:?usage: install_test.sh BUILDDIR prefix|package}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
id=org.tolp.Ruvo
# The game's data: its four tracks of music and its help.
data=(A_013GMW.MID A_002GMW.MID A_004GMW.MID A_114GMW.MID RUVO.HLP)

[ -x "$build/bin/xclose" ] || { echo "FAIL: no $build/bin/xclose"; exit 1; }
source "$here/../support/script_checks.sh"
need_tools cmake dpkg-deb desktop-file-validate appstreamcli update-mime-database strace Xvfb xdotool objdump
[ "$part" = package ] && need_tools dpkg-buildpackage dh lintian readelf

# The program and the manual page, relative to the prefix (the .deb's is
# /usr, with the program in games/ rather than bin/, the page compressed).
program=bin/ruvo manual=share/man/man6/ruvo.6
[ "$part" = package ] && manual+=.gz
# Every file an installation holds is there and not empty, the program
# runnable, and an icon of each size, a PNG of the size its folder names.
all_present() { # all_present ROOT
    local file size header missing=0
    for file in "$program" "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
        "share/mime/packages/$id.xml" "${data[@]/#/share/ruvo/}" "$manual"; do
        [ -f "$1/$file" ] && [ -s "$1/$file" ] || { echo "  missing or empty: $1/$file"; missing=1; }
    done
    [ -x "$1/$program" ] || { echo "  not executable: $1/$program"; missing=1; }
    for size in 16 32 48 64 128; do
        header=$(od -An -tx1 -j16 -N8 "$1/share/icons/hicolor/${size}x$size/apps/$id.png" | tr -d ' \n')
        [ "$header" = "$(printf '%08x%08x' $size $size)" ] || { echo "  icon $size is not ${size}x$size"; missing=1; }
    done
    return $missing
}
# The desktop entry starts the installed program, with a replay file when it
# is given one, and names the installed icon; the AppStream data launches that
# entry; the replay type, once the installation's package is in a MIME
# database of the test's own, is known by its name and by its first line,
# under another name too.
integrated() { # integrated ROOT
    local entry="$1/share/applications/$id.desktop"
    grep -qx 'Exec=ruvo %f' "$entry" && grep -qx "Icon=$id" "$entry" &&
        grep -qx 'MimeType=application/x-ruvo-replay;' "$entry" &&
        grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$1/share/metainfo/$id.metainfo.xml" &&
        rm -rf "$work/mime" && cp -r "$1/share/mime" "$work/mime" && update-mime-database "$work/mime" >"$work/mime.log" 2>&1 &&
        grep -qx 'application/x-ruvo-replay:\*.ruvo-replay' <(cut -d: -f2- "$work/mime/globs2") &&
        grep -q 'ruvo-replay ' "$work/mime/magic" && grep -qx 'application/x-ruvo-replay text/plain' "$work/mime/subclasses"
}

# The command ends with status 0 and writes no line that PATTERN (when not
# empty) matches; otherwise the end of what it wrote is shown (lintian writes
# only the tags it fails on, a build far more).
quiet() { # quiet PATTERN COMMAND...
    "${@:2}" >"$work/said.log" 2>&1 && { [ -z "$1" ] || ! grep -qE "$1" "$work/said.log"; } ||
        { tail -n 40 "$work/said.log" | sed 's/^/  /'; return 1; }
}

# Every library the program itself links to (its NEEDED entries) comes from a
# package that the Depends line names, or that one of those depends on.
linked_libraries_covered() { # linked_libraries_covered PROGRAM DEPENDS
    local names='s/ ([^)]*)//g; s/:any//g; s/ *| */\n/g; s/, */\n/g' covered library path package status=0
    covered=$({ echo "$2"; dpkg-query -W -f='${Depends}\n' $(sed "$names" <<<"$2") 2>/dev/null; } | sed "$names" | sort -u)
    for library in $(objdump -p "$1" | awk '$1 == "NEEDED" {print $2}'); do
        path=$(ldd "$1" | awk -v l="$library" '$1 == l {print $3}')
        [ -n "$path" ] || { echo "  $library is not found on this machine"; status=1; continue; }
        package=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")" 2>/dev/null)
        package=$(head -n1 <<<"$package" | cut -d: -f1)
        case "$package" in libc6 | libgcc-s1 | libstdc++6) continue ;; esac
        grep -qx "$package" <<<"$covered" || { echo "  $library ($package) is in no dependency"; status=1; }
    done
    return $status
}

# --- The installed game finds its own data -----------------------------------
# Started from outside both trees, with an audio device that opens (the disk
# driver, writing to a scratch file) so that the music library loads the four
# tracks; F1 opens help.
reads_its_data() { # reads_its_data ROOT: the game installed in ROOT (a prefix)
    local root=$1 file
    start_xvfb 800x600x24 || { check "Xvfb starts: $(cat "$work/xvfb.log")" false; return; }
    mkdir -p "$work/cwd"
    (cd "$work/cwd" && exec env HOME="$work" QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" \
        strace -f -qq -e trace=openat -o "$work/openat.log" "$root/$program" >"$work/game.log" 2>&1) &
    game_pid=$!
    wait_for 20 find_game_window || { check "the installed game opens its window: $(cat "$work/game.log")" false; return; }
    xdotool windowfocus --sync "$WIN" && xdotool key F1
    check "F1 opens the help window" wait_for 10 eval '[ -n "$(xdotool search --onlyvisible --name "^Ruvo Help\$" 2>/dev/null)" ]'
    # Closed as the window manager closes it: the game saves and ends.
    "$build/bin/xclose" "$WIN"
    wait_game_exit 15
    check "the installed game ends with status 0 when closed (status: $game_status)" test "$game_status" = 0
    # Successful opens (a non-negative descriptor) of a path: the music
    # library's of the tracks, help's of RUVO.HLP.
    opened() { grep -F "\"$1\"" "$work/openat.log" | grep -Eq '= [0-9]+$'; }
    for file in "${data[@]}"; do
        check "the installed game reads $file from $root/share/ruvo" opened "$root/share/ruvo/$file"
    done
    check "nothing is read from the build tree" bash -c "! grep -F '\"$build/' '$work/openat.log' | grep -Eq '= [0-9]+\$'"
}

# --- cmake --install into a prefix of our own ---------------------------------
prefix_part() {
    local prefix=$work/prefix
    check "cmake --install succeeds" eval 'cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1'
    check "the installation holds every file, the icons of their sizes" all_present "$prefix"
    check "the desktop entry starts ruvo with a replay file and the installed icon; the replay's type registers" \
        integrated "$prefix"
    check "desktop-file-validate passes, saying nothing" quiet . desktop-file-validate "$prefix/share/applications/$id.desktop"
    # Pedantic: no error or warning. Its hints stay: the id's capitals (an
    # app's id is never renamed once shipped) and, before AppStream 1.0,
    # <developer>, which 1.0 asks for.
    check "appstreamcli validate --pedantic passes" \
        quiet '^[EW]:' appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml"
    # Its screenshots are the tree's (tools/screenshots.sh), which the homepage carries.
    local shots
    shots=$(grep -o 'https://tolp.org/ruvo/images/[a-z]*\.png' "$prefix/share/metainfo/$id.metainfo.xml" | sed 's|.*/||')
    check "the screenshots it names are in docs/images: $(echo $shots)" \
        eval "[ \$(wc -w <<<'$shots') -ge 4 ] && (cd '$here/../../docs/images' && ls $(echo $shots)) >/dev/null"
    reads_its_data "$prefix"
}

# --- The Debian packages --------------------------------------------------------
package_part() {
    local out=$work/packages deb ddeb board changes made version fields depends package
    check "packaging/build-deb.sh builds the packages" quiet '' "$here/../../packaging/build-deb.sh" "$out"
    read -r deb ddeb board changes < <(for made in 'ruvo_*.deb' 'ruvo-dbgsym_*deb' 'ruvo-board_*.deb' '*.changes'; do
        find "$out" -maxdepth 1 -name "$made" | head -n1
    done | tr '\n' ' ')
    [ -n "$changes" ] || { check "the build leaves ruvo, ruvo-dbgsym, ruvo-board and .changes" false; return; }

    # Lintian on everything the build made, with the tags it shows by default.
    check "lintian reports no error and no warning" quiet '' lintian --fail-on error,warning "$changes"
    bash "$here/notices_test.sh" deb $(find "$out" -maxdepth 1 -name '*.*deb') | sed 's/^/  notices: /'
    check "every file of the packages is Ruvo's own or in THIRD_PARTY_NOTICES" test "${PIPESTATUS[0]}" -eq 0

    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
    fields="$(dpkg-deb -f "$deb" Package Version Architecture Section | tr '\n' ' ')"
    check "ruvo $version for $(dpkg --print-architecture) in games: $fields" \
        test -n "$version" -a "$fields" = "Package: ruvo Version: $version Architecture: $(dpkg --print-architecture) Section: games "
    check "the description has more than its summary" bash -c "dpkg-deb -f '$deb' Description | sed -n '2,\$p' | grep -q ."
    depends=$(dpkg-deb -f "$deb" Depends)
    for package in libqt6widgets6 qt6-wayland libsdl2-mixer-2.0-0 fonts-liberation2 fonts-ipafont-gothic timgm6mb-soundfont; do
        check "Depends names $package" grep -Eq "(^|, )$package( |,|$)" <<<"$depends"
    done

    dpkg-deb -x "$deb" "$work/root"
    dpkg-deb -x "$ddeb" "$work/root"
    program=games/ruvo
    check "the package installs every file under /usr" all_present "$work/root/usr"
    check "the package's desktop entry opens replay files, whose type registers" integrated "$work/root/usr"
    check "Depends covers the libraries ruvo links to" linked_libraries_covered "$work/root/usr/games/ruvo" "$depends"
    # The program carries no debugging information; ruvo-dbgsym has it, under
    # the program's build id.
    check "usr/games/ruvo is stripped" bash -c "! objdump -h '$work/root/usr/games/ruvo' | grep -q '\.debug_info'"
    local build_id
    build_id=$(readelf -n "$work/root/usr/games/ruvo" | sed -n 's/.*Build ID: *//p')
    check "ruvo-dbgsym holds the debugging information of build id ${build_id:-(none)}" \
        test -n "$build_id" -a -s "$work/root/usr/lib/debug/.build-id/${build_id:0:2}/${build_id:2}.debug"
    reads_its_data "$work/root/usr"

    # The board: its program, run as its service runs it, by a user of its own.
    dpkg-deb -x "$board" "$work/board"
    local service
    service=$(find "$work/board" -path '*/systemd/system/ruvo-board.service')
    check "ruvo-board's package holds the program, its manual page and its service: on 127.0.0.1, as a user of its own" \
        eval 'test -x "$work/board/usr/bin/ruvo-board" -a -s "$work/board/usr/share/man/man8/ruvo-board.8.gz" -a -n "$service" &&
            grep -qx DynamicUser=yes "$service" && grep -q -- "--listen 127.0.0.1:" "$service"'
    check "the packaged ruvo-board answers --help" bash -c "'$work/board/usr/bin/ruvo-board' --help | grep -q -- --database"
}

case $part in
prefix) prefix_part ;;
package) package_part ;;
*) check "a part named prefix or package: $part" false ;;
esac
report
