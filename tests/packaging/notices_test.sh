#!/usr/bin/env bash
# Every file an edition ships is either Ruvo's own (the lists below) or named
# on a "Shipped:" line of THIRD_PARTY_NOTICES, every such line names a file
# the edition holds, and the edition carries the licence and the notices.
#
#   notices_test.sh                      the tree: the notices' entries are
#                                        whole, and name the parts the
#                                        page's build takes from others
#   notices_test.sh deb PACKAGE...       the Debian packages (.deb, .ddeb)
#   notices_test.sh page SITE            the page's site folder (build-web/site)
#   notices_test.sh windows BUILD        the zips and installers of a Windows
#                                        build (build-windows, and its x64/)
# SPDX-License-Identifier: MIT
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
tree=$(cd "$here/../.." && pwd)
notices=$tree/THIRD_PARTY_NOTICES
source "$here/../support/script_checks.sh"

# Ruvo's own files in each edition, as patterns of paths.
own_deb=(usr/games/ruvo 'usr/share/ruvo/*.MID' usr/share/ruvo/RUVO.HLP
    usr/share/applications/org.tolp.Ruvo.desktop usr/share/metainfo/org.tolp.Ruvo.metainfo.xml
    usr/share/mime/packages/org.tolp.Ruvo.xml
    'usr/share/icons/hicolor/*/apps/org.tolp.Ruvo.png' usr/share/man/man6/ruvo.6.gz
    usr/share/doc/ruvo/copyright usr/share/doc/ruvo/changelog.gz
    'usr/lib/debug/.build-id/*/*.debug' usr/share/doc/ruvo-dbgsym
    usr/bin/ruvo-board usr/share/man/man8/ruvo-board.8.gz '*/systemd/system/ruvo-board.service'
    usr/share/doc/ruvo-board/copyright usr/share/doc/ruvo-board/changelog.gz usr/share/doc/ruvo-board-dbgsym)
own_page=(index.html ruvo.js ruvo.css ruvo.wasm sw.js manifest.webmanifest favicon.ico help.html licences.html
    'music/*.MID' 'icons/ruvo-*.png' 'images/*.png' LICENSE.txt THIRD_PARTY_NOTICES.txt)
own_windows=(ruvo.exe '*.MID' RUVO.RTF LICENSE.txt THIRD_PARTY_NOTICES.txt)

# The patterns THIRD_PARTY_NOTICES names for an edition.
named() { # named EDITION
    sed -n "s/^ *Shipped: *$1: *//p" "$notices" | tr ',' '\n' | sed 's/^ *//; s/ *$//' | grep -v '^$'
}
matches() { # matches PATH PATTERN...
    local path=$1 pattern
    shift
    for pattern in "$@"; do
        # shellcheck disable=SC2053
        [[ $path == $pattern ]] && return 0
    done
    return 1
}
# Each shipped file is accounted for (own_or_named); each named pattern is
# shipped (held); accounted checks both.
own_or_named() { # own_or_named EDITION LISTING (own patterns in own_EDITION)
    local edition=$1 listing=$2 file status=0
    local -n own=own_$edition
    local -a theirs
    mapfile -t theirs < <(named "$edition")
    while IFS= read -r file; do
        matches "$file" "${own[@]}" || matches "$file" "${theirs[@]}" ||
            { echo "  $file is neither Ruvo's own nor named in THIRD_PARTY_NOTICES"; status=1; }
    done <"$listing"
    return $status
}
held() { # held EDITION LISTING
    local edition=$1 listing=$2 file pattern status=0
    local -a theirs
    mapfile -t theirs < <(named "$edition")
    for pattern in "${theirs[@]}"; do
        grep -q . <(while IFS= read -r file; do matches "$file" "$pattern" && echo "$file"; done <"$listing") ||
            { echo "  THIRD_PARTY_NOTICES names $pattern, which the $edition edition does not hold"; status=1; }
    done
    return $status
}
accounted() {
    local status=0
    own_or_named "$@" || status=1
    held "$@" || status=1
    return $status
}

