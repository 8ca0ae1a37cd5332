#!/usr/bin/env python3
"""Assembles the game's web site: the page's own files, the game module, the
music, the help page, the web fonts, the soundfont, the synthesizer, the
licence and the third-party notices, the icons (scaled from the game's icon
art), the screenshots the desktop entry's AppStream data links to, the manifest and the service worker with the list of files it keeps for
offline play."""
# SPDX-License-Identifier: MIT
import argparse
import hashlib
import html
import json
import re
import shutil
import struct
import zlib
from pathlib import Path


def read_xpm(path):
    """The pixels of an XPM image as rows of (r, g, b, a) tuples."""
    strings = []
    for line in Path(path).read_text().splitlines():
        line = line.strip()
        if line.startswith('"'):
            strings.append(line[1:line.rindex('"')])
    width, height, colours, per_pixel = (int(v) for v in strings[0].split()[:4])
    palette = {}
    for entry in strings[1:1 + colours]:
        key, rest = entry[:per_pixel], entry[per_pixel:].split()
        value = rest[rest.index('c') + 1]
        palette[key] = (0, 0, 0, 0) if value.lower() == 'none' else (
            int(value[1:3], 16), int(value[3:5], 16), int(value[5:7], 16), 255)
    rows = []
    for text in strings[1 + colours:1 + colours + height]:
        rows.append([palette[text[i:i + per_pixel]] for i in range(0, width * per_pixel, per_pixel)])
    return rows


def write_png(path, rows):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b''.join(b'\0' + bytes(v for pixel in row for v in pixel) for row in rows)
    header = struct.pack('>IIBBBBB', len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    Path(path).write_bytes(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(raw, 9))
                           + chunk(b'IEND', b''))


