#!/usr/bin/env python3
"""Writes the Windows program's resource script and the files it names.

From the bitmaps and sounds the build has made: the icon files of icon groups
501 and 502, the status line's icon pictures as image-and-mask pairs, and
ruvo.rc with every bitmap, sound, icon, the manifest and the version
information. Each icon comes in every size Windows asks for at the usual
scales, 16 to 64 pixels and 256 for Explorer's large views, made from its
16- and 32-pixel art by whole-number scaling (every art pixel an N x N
block, centred on transparency where no multiple fills the size), so that it
stays as crisp as the game's own pixels.

    make_resources.py --bitmaps DIR --sounds DIR --manifest FILE --version 1.32 --out DIR
"""
# SPDX-License-Identifier: MIT
import argparse
import re
import struct
import zlib
from pathlib import Path

ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
COPYRIGHT = 'Copyright (c) 2026 Tolp'


def read_bmp(path):
    """(width, height, info header, palette, bottom-up pixel rows) of an uncompressed BMP."""
    data = path.read_bytes()
    if data[:2] != b'BM':
        raise SystemExit(f'{path}: not a BMP file')
    offset = struct.unpack_from('<I', data, 10)[0]
    header_size, width, height, _, bits = struct.unpack_from('<IiiHH', data, 14)
    colours = struct.unpack_from('<I', data, 14 + 32)[0] or (1 << bits if bits <= 8 else 0)
    info = data[14:14 + header_size]
    palette = data[14 + header_size:14 + header_size + 4 * colours]
    stride = (width * bits + 31) // 32 * 4
    rows = [data[offset + r * stride:offset + (r + 1) * stride] for r in range(abs(height))]
    return width, height, bits, info, palette, rows


