#!/usr/bin/env bash
# Builds the Debian packages of the desktop game (ruvo and ruvo-dbgsym) with
# Debian's own tools: the tree is copied into a scratch folder, the packaging
# in packaging/debian becomes its debian/ folder, and dpkg-buildpackage builds
# the binary packages there. The tree itself is left as it was.
#
#   packaging/build-deb.sh OUTDIR
#
# OUTDIR receives the .deb, the .ddeb, the .buildinfo and the .changes.
# SPDX-License-Identifier: MIT
set -euo pipefail
out=${1:?usage: build-deb.sh OUTDIR}
tree=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out"
out=$(cd "$out" && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/ruvo-deb.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

version=$(dpkg-parsechangelog -l "$tree/packaging/debian/changelog" -S Version)
source=$scratch/ruvo-$version
mkdir "$source"
# The files of the tree as git knows them (the working copy, edits included),
# or, outside a clone, everything but the build folders.
if git -C "$tree" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    (cd "$tree" && git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
        xargs -0 cp --parents -t "$source")
else
    (cd "$tree" && find . -path './build*' -prune -o -path ./.git -prune -o -type f -print0 | xargs -0 cp --parents -t "$source")
fi
cp -r "$tree/packaging/debian" "$source/debian"

(cd "$source" && dpkg-buildpackage -b -us -uc -j"$(nproc)")
find "$scratch" -maxdepth 1 -type f \( -name '*.deb' -o -name '*.ddeb' -o -name '*.buildinfo' -o -name '*.changes' \) \
    -exec cp -t "$out" {} +
ls -1 "$out"
