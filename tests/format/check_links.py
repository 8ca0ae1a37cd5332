#!/usr/bin/env python3
"""Every relative link in the tree's Markdown files leads to a file that
exists, and a link to a heading (#name) to a heading that the file has.
Usage: check_links.py [ROOT]"""
# SPDX-License-Identifier: MIT
import os
import re
import subprocess
import sys

root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", ".."))
LINK = re.compile(r"(?<!!)\[[^\]]*\]\(([^)\s]+)\)|!\[[^\]]*\]\(([^)\s]+)\)")
FENCE = re.compile(r"^\s*```")


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


broken = []
# The tree's Markdown files, as git lists them (check_headers.py reads the tree so too).
files = subprocess.run(["git", "-C", root, "ls-files", "*.md"], capture_output=True, text=True, check=True).stdout.split()
files = [os.path.join(root, f) for f in files]
for path in files:
    for number, target in links(path):
        if re.match(r"^[a-z][a-z0-9+.-]*:", target):
            continue  # an address, not a file of the tree
        file_part, _, anchor = target.partition("#")
        dest = os.path.normpath(os.path.join(os.path.dirname(path), file_part)) if file_part else path
        where = f"{os.path.relpath(path, root)}:{number}: {target}"
        if not os.path.exists(dest):
            broken.append(f"{where}: no such file")
        elif anchor and dest.endswith(".md") and anchor not in anchors(dest):
            broken.append(f"{where}: no such heading")
print(*broken, f"{len(files)} Markdown files, {len(broken)} broken links", sep="\n")
sys.exit(1 if broken else 0)
