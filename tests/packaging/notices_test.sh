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
# Each file of LISTING is Ruvo's own (own_EDITION) or named for EDITION, and
# each pattern named for EDITION matches a file of LISTING.
accounted() { # accounted EDITION LISTING
    local file pattern status=0
    local -n own=own_$1
    local -a theirs
    mapfile -t theirs < <(named "$1")
    [ -s "$2" ] || { echo "  the $1 edition holds no files"; return 1; }
    while IFS= read -r file; do
        matches "$file" "${own[@]}" "${theirs[@]}" ||
            { echo "  $file is neither Ruvo's own nor named in THIRD_PARTY_NOTICES"; status=1; }
    done <"$2"
    for pattern in "${theirs[@]}"; do
        while IFS= read -r file; do matches "$file" "$pattern" && continue 2; done <"$2"
        echo "  THIRD_PARTY_NOTICES names $pattern, which the $1 edition does not hold"
        status=1
    done
    return $status
}
# A folder of an edition carries the tree's licence and notices.
carries() { cmp -s "$1/LICENSE.txt" "$tree/LICENSE" && cmp -s "$1/THIRD_PARTY_NOTICES.txt" "$notices"; }

case ${1:-tree} in
tree)
    # Each numbered entry says what it is, its version, licence, copyright
    # holders, origin and place.
    whole() {
        awk 'function done() { if (n && index(f, "Version;Licence;Copyright;Comes from;Shipped;") != 1) { print "  incomplete: " n ": " f; bad = 1 } }
            /^Licence texts$/ {exit} /^[0-9]+\. / {done(); n = $0; f = ""; count++}
            /^ *(Version|Licence|Copyright|Comes from|Shipped):/ {sub(/^ */, ""); sub(/:.*/, ""); f = f $0 ";"}
            END {done(); if (!count) print "  no entries"; exit bad || !count}' "$notices"
    }
    check "every entry of THIRD_PARTY_NOTICES has its version, licence, copyright, origin and place" whole
    # What the page's build takes from others (platform/web/CMakeLists.txt):
    # the synthesizer's files, the cut faces and the soundfont.
    web=$tree/platform/web/CMakeLists.txt
    taken=$(sed -n 's|^ *\${RUVO_SYNTH_DIR}/.*/\([^/ )]*\.js\).*|synth/\1|p' "$web"
        sed -nE 's#.*"[^"|]*\|[^"|]*\|([^"|]*\.ttf)\|.*#fonts/\1#p' "$web"
        sed -n 's|^set(RUVO_WEB_SOUNDFONT .*/\([^/)]*\))|\1|p' "$web")
    listed() {
        [ "$(wc -l <<<"$taken")" -ge 6 ] || { echo "  platform/web/CMakeLists.txt read wrongly: $taken"; return 1; }
        ! comm -23 <(sort -u <<<"$taken") <(named page | sort -u) | sed 's/^/  THIRD_PARTY_NOTICES does not name /' | grep .
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
    # Unpacked together, as they install.
    for package in "$@"; do dpkg-deb -x "$package" "$work/deb"; done
    (cd "$work/deb" && find . -type f -o -type l) | sed 's|^\./||' >"$work/deb.txt"
    check "every file of the packages is accounted for" accounted deb "$work/deb.txt"
    check "ruvo's copyright file is packaging/debian/copyright" \
        cmp -s "$work/deb/usr/share/doc/ruvo/copyright" "$tree/packaging/debian/copyright"
    ;;
page)
    site=$(cd "${2:?usage: notices_test.sh page SITE}" && pwd)
    (cd "$site" && find . -type f -o -type l) | sed 's|^\./||' | sort >"$work/page.txt"
    check "every file of the site is accounted for" accounted page "$work/page.txt"
    check "the site carries the tree's LICENSE and THIRD_PARTY_NOTICES" carries "$site"
    ;;
windows)
    build=$(cd "${2:?usage: notices_test.sh windows BUILD}" && pwd)
    shopt -s nullglob
    zips=("$build"/*.zip "$build"/x64/*.zip)
    check "the build holds zips" test ${#zips[@]} -gt 0
    # The installers install what the zips hold, and are NSIS's own work
    # besides. The players' installer lies beside the i686 zip only: the
    # files are accounted for over all the zips and installers together.
    for zip in "${zips[@]}"; do
        name=$(basename "$zip")
        mkdir -p "$work/$name" && (cd "$work/$name" && cmake -E tar xf "$zip")
        check "$name carries the tree's LICENSE and THIRD_PARTY_NOTICES" carries "$work/$name/Ruvo"
        (cd "$work/$name/Ruvo" && find . -type f) | sed 's|^\./||' >>"$work/windows.txt"
        for setup in "$(dirname "$zip")"/*-setup.exe; do basename "$setup"; done >>"$work/windows.txt"
    done
    check "every file of the zips and installers is accounted for" accounted windows "$work/windows.txt"
    ;;
*)
    echo "usage: notices_test.sh [deb PACKAGE...|page SITE|windows BUILD]" >&2
    exit 2
    ;;
esac
report
