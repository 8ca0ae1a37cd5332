#!/usr/bin/env python3
"""Checks every bitmap resource the build wrote, with a BMP reader of its own.

Usage: check_bitmaps.py BITMAPDIR
"""
# SPDX-License-Identifier: MIT
import os
import struct
import sys

STANDARD = [0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
            0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF]
BLACK_WHITE = [0x000000, 0xFFFFFF] + [0x000000] * 14


def read_bmp(path):
    data = open(path, 'rb').read()
    if data[:2] != b'BM':
        raise ValueError('not a BMP')
    file_size, _, offset = struct.unpack_from('<IIL', data, 2)
    if file_size != len(data):
        raise ValueError('file size %d, header says %d' % (len(data), file_size))
    (info, width, height, planes, bits, compression, _, _, _, used, _) = struct.unpack_from('<IiiHHIIiiII', data, 14)
    if info != 40 or planes != 1 or bits != 4 or compression != 0:
        raise ValueError('not an uncompressed 4-bit BMP')
    palette = [(r << 16) | (g << 8) | b for b, g, r, _ in struct.iter_unpack('<BBBB', data[54:54 + 64])]
    stride = ((width * 4 + 31) // 32) * 4
    rows = []
    for y in range(abs(height)):
        line = data[offset + stride * (abs(height) - 1 - y if height > 0 else y):]
        rows.append([palette[(line[x // 2] >> (0 if x % 2 else 4)) & 15] for x in range(width)])
    return width, abs(height), palette, rows


RESULTS = []


def check(name, condition, why):
    RESULTS.append(bool(condition))
    if not condition:
        print('FAIL %s: %s' % (name, why))


def main():
    folder = sys.argv[1]
    load = lambda rid: read_bmp(os.path.join(folder, '%d.bmp' % rid))
    # The image of each image-and-mask pair.
    ids = [201, 203, 205, 207, 211, 213, 215, 217, *range(221, 241, 2), *range(251, 271, 2), *range(281, 301, 2), 311]
    images = {}
    for rid in ids:
        try:
            w, h, palette, image = load(rid)
            mw, mh, mpalette, mask = load(rid + 1)
        except (OSError, ValueError, struct.error) as error:
            check(str(rid), False, str(error))
            continue
        images[rid] = (image, mask)
        size = 64 if 281 <= rid <= 300 or rid == 311 else 32
        check(str(rid), (w, h, mw, mh) == (size, size, size, size), 'size %dx%d, mask %dx%d' % (w, h, mw, mh))
        check(str(rid), palette == (BLACK_WHITE if rid == 207 else STANDARD), 'palette')
        check(str(rid + 1), mpalette == STANDARD, 'mask palette')
        check(str(rid + 1), all(p in (0, 0xFFFFFF) for row in mask for p in row), 'mask not pure black and white')
        stray = [(x, y) for y, row in enumerate(mask) for x, p in enumerate(row)
                 if p == 0xFFFFFF and image[y][x] != 0]
        if rid == 261:
            check('261', stray and all(image[y][x] == 0x00FFFF for x, y in stray),
                    'the wires must be aqua and lie outside the mask')
        else:
            check(str(rid), not stray, 'image not black outside its mask at %s' % (stray[:3],))
        if 251 <= rid <= 269:
            top = min((y for y, row in enumerate(mask) for p in row if p == 0), default=32)
            check(str(rid), rid == 269 or top >= 8, 'a ground strip fills only the bottom rows')
        if 221 <= rid <= 239:
            check(str(rid), 0 in mask[0], 'a platform reaches the top edge of its square')
    if len(images) == len(ids):
        for hurt, normal in ((203, 201), (207, 205)):
            image, mask = images[hurt]
            check(str(hurt), mask == images[normal][1], 'hurt mask differs from the normal look')
            check(str(hurt), all(image[y][x] == (0xFFFFFF if mask[y][x] == 0 else 0)
                                   for y in range(32) for x in range(32)), 'hurt picture not all white')
        check('253', images[253] == images[251], 'not the same as 251/252')
        check('239', images[239] == images[217], 'not the same as 217/218')
        image, mask = images[269]
        check('269', all(p == 0 for row in image for p in row) and all(p == 0xFFFFFF for row in mask for p in row),
                'must be all black with an all-white mask')
        image, mask = images[311]
        lattice = [[(x % 2 == 0 and y % 2 == 0) for x in range(64)] for y in range(64)]
        check('311', all(image[y][x] == (0xFF0000 if lattice[y][x] else 0) for y in range(64) for x in range(64)),
                'image is not the red lattice')
        check('312', all(mask[y][x] == (0 if lattice[y][x] else 0xFFFFFF) for y in range(64) for x in range(64)),
                'mask is not the lattice')
    for stem in ('icon-501-16', 'icon-501-32'):
        try:
            w, h, _, _ = read_bmp(os.path.join(folder, stem + '.bmp'))
            check(stem, (w, h) == ((16, 16) if stem.endswith('16') else (32, 32)), 'icon size')
        except (OSError, ValueError) as error:
            check(stem, False, str(error))
    print('%d passed, %d failed' % (RESULTS.count(True), RESULTS.count(False)))
    return 0 if all(RESULTS) else 1


if __name__ == '__main__':
    sys.exit(main())