case ${1:-tree} in
tree)
    # Each numbered entry says what it is, its version, licence, copyright
    # holders, origin and place.
    entries() {
        awk '/^Licence texts$/{exit} /^[0-9]+\. /{if (n) print n": "f; n=$0; f=""} /^ *(Version|Licence|Copyright|Comes from|Shipped):/{
            sub(/^ */, ""); sub(/:.*/, ""); f=f $0 ";"} END{if (n) print n": "f}' "$notices"
    }
    whole() {
        local line status=0
        while IFS= read -r line; do
            [[ $line == *": Version;Licence;Copyright;Comes from;Shipped;"* ]] || { echo "  incomplete: $line"; status=1; }
        done < <(entries)
        [ -n "$(entries)" ] || { echo "  no entries"; status=1; }
        return $status
    }
    check "every entry of THIRD_PARTY_NOTICES has its version, licence, copyright, origin and place" whole
    # What the page's build takes from others (platform/web/CMakeLists.txt):
    # the synthesizer's files, the cut faces and the soundfont.
    web=$tree/platform/web/CMakeLists.txt
    taken=$(sed -n 's|^ *\${RUVO_SYNTH_DIR}/.*/\([^/ )]*\.js\).*|synth/\1|p' "$web"
        sed -nE 's#.*"[^"|]*\|[^"|]*\|([^"|]*\.ttf)\|.*#fonts/\1#p' "$web"
        sed -n 's|^set(RUVO_WEB_SOUNDFONT .*/\([^/)]*\))|\1|p' "$web")
    listed() {
        local file status=0
        [ "$(wc -l <<<"$taken")" -ge 6 ] || { echo "  platform/web/CMakeLists.txt read wrongly: $taken"; return 1; }
        for file in $taken; do
            named page | grep -qxF "$file" || { echo "  the page ships $file, which THIRD_PARTY_NOTICES does not name"; status=1; }
        done
        return $status
    }
    check "THIRD_PARTY_NOTICES names the synthesizer's files, the cut faces and the soundfont the page ships" listed
    pinned=$(sed -n '/"node_modules\/js-synthesizer"/,/}/s/.*"version": "\(.*\)".*/\1/p' "$tree/platform/web/package-lock.json")
    check "THIRD_PARTY_NOTICES names js-synthesizer $pinned, as package-lock.json pins it" \
        grep -q "^ *Version: *$pinned (npm" "$notices"
    check "LICENSE is the MIT licence of the Ruvo developers" \
        bash -c "head -n1 '$tree/LICENSE' | grep -qx 'MIT License' && grep -qx 'Copyright (c) 2026 The Ruvo developers' '$tree/LICENSE'"
    ;;
deb)
    shift
    listing=$work/deb.txt
    for package in "$@"; do
        dpkg-deb --fsys-tarfile "$package" | tar -t | sed 's|^\./||' | grep -v '/$' | grep -v '^$'
    done >"$listing"
    check "the packages hold files" test -s "$listing"
    check "every file of the packages is accounted for" accounted deb "$listing"
    copyright() {
        local package
        for package in "$@"; do
            [ "$(dpkg-deb -f "$package" Package)" = ruvo ] || continue
            dpkg-deb --fsys-tarfile "$package" | tar -xO ./usr/share/doc/ruvo/copyright | cmp -s - "$tree/packaging/debian/copyright" ||
                return 1
        done
    }
    check "the package's copyright file is packaging/debian/copyright" copyright "$@"
    ;;
page)
    site=$(cd "${2:?usage: notices_test.sh page SITE}" && pwd)
    listing=$work/page.txt
    (cd "$site" && find . -type f -o -type l) | sed 's|^\./||' | sort >"$listing"
    check "the site holds files" test -s "$listing"
    check "every file of the site is accounted for" accounted page "$listing"
    check "the site carries the tree's LICENSE" cmp -s "$site/LICENSE.txt" "$tree/LICENSE"
    check "the site carries the tree's THIRD_PARTY_NOTICES" cmp -s "$site/THIRD_PARTY_NOTICES.txt" "$notices"
    ;;
windows)
    build=$(cd "${2:?usage: notices_test.sh windows BUILD}" && pwd)
    shopt -s nullglob
    zips=("$build"/*.zip "$build"/x64/*.zip)
    check "the build holds zips" test ${#zips[@]} -gt 0
    for zip in "${zips[@]}"; do
        name=$(basename "$zip")
        listing=$work/$name.txt
        mkdir -p "$work/$name"
        (cd "$work/$name" && cmake -E tar xf "$zip") && (cd "$work/$name/Ruvo" && find . -type f) | sed 's|^\./||' | sort >"$listing"
        check "$name holds files in its Ruvo folder" test -s "$listing"
        # The installers install what the zip holds, and are NSIS's own work besides.
        for setup in "$(dirname "$zip")"/*-setup.exe; do [ -f "$setup" ] && basename "$setup"; done >>"$listing"
        check "every file of $name and its installer is accounted for" own_or_named windows "$listing"
        check "$name carries the tree's LICENSE" cmp -s "$work/$name/Ruvo/LICENSE.txt" "$tree/LICENSE"
        check "$name carries the tree's THIRD_PARTY_NOTICES" cmp -s "$work/$name/Ruvo/THIRD_PARTY_NOTICES.txt" "$notices"
    done
    # The players' installer lies beside the i686 zip only: what the notices
    # name is looked for among all the build's zips and installers together.
    for zip in "${zips[@]}"; do cat "$work/$(basename "$zip").txt"; done >"$work/windows.txt"
    check "everything THIRD_PARTY_NOTICES names for Windows is in the zips or the installer" held windows "$work/windows.txt"
    ;;
*)
    echo "usage: notices_test.sh [deb PACKAGE...|page SITE|windows BUILD]" >&2
    exit 2
    ;;
esac
report
