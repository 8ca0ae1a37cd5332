#!/usr/bin/env python3
"""Writes the Windows program's resource script and the files it names.

From the bitmaps and sounds the build has made: the icon files of icon groups
501 and 502 (16 x 16 and 32 x 32 each), the status line's icon pictures as
image-and-mask pairs, and ruvo.rc with every bitmap, sound, icon, the
manifest and the version information.

    make_resources.py --bitmaps DIR --sounds DIR --manifest FILE --version 1.32 --out DIR
"""
import argparse
import re
import struct
from pathlib import Path


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


def and_mask(mask_path):
    """The 1-bit AND mask of an icon: set where our mask bitmap is white (transparent)."""
    width, _, bits, _, palette, rows = read_bmp(mask_path)
    white = [i for i in range(len(palette) // 4) if palette[4 * i:4 * i + 3] == b'\xff\xff\xff']
    stride = (width + 31) // 32 * 4
    out = b''
    for row in rows:
        line = bytearray(stride)
        for x in range(width):
            byte = row[x * bits // 8]
            index = (byte >> (8 - bits - (x * bits) % 8)) & ((1 << bits) - 1)
            if index in white:
                line[x // 8] |= 0x80 >> (x % 8)
        out += bytes(line)
    return out


def icon_image(image_path, mask_path):
    """One image of an icon file: the picture's header with the height doubled, its palette and pixels, the mask."""
    width, height, bits, info, palette, rows = read_bmp(image_path)
    header = bytearray(info[:40])
    struct.pack_into('<i', header, 8, 2 * abs(height))
    struct.pack_into('<I', header, 20, 0)  # biSizeImage: left for the reader to compute
    return width, bits, bytes(header) + palette + b''.join(rows) + and_mask(mask_path)


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
        images = []
        for size in (32, 16):
            stem = args.bitmaps / f'icon-{group}-{size}'
            images.append(icon_image(stem.with_suffix('.bmp'), Path(f'{stem}-mask.bmp')))
            # The status line draws the small picture itself: image and mask, back to back.
            pair = args.out / f'icon-{group}-{size}.pair'
            pair.write_bytes(stem.with_suffix('.bmp').read_bytes() + Path(f'{stem}-mask.bmp').read_bytes())
            lines.append(f'{group} ICON{size} "{rc_path(pair)}"')
        icon = args.out / f'icon-{group}.ico'
        write_icon(icon, images)
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
