#!/usr/bin/env bash
# Every C++ file of the tree as clang-format 19 lays it out with the root's
# .clang-format (the version Debian 12 and 13 share: another version may break
# lines elsewhere), and none including a file by a path that climbs out of a
# folder ("../"), which would step around the layers' fences. Lists the files
# that differ and fails.
# Usage: check_format.sh
# SPDX-License-Identifier: MIT
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
command -v clang-format-19 >/dev/null || { echo "FAIL: clang-format-19 is not installed"; exit 1; }
unformatted=()
while IFS= read -r file; do
    clang-format-19 --style=file "$file" | cmp -s - "$file" || unformatted+=("$file")
done < <(git ls-files -- '*.cpp' '*.h' 2>/dev/null ||
    find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
status=0
if [ ${#unformatted[@]} -gt 0 ]; then
    printf 'not laid out (clang-format-19 -i FILE...):\n'
    printf '  %s\n' "${unformatted[@]}"
    status=1
fi
if git grep -nE '^\s*#\s*include\s*[<"][^>"]*\.\./' -- '*.cpp' '*.h'; then
    echo "an include climbs out of its folder (above): include by the library's own path"
    status=1
fi
[ $status -eq 0 ] && echo "every C++ file is laid out and includes by the libraries' paths"
exit $status