def scaled(rows, size, padding=0):
    """Scaled by whole pixels (every game pixel a sharp square), centred on a
    transparent square of the given size."""
    factor = (size - 2 * padding) // len(rows)
    inner = len(rows) * factor
    offset = (size - inner) // 2
    blank = (0, 0, 0, 0)
    out = [[blank] * size for _ in range(size)]
    for y in range(inner):
        for x in range(inner):
            out[offset + y][offset + x] = rows[y // factor][x // factor]
    return out


IMPORT = re.compile(r"^import \{([^}]*)\} from '\./([\w-]+\.js)';\n", re.M)
EXPORT = re.compile(r'^export (?=(?:async )?(?:class|function|const|let) )', re.M)
EXPORTED = re.compile(r'^export (?:async )?(?:class|function|const|let) ([\w$]+)', re.M)


def bundle(sources, entry):
    """The page's modules as one: each module that the entry imports (and so
    on) becomes a function scope that hands out what it exports, in the order
    the imports need them. One file comes in one request, where the modules
    one by one would queue behind each other and the fonts and the game's
    module on the browser's few connections to the server."""
    order, seen = [], set()

    def visit(name):
        if name in seen:
            return
        seen.add(name)
        for _, dependency in IMPORT.findall(sources[name]):
            visit(dependency)
        order.append(name)

    visit(entry)
    parts, provided = [], {}
    for name in order:
        text = sources[name]
        for names, dependency in IMPORT.findall(text):
            for imported in (n.strip() for n in names.split(',') if n.strip()):
                if provided.get(imported) != dependency:
                    raise SystemExit(f'make_site: {name} imports {imported} from {dependency}, which does not export it')
        body = IMPORT.sub('', text)
        if name == entry:
            parts.append(f'// --- {name}\n{body}')
            continue
        exported = EXPORTED.findall(body)
        for item in exported:
            if item in provided:
                raise SystemExit(f'make_site: {item} is exported by both {provided[item]} and {name}')
            provided[item] = name
        names = ', '.join(exported)
        parts.append(f'// --- {name}\nconst {{ {names} }} = (() => {{\n{EXPORT.sub("", body)}\nreturn {{ {names} }};\n}})();\n')
    return '\n'.join(parts), order


STYLE_LINK = '<link rel="stylesheet" href="ruvo.css">'
MENU_TITLE = re.compile(r'^ {4}\{ "label": "([^"]+)", "access": "([^"]*)", "items": \[', re.M)


SYNTH_FIRST = re.compile(r"^const SYNTH_WORKLET_MODULES = \['([^']+)'", re.M)
SOUNDFONT = re.compile(r"^const SOUNDFONT = '([^']+)';", re.M)


def music_probed(sound):
    """The two large files of the music whose presence the page's head asks
    about: the synthesizer's first script and the soundfont, as the sound
    script (sound.js) names them."""
    found = [pattern.search(sound) for pattern in (SYNTH_FIRST, SOUNDFONT)]
    if not all(found):
        raise SystemExit("make_site: sound.js must name the synthesizer's scripts and the soundfont")
    return [match.group(1) for match in found]


def menu_titles(tables):
    """The menu bar's titles as the page's script builds them (menu.js), for
    the page to show from its first frame: the engine's menu table, in the
    page's tables (tables.js), names them."""
    titles = MENU_TITLE.findall(tables)
    if not titles:
        raise SystemExit('make_site: no menu titles in tables.js')
    markup = []
    for label, access in titles:
        at = label.find(access) if access else -1
        text = html.escape(label) if at < 0 else (
            f'{html.escape(label[:at])}<u>{html.escape(label[at])}</u>{html.escape(label[at + 1:])}')
        markup.append('<div class="menu"><button type="button" class="menu-title" aria-haspopup="true" '
                      f'aria-expanded="false"><span class="label">{text}</span></button></div>')
    return ''.join(markup)


def compact(script):
    """The page's script without its comment lines, indentation and blank
    lines: a third smaller. (Its sources hold no text that spans lines, where
    indentation would count.)"""
    if any(line.count('`') % 2 for line in script.splitlines()) or '/*' in script:
        raise SystemExit('make_site: the page\'s script holds text across lines or a block comment')
    lines = (line.strip() for line in script.splitlines())
    return '\n'.join(line for line in lines if line and not line.startswith('//')) + '\n'


def licences_page(notices):
    """The game's licence and the third-party notices on one page, each as
    it is in its text file, which the page links to."""
    sections = []
    for notice in notices:
        name = html.escape(notice.name)
        sections.append(f'<h2 id="{name}">{name}</h2>\n<p><a href="{name}.txt">{name}.txt</a></p>\n'
                        f'<pre>{html.escape(notice.read_text())}</pre>\n')
    contents = ''.join(f'<li><a href="#{html.escape(n.name)}">{html.escape(n.name)}</a></li>' for n in notices)
    return ('<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n'
            '<meta name="viewport" content="width=device-width, initial-scale=1">\n'
            '<title>Ruvo Zelp! Licences</title>\n<style>\nbody { font-family: sans-serif; margin: 1em; }\n'
            'h1, h2 { color: #000080; }\npre { white-space: pre-wrap; font-size: 13px; }\n</style>\n</head>\n<body>\n'
            '<h1>Ruvo Zelp! for Windows 95: licences</h1>\n'
            '<p>The game\'s own licence, and the notices of the parts of others that this page ships, '
            'with their licences.</p>\n'
            f'<ul>{contents}</ul>\n' + ''.join(sections) + '</body>\n</html>\n')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--source', required=True, help='platform/web/site')
    parser.add_argument('--generated', nargs='*', default=[],
                        help="modules written by the build (the engine's tables), bundled with the page's own")
    parser.add_argument('--out', required=True)
    parser.add_argument('--wasm', required=True)
    parser.add_argument('--music', nargs='+', required=True)
    parser.add_argument('--help-file', required=True)
    parser.add_argument('--icon', required=True, help='the 32 x 32 icon as XPM')
    parser.add_argument('--fonts', nargs='+', required=True)
    parser.add_argument('--soundfont', required=True)
    parser.add_argument('--synth', nargs='+', required=True)
    parser.add_argument('--images', nargs='*', default=[], help='docs/images/*.png, the screenshots')
    parser.add_argument('--notices', nargs='+', required=True,
                        help="the game's licence and the third-party notices, served as text")
    parser.add_argument('--letters', nargs='+', required=True,
                        help='FACE=LETTERS: the letters each served face of the field holds')
    args = parser.parse_args()

    out = Path(args.out)
    if out.exists():
        shutil.rmtree(out)
    for sub in ('music', 'fonts', 'icons', 'synth', 'images'):
        (out / sub).mkdir(parents=True)
    faces = (entry.split('=', 1) for entry in args.letters)
    letters = {face: ''.join(sorted(set(text))) for face, text in faces}
    scripts = {item.name: item.read_text() for item in [*Path(args.source).glob('*.js'), *map(Path, args.generated)]}
    scripts['text.js'] = scripts['text.js'].replace('@FIELD_LETTERS@', json.dumps(letters, ensure_ascii=False))
    page, bundled = bundle(scripts, 'ruvo.js')
    (out / 'ruvo.js').write_text(compact(page))
    # The script that sizes the field runs as the page is parsed, before its
    # first layout: it is written into the page itself, not fetched.
    fit = '\n'.join(line for line in scripts['fit.js'].strip().splitlines() if not line.lstrip().startswith('//'))
    if '</' in fit:
        raise SystemExit('make_site: fit.js may not hold "</", which would end its script element')
    # So is the style sheet, which the browser would otherwise have to fetch
    # before it could draw anything (without its comments).
    style = re.sub(r'/\*.*?\*/\n?', '', (Path(args.source) / 'ruvo.css').read_text(), flags=re.S)
    page_html = (Path(args.source) / 'index.html').read_text()
    for mark in ('@FIT_SCRIPT@', '@MENU_TITLES@', '@MUSIC_PROBED@', STYLE_LINK):
        if page_html.count(mark) != 1:
            raise SystemExit(f'make_site: index.html must hold {mark} once')
    page_html = page_html.replace('@FIT_SCRIPT@', fit).replace('@MENU_TITLES@', menu_titles(scripts['tables.js']))
    page_html = page_html.replace('@MUSIC_PROBED@', json.dumps(music_probed(scripts['sound.js'])))
    (out / 'index.html').write_text(page_html.replace(STYLE_LINK, f'<style>\n{style}</style>'))
    for item in Path(args.source).iterdir():
        if item.name not in bundled and item.name not in ('sw.js', 'fit.js', 'index.html', 'ruvo.css'):
            shutil.copy(item, out / item.name)
    shutil.copy(args.wasm, out / 'ruvo.wasm')
    for track in args.music:
        shutil.copy(track, out / 'music' / Path(track).name)
    shutil.copy(args.help_file, out / 'help.html')
    for image in args.images:
        shutil.copy(image, out / 'images' / Path(image).name)
    for font in args.fonts:
        shutil.copy(font, out / 'fonts' / Path(font).name)
    shutil.copy(args.soundfont, out / Path(args.soundfont).name)
    for script in args.synth:
        shutil.copy(script, out / 'synth' / Path(script).name)
    # As .txt files, which any server sends as text for a link to show, and
    # together on the page that the menu and the About box open.
    for notice in args.notices:
        shutil.copy(notice, out / f'{Path(notice).name}.txt')
    (out / 'licences.html').write_text(licences_page([Path(n) for n in args.notices]))

    icon = read_xpm(args.icon)
    icons = []
    for size, padding in ((32, 0), (192, 0), (512, 0), (512, 64)):
        purpose = 'maskable' if padding else 'any'
        name = f'ruvo-{size}{"-maskable" if padding else ""}.png'
        rows = scaled(icon, size, padding)
        if padding:  # a maskable icon fills its square
            rows = [[pixel if pixel[3] else (0, 255, 255, 255) for pixel in row] for row in rows]
        write_png(out / 'icons' / name, rows)
        icons.append({'src': f'icons/{name}', 'sizes': f'{size}x{size}', 'type': 'image/png', 'purpose': purpose})
    # Where a browser looks for the icon of a page that names none (the help page).
    shutil.copy(out / 'icons' / 'ruvo-32.png', out / 'favicon.ico')
    manifest = {
        'name': 'Ruvo Zelp! for Windows 95',
        'short_name': 'Ruvo',
        'description': 'A vegetable bounces on the scenery: dive, land on the platforms and stomp the boss.',
        'start_url': './',
        'scope': './',
        'display': 'standalone',
        'orientation': 'landscape',
        'background_color': '#000000',
        'theme_color': '#c0c0c0',
        'icons': icons,
    }
    (out / 'manifest.webmanifest').write_text(json.dumps(manifest, indent=2, ensure_ascii=False) + '\n')

    # The service worker keeps every file but the music's (the tracks, the
    # soundfont and the synthesizer), which it keeps once the music has
    # fetched them; its cache is named for the files' contents, so a new
    # build replaces the old one.
    files = sorted(p.relative_to(out).as_posix() for p in out.rglob('*') if p.is_file())
    later = ({Path(args.soundfont).name} | {f'synth/{Path(s).name}' for s in args.synth}
             | {f'music/{Path(t).name}' for t in args.music})
    # The licence and the notices, too, are kept once they have been read.
    later |= {f'{Path(n).name}.txt' for n in args.notices} | {'licences.html'}
    # The screenshots are for software centres, never for playing.
    later |= {f'images/{Path(i).name}' for i in args.images}
    precache = ['./'] + [f for f in files if f not in later]
    digest = hashlib.sha256()
    for name in files:
        digest.update(name.encode() + b'\0' + (out / name).read_bytes())
    worker = (Path(args.source) / 'sw.js').read_text()
    worker = worker.replace('@CACHE_NAME@', f'ruvo-{digest.hexdigest()[:16]}')
    worker = worker.replace('@PRECACHE@', json.dumps(precache))
    (out / 'sw.js').write_text(worker)


if __name__ == '__main__':
    main()
