#!/usr/bin/env python3
"""The tree's files, as git lists them, looked over one way or the other:
  headers  every source file opens (after a shebang) with a comment that says
           what it holds, and names the project's licence (an SPDX
           identifier) in that opening comment;
  links    every relative link in the Markdown files leads to a file that
           exists, and a link to a heading (#name) to a heading that the file has.
Lists the files (or links) that do not, with a count, and fails.
Usage: check_tree.py headers|links ROOT"""
# SPDX-License-Identifier: MIT
import itertools
import os
import re
import subprocess
import sys

SOURCES = re.compile(r'\.(cpp|h|js|mjs|py|sh|cmake|css|nsi)$|(^|/)CMakeLists\.txt$|^\.ci/run$')
COMMENT = {'cpp': '//', 'h': '//', 'js': '//', 'mjs': '//', 'css': '/*', 'nsi': ';'}
SPDX = 'SPDX-License-Identifier: MIT'
LINK = re.compile(r"(?<!!)\[[^\]]*\]\(([^)\s]+)\)|!\[[^\]]*\]\(([^)\s]+)\)")
FENCE = re.compile(r"^\s*```")


def opening(lines, lead):
    """The opening comment's lines, or none where the file opens with code."""
    if lead == '#' and lines and lines[0].startswith('"""'):
        # A one-line docstring ends where it starts.
        one_line = lines[0].count('"""') >= 2
        end = 1 if one_line else next((i for i, line in enumerate(lines[1:], 2) if '"""' in line), 1)
        return lines[:end] + [line for line in lines[end:end + 1] if line.startswith('#')]
    if lead == '/*':
        end = next((i for i, line in enumerate(lines, 1) if '*/' in line), 0) if lines[:1] and lines[0].startswith('/*') else 0
        return lines[:end + 1]
    return list(itertools.takewhile(lambda line: line.startswith(lead), lines))


def headers(root, names):
    for name in filter(SOURCES.search, names):
        lines = open(f'{root}/{name}', encoding='utf-8').read().split('\n')
        lead = COMMENT.get(name.rsplit('.', 1)[-1], '#')
        block = opening(lines[1:] if lines[0].startswith('#!') else lines, lead)
        if not block or not block[0].strip(lead + '" ').strip() or SPDX in block[0]:
            yield f'{name}: opens without a comment saying what it holds'
        elif not any(SPDX in line for line in block):
            yield f'{name}: no "{SPDX}" in its opening comment'


def prose(path):
    """The file's lines outside fenced code, with their numbers."""
    in_fence = False
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        if FENCE.match(line):
            in_fence = not in_fence
        elif not in_fence:
            yield number, line


def anchors(path):
    """GitHub's anchors: the heading in lower case, punctuation dropped, spaces as hyphens."""
    headings = (re.match(r"^#{1,6}\s+(.*?)\s*#*\s*$", line) for _, line in prose(path))
    return {re.sub(r"[^\w\- ]", "", re.sub(r"[`*_]", "", m.group(1)).lower()).replace(" ", "-") for m in headings if m}


def links(path):
    for number, line in prose(path):
        if not line.startswith("    "):
            for m in LINK.finditer(re.sub(r"`[^`]*`", "", line)):
                yield number, m.group(1) or m.group(2)


def broken_links(root, names):
    for path in (os.path.join(root, name) for name in names if name.endswith(".md")):
        for number, target in links(path):
            if re.match(r"^[a-z][a-z0-9+.-]*:", target):
                continue  # an address, not a file of the tree
            file_part, _, anchor = target.partition("#")
            dest = os.path.normpath(os.path.join(os.path.dirname(path), file_part)) if file_part else path
            where = f"{os.path.relpath(path, root)}:{number}: {target}"
            if not os.path.exists(dest):
                yield f"{where}: no such file"
            elif anchor and dest.endswith(".md") and anchor not in anchors(dest):
                yield f"{where}: no such heading"


kind, root = sys.argv[1:3]
names = subprocess.run(['git', '-C', root, 'ls-files'], capture_output=True, text=True, check=True).stdout.split()
faults = list({'headers': headers, 'links': broken_links}[kind](root, names))
print(*faults, f'{len(names)} files of the tree, {len(faults)} faults in their {kind}', sep='\n')
sys.exit(1 if faults else 0)
