"""Cuts a face down to the letters the field draws in it, under a name of our
own: a cut is a modified font, and the licences of both faces keep their
names (Liberation's is a Reserved Font Name of its SIL Open Font License; the
IPA Font License bars the source face's name from a derived font's names and
file). The copyright notice, the version and the licence's name and address
stay as the source face has them.

Usage: cut_font.py SOURCE OUT FAMILY LETTERS
"""
# SPDX-License-Identifier: MIT
import sys

from fontTools import subset

# The names a font shows as its own (family, unique id, full name, PostScript
# name, and the typographic family). The other kept records (copyright,
# subfamily, version, licence) stay the source face's.
FAMILY, UNIQUE, FULL, POSTSCRIPT, TYPOGRAPHIC = 1, 3, 4, 6, 16


def main():
    source, out, family, letters = sys.argv[1:]
    options = subset.Options()
    options.name_IDs = [0, 1, 2, 3, 4, 5, 6, 13, 14]
    font = subset.load_font(source, options)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=letters)
    subsetter.subset(font)

    names = font['name']
    style = names.getDebugName(2) or 'Regular'
    version = names.getDebugName(5) or ''
    own = {
        FAMILY: family,
        UNIQUE: f'{family} {style} {version}'.strip(),
        FULL: family if style == 'Regular' else f'{family} {style}',
        POSTSCRIPT: family if style == 'Regular' else f'{family}-{style}',
    }
    names.names = [record for record in names.names if record.nameID != TYPOGRAPHIC]
    for record in names.names:
        if record.nameID in own:
            record.string = own[record.nameID]
    subset.save_font(font, out, options)


if __name__ == '__main__':
    main()
