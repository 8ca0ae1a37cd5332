#!/usr/bin/env python3
"""Every source file of the tree opens (after a shebang) with a comment that
says what it holds, and names the project's licence (an SPDX identifier) in
that opening comment. Lists the files that do not and fails.
Usage: check_headers.py SOURCE_DIR
"""
# SPDX-License-Identifier: MIT
import itertools
import re
import subprocess
import sys

SOURCES = re.compile(r'\.(cpp|h|js|mjs|py|sh|cmake|css|nsi)$|(^|/)CMakeLists\.txt$|^\.ci/run$')
COMMENT = {'cpp': '//', 'h': '//', 'js': '//', 'mjs': '//', 'css': '/*', 'nsi': ';'}
SPDX = 'SPDX-License-Identifier: MIT'


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


root = sys.argv[1]
files = subprocess.run(['git', '-C', root, 'ls-files'], capture_output=True, text=True, check=True).stdout.split()
bad = []
for name in filter(SOURCES.search, files):
    lines = open(f'{root}/{name}', encoding='utf-8').read().split('\n')
    lead = COMMENT.get(name.rsplit('.', 1)[-1], '#')
    block = opening(lines[1:] if lines[0].startswith('#!') else lines, lead)
    if not block or not block[0].strip(lead + '" ').strip() or SPDX in block[0]:
        bad.append(f'{name}: opens without a comment saying what it holds')
    elif not any(SPDX in line for line in block):
        bad.append(f'{name}: no "{SPDX}" in its opening comment')
print('\n'.join(bad) or 'every source file says what it holds and names its licence')
sys.exit(1 if bad else 0)