def art_pixels(image_path, mask_path):
    """The art as rows of (b, g, r, a), top row first; a is 0 where the mask is white."""
    width, height, bits, _, palette, rows = read_bmp(image_path)
    _, _, mask_bits, _, mask_palette, mask_rows = read_bmp(mask_path)
    white = [i for i in range(len(mask_palette) // 4) if mask_palette[4 * i:4 * i + 3] == b'\xff\xff\xff']

    def index(row, x, depth):
        byte = row[x * depth // 8]
        return (byte >> (8 - depth - (x * depth) % 8)) & ((1 << depth) - 1)

    pixels = []
    for y in range(abs(height)):
        r = abs(height) - 1 - y if height > 0 else y
        line = []
        for x in range(width):
            if bits > 8:
                raise SystemExit(f'{image_path}: icon art is expected with a palette')
            colour = palette[4 * index(rows[r], x, bits):4 * index(rows[r], x, bits) + 3]
            clear = index(mask_rows[r], x, mask_bits) in white
            line.append((colour[0], colour[1], colour[2], 0 if clear else 255))
        pixels.append(line)
    return pixels


def scaled(arts, size):
    """The art that fills most of size by a whole-number factor (the finer on a tie), centred."""
    art = max(arts, key=lambda a: ((size // len(a)) * len(a), len(a)))
    factor = size // len(art)
    offset = (size - factor * len(art)) // 2
    out = [[(0, 0, 0, 0)] * size for _ in range(size)]
    for y, line in enumerate(art):
        for x, pixel in enumerate(line):
            for dy in range(factor):
                for dx in range(factor):
                    out[offset + y * factor + dy][offset + x * factor + dx] = pixel
    return out


def png(pixels):
    size = len(pixels)
    raw = b''.join(b'\0' + bytes(c for b, g, r, a in line for c in (r, g, b, a)) for line in pixels)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def icon_entry(pixels):
    """One image of an icon file: 32-bit with alpha and its AND mask, or PNG at 256."""
    size = len(pixels)
    if size >= 256:
        return size, 32, png(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''.join(bytes(c for p in line for c in p) for line in reversed(pixels))
    stride = (size + 31) // 32 * 4
    mask = b''
    for line in reversed(pixels):
        row = bytearray(stride)
        for x, p in enumerate(line):
            if p[3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
    return size, 32, header + colour + mask


def write_icon(path, images):
    entries = b''
    bodies = b''
    offset = 6 + 16 * len(images)
    for width, bits, body in images:
        colours = 1 << bits if bits < 8 else 0
        entries += struct.pack('<BBBBHHII', width % 256, width % 256, colours, 0, 1, bits, len(body), offset)
        bodies += body
        offset += len(body)
    path.write_bytes(struct.pack('<HHH', 0, 1, len(images)) + entries + bodies)


def rc_path(path):
    return str(path).replace('\\', '/')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--bitmaps', required=True, type=Path)
    parser.add_argument('--sounds', required=True, type=Path)
    parser.add_argument('--manifest', required=True, type=Path)
    parser.add_argument('--version', required=True)
    parser.add_argument('--out', required=True, type=Path)
    args = parser.parse_args()
    args.out.mkdir(parents=True, exist_ok=True)

    lines = ['// Made by make_resources.py at build time.', '#pragma code_page(65001)', '#include <windows.h>', '']
    for group in (501, 502):
        arts = []
        for size in (32, 16):
            stem = args.bitmaps / f'icon-{group}-{size}'
            arts.append(art_pixels(stem.with_suffix('.bmp'), Path(f'{stem}-mask.bmp')))
            # The status line draws the small picture itself: image and mask, back to back.
            pair = args.out / f'icon-{group}-{size}.pair'
            pair.write_bytes(stem.with_suffix('.bmp').read_bytes() + Path(f'{stem}-mask.bmp').read_bytes())
            lines.append(f'{group} ICON{size} "{rc_path(pair)}"')
        icon = args.out / f'icon-{group}.ico'
        write_icon(icon, [icon_entry(scaled(arts, size)) for size in ICON_SIZES])
        lines.append(f'{group} ICON "{rc_path(icon)}"')
    lines.append('')
    ids = sorted(int(p.stem) for p in args.bitmaps.glob('*.bmp') if re.fullmatch(r'\d+', p.stem))
    if len(ids) != 78:
        raise SystemExit(f'{args.bitmaps}: {len(ids)} bitmaps, not 78')
    lines += [f'{i} BITMAP "{rc_path(args.bitmaps / f"{i}.bmp")}"' for i in ids]
    lines.append('')
    lines += [f'{i} WAVE "{rc_path(args.sounds / f"{i}.wav")}"' for i in range(601, 607)]
    lines.append('')
    lines.append(f'CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST "{rc_path(args.manifest)}"')
    major, minor = (args.version.split('.') + ['0'])[:2]
    lines += [
        '',
        'VS_VERSION_INFO VERSIONINFO',
        f'FILEVERSION {major},{minor},0,0',
        f'PRODUCTVERSION {major},{minor},0,0',
        'FILEOS VOS_NT_WINDOWS32',
        'FILETYPE VFT_APP',
        'BEGIN',
        '  BLOCK "StringFileInfo"',
        '  BEGIN',
        '    BLOCK "040904B0"',
        '    BEGIN',
        '      VALUE "CompanyName", "Tolp"',
        '      VALUE "FileDescription", "Ruvo Zelp!"',
        f'      VALUE "FileVersion", "{args.version}"',
        '      VALUE "InternalName", "ruvo"',
        f'      VALUE "LegalCopyright", "{COPYRIGHT}"',
        '      VALUE "OriginalFilename", "ruvo.exe"',
        '      VALUE "ProductName", "Ruvo Zelp! for Windows 95"',
        f'      VALUE "ProductVersion", "{args.version}"',
        '    END',
        '  END',
        '  BLOCK "VarFileInfo"',
        '  BEGIN',
        '    VALUE "Translation", 0x409, 1200',
        '  END',
        'END',
    ]
    (args.out / 'ruvo.rc').write_text('\n'.join(lines) + '\n', encoding='utf-8')


if __name__ == '__main__':
    main()
