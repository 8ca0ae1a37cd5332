#!/usr/bin/env python3
"""Turns the help file (HTML) into the rich text that the Windows help window shows.

Headings, paragraphs, bold, key names, lists, tables and preformatted lines
keep their look; links keep their text in the link colour, which the help
window makes into links (it follows one to the heading of the same text, or
to the top). The
instructions for the settings file are given for the registry instead.

    make_help_rtf.py RUVO.HLP RUVO.RTF
"""
# SPDX-License-Identifier: MIT
import re
import sys
from html.parser import HTMLParser

# Where the help tells how to switch the Option command on: on Windows the
# value lives in the registry, not in a file.
LINUX_OPTION = re.compile(r'To enable it, quit the game.*?</pre>', re.S)
WINDOWS_OPTION = (
    'To enable it, quit the game and set the value <tt>Option</tt> to 1 in the registry key '
    '<tt>HKEY_CURRENT_USER\\Software\\Tolp\\Ruvo</tt>, where the game keeps its settings, for '
    'instance with this command in a command prompt:</p>\n'
    '<pre>reg add HKCU\\Software\\Tolp\\Ruvo /v Option /t REG_DWORD /d 1 /f</pre>')

HEADINGS = {'h1': (36, 1), 'h2': (28, 1), 'h3': (24, 2)}  # half-points, colour
TABLE_WIDTH = 8000  # twips


def escape(text):
    out = []
    for ch in text:
        code = ord(ch)
        if ch in '\\{}':
            out.append('\\' + ch)
        elif code < 0x80:
            out.append(ch)
        elif code <= 0xFFFF:
            out.append('\\u%d?' % (code - 0x10000 if code > 0x7FFF else code))
        else:
            code -= 0x10000
            for unit in (0xD800 + (code >> 10), 0xDC00 + (code & 0x3FF)):
                out.append('\\u%d?' % (unit - 0x10000))
    return ''.join(out)


class Converter(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.out = []
        self.skip = 0  # inside head, title or style
        self.pre = False
        self.row = None  # the cells of the table row being read
        self.cell = None
        self.rows = []
        self.at_line_start = True
        self.link = None

    def emit(self, text):
        if self.cell is not None:
            self.cell.append(text)
        else:
            self.out.append(text)

    def paragraph(self, spacing='\\sa120'):
        self.emit('\\pard%s ' % spacing)
        self.at_line_start = True

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        cls = attrs.get('class', '')
        if tag in ('head', 'title', 'style'):
            self.skip += 1
        elif tag in HEADINGS:
            size, colour = HEADINGS[tag]
            self.paragraph('\\sb200\\sa100\\keepn')
            self.emit('{\\b\\fs%d\\cf%d ' % (size, colour))
        elif tag == 'p':
            self.paragraph('\\sa120' if cls != 'back' else '\\sa200\\qr\\fs16')
        elif tag == 'li':
            self.paragraph('\\fi-240\\li480\\sa60')
            self.emit('\\bullet\\tab ')
        elif tag == 'b' or tag == 'th':
            if tag == 'th':
                self.cell = []
            self.emit('{\\b ')
        elif tag in ('tt', 'span', 'td'):
            if tag == 'td':
                self.cell = []
            self.emit('{\\f1\\b ' if 'key' in cls else ('{\\f1 ' if tag == 'tt' else '{'))
        elif tag == 'pre':
            self.paragraph('\\sa120\\li240\\f1')
            self.pre = True
        elif tag == 'a' and attrs.get('href', '').startswith('#'):
            # The link colour marks a link; the window makes it one when it shows the text.
            self.emit('{\\ul\\cf3 ')
            self.link = True
        elif tag == 'tr':
            self.row = []
        elif tag == 'hr':
            self.paragraph('\\sa120\\brdrb\\brdrs\\brdrw10\\brsp20')
            self.emit('\\par\\pard ')
        elif tag == 'br':
            self.emit('\\line ')

    def handle_endtag(self, tag):
        if tag in ('head', 'title', 'style'):
            self.skip -= 1
        elif tag in HEADINGS:
            self.emit('}\\par ')
            self.at_line_start = True
        elif tag in ('p', 'li'):
            self.emit('\\par\\pard\\plain\\f0\\fs20 ')
            self.at_line_start = True
        elif tag == 'b':
            self.emit('}')
        elif tag in ('tt', 'span'):
            self.emit('}')
        elif tag in ('td', 'th'):
            self.emit('}')
            self.row.append(''.join(self.cell).strip())
            self.cell = None
        elif tag == 'pre':
            self.emit('\\par\\pard\\plain\\f0\\fs20 ')
            self.pre = False
            self.at_line_start = True
        elif tag == 'a' and self.link:
            self.emit('}')
            self.link = None
        elif tag == 'tr':
            self.rows.append(self.row)
            self.row = None
        elif tag == 'table':
            self.table()

    def table(self):
        columns = max(len(r) for r in self.rows)
        # Widths by the longest text of each column, the last taking what is left.
        longest = [max(len(re.sub(r'\\[a-z0-9]+ ?|[{}]', '', r[c])) if c < len(r) else 0 for r in self.rows)
                   for c in range(columns)]
        widths = [min(max(900, n * 110), 2600) for n in longest[:-1]]
        widths.append(max(1500, TABLE_WIDTH - sum(widths)))
        for row in self.rows:
            self.emit('\\trowd\\trgaph80\\trleft0')
            edge = 0
            for width in widths:
                edge += width
                self.emit('\\clbrdrt\\brdrs\\clbrdrl\\brdrs\\clbrdrb\\brdrs\\clbrdrr\\brdrs\\cellx%d' % edge)
            self.emit(' ')
            for c in range(columns):
                self.emit('\\pard\\intbl %s\\cell ' % (row[c] if c < len(row) else ''))
            self.emit('\\row ')
        self.emit('\\pard\\sa120\\par ')
        self.rows = []
        self.at_line_start = True

    def handle_data(self, data):
        if self.skip:
            return
        if self.pre:
            self.emit('\\line '.join(escape(line) for line in data.split('\n')))
            return
        text = re.sub(r'\s+', ' ', data)
        if self.at_line_start:
            text = text.lstrip()
        if not text:
            return
        self.at_line_start = False
        self.emit(escape(text))


def convert(html):
    html, count = LINUX_OPTION.subn(lambda _: WINDOWS_OPTION, html)
    if count != 1:
        sys.exit('make_help_rtf: the help no longer says how to enable Option in the settings file: '
                 'say it for the registry here anew')
    converter = Converter()
    converter.feed(html)
    converter.close()
    body = ''.join(converter.out)
    return ('{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1'
            '{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fmodern\\fcharset0 Courier New;}}'
            '{\\colortbl;\\red0\\green0\\blue128;\\red0\\green64\\blue128;\\red0\\green0\\blue255;}'
            '\\viewkind4\\f0\\fs20 ' + body + '}\n')


def main():
    if len(sys.argv) != 3:
        sys.exit('usage: make_help_rtf.py HELP.HLP OUT.RTF')
    with open(sys.argv[1], encoding='utf-8') as source:
        rtf = convert(source.read())
    with open(sys.argv[2], 'w', encoding='ascii', newline='\r\n') as out:
        out.write(rtf)


if __name__ == '__main__':
    main()
