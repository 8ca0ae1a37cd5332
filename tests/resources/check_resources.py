#!/usr/bin/env python3
# Checks the resources the build generated, each kind with a reader of its own.
#
# Usage: check_resources.py sounds|music|bitmaps DIRECTORY
#   sounds   601.wav .. 606.wav: a RIFF image of one 16-byte PCM "fmt " chunk and one "data" chunk
#            with every size agreeing; the format and length of the table below; sound on every
#            channel without clipping or DC offset; silent first and last frames with a ramp over
#            the first and last half millisecond; and the sweeps' pitch contour.
#   music    the four background-music MIDI files: structure, balanced notes, playing time, loops
#            that end on a bar line with nothing sounding, drums and at least three parts.
#   bitmaps  every image-and-mask pair and the icons, with a 4-bit BMP reader of its own.
# Prints a line per file or pair and "N passed, M failed"; exits 1 when anything failed.
# SPDX-License-Identifier: MIT
import functools
import os
import pathlib
import struct
import sys


class Fault(Exception):
    pass


def need(condition, why):
    if not condition:
        raise Fault(why)


STANDARD = [0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
            0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF]
BLACK_WHITE = [0x000000, 0xFFFFFF] + [0x000000] * 14
WHITE = 0xFFFFFF


def read_bmp(path):
    data = pathlib.Path(path).read_bytes()
    need(data[:2] == b'BM', 'not a BMP')
    file_size, _, offset = struct.unpack_from('<IIL', data, 2)
    need(file_size == len(data), 'file size %d, header says %d' % (len(data), file_size))
    (info, width, height, planes, bits, compression, _, _, _, used, _) = struct.unpack_from('<IiiHHIIiiII', data, 14)
    need((info, planes, bits, compression) == (40, 1, 4, 0), 'not an uncompressed 4-bit BMP')
    palette = [(r << 16) | (g << 8) | b for b, g, r, _ in struct.iter_unpack('<BBBB', data[54:54 + 64])]
    stride = ((width * 4 + 31) // 32) * 4
    rows = [[palette[(line[x // 2] >> (0 if x % 2 else 4)) & 15] for x in range(width)]
            for line in (data[offset + stride * (abs(height) - 1 - y if height > 0 else y):] for y in range(abs(height)))]
    return width, abs(height), palette, rows


def bitmap_checks(folder):
    load = lambda name: read_bmp(os.path.join(folder, f'{name}.bmp'))

    @functools.cache
    def pair(rid):
        """The image of an image-and-mask pair and its mask, checked."""
        (w, h, palette, image), (mw, mh, mpalette, mask) = load(rid), load(rid + 1)
        size = 64 if 281 <= rid <= 300 or rid == 311 else 32
        need((w, h, mw, mh) == (size, size, size, size), 'size %dx%d, mask %dx%d' % (w, h, mw, mh))
        need(palette == (BLACK_WHITE if rid == 207 else STANDARD), 'palette')
        need(mpalette == STANDARD, 'mask palette')
        need(all(p in (0, WHITE) for row in mask for p in row), 'mask not pure black and white')
        stray = [(x, y) for y, row in enumerate(mask) for x, p in enumerate(row) if p == WHITE and image[y][x] != 0]
        if rid == 261:
            need(stray and all(image[y][x] == 0x00FFFF for x, y in stray), 'the wires must be aqua and lie outside the mask')
        else:
            need(not stray, 'image not black outside its mask at %s' % (stray[:3],))
        if 251 <= rid <= 269:
            top = min((y for y, row in enumerate(mask) for p in row if p == 0), default=32)
            need(rid == 269 or top >= 8, 'a ground strip fills only the bottom rows')
        if 221 <= rid <= 239:
            need(0 in mask[0], 'a platform reaches the top edge of its square')
        return image, mask

    def drawn(rid, why, image_at, mask_at):
        """The pair's mask is mask_at(x, y) and its image image_at(x, y, that mask's pixel) throughout."""
        image, mask = pair(rid)
        need(all(mask[y][x] == mask_at(x, y) and p == image_at(x, y, mask[y][x])
                 for y, row in enumerate(image) for x, p in enumerate(row)), why)

    dot = lambda x, y: x % 2 == 0 and y % 2 == 0

    ids = [201, 203, 205, 207, 211, 213, 215, 217, *range(221, 241, 2), *range(251, 271, 2), *range(281, 301, 2), 311]
    return ([(f'{rid}/{rid + 1}', functools.partial(pair, rid)) for rid in ids] +
            [(f'{rid}/{rid + 1} hurt', lambda rid=rid, normal=normal: drawn(
                rid, 'not white on the mask of the normal look', lambda x, y, m: WHITE if m == 0 else 0,
                lambda x, y: pair(normal)[1][y][x]))
             for rid, normal in ((203, 201), (207, 205))] +
            [(f'{rid}/{rid + 1} as {same}/{same + 1}', lambda rid=rid, same=same: need(pair(rid) == pair(same), 'not the same'))
             for rid, same in ((253, 251), (239, 217))] +
            [('269/270 blank', lambda: drawn(269, 'not all black with an all-white mask', lambda x, y, m: 0,
                                             lambda x, y: WHITE)),
             ('311/312 lattice', lambda: drawn(311, 'not the red lattice with its mask',
                                               lambda x, y, m: 0xFF0000 if dot(x, y) else 0,
                                               lambda x, y: 0 if dot(x, y) else WHITE)),
             *[(f'icon-501-{n}', lambda n=n: need(load(f'icon-501-{n}')[:2] == (n, n), 'icon size')) for n in (16, 32)]])


# id: (event, channels, rate, bits, length in ms, pitch contour or None)
SOUNDS = {
    601: ("bounce", 2, 11025, 8, 74, "rise"),
    602: ("miss", 2, 11025, 8, 216, "fall"),
    603: ("game over", 2, 11025, 8, 251, "fall"),
    604: ("stomp", 2, 11025, 8, 170, None),
    605: ("dissolve", 1, 11025, 8, 34, None),
    606: ("hurry", 1, 22050, 8, 912, None),
}

def pitch(samples, rate):
    """Fundamental frequency from the period of a Schmitt-triggered zero crossing (None in silence)."""
    hyst = 0.1 * max(abs(x) for x in samples)
    armed, rises = False, []
    for i, x in enumerate(samples):
        if x < -hyst:
            armed = True
        elif x > hyst and armed:
            armed = False
            rises.append(i)
    return (len(rises) - 1) * rate / (rises[-1] - rises[0]) if len(rises) >= 3 else None


def check_wave(path, channels, rate, bits, ms, contour):
    data = pathlib.Path(path).read_bytes()
    need(len(data) >= 44, f"only {len(data)} bytes, too short for a WAVE header")
    header = struct.unpack_from("<4sI4s4sIHHIIHH4sI", data)
    size, align = header[-1], channels * bits // 8
    # RIFF sizes agreeing with the file, one 16-byte PCM "fmt " chunk, then "data" to the end (padded to even).
    expected = (b"RIFF", len(data) - 8, b"WAVE", b"fmt ", 16, 1, channels, rate, rate * align, align, bits,
                b"data", len(data) - 44 - (size & 1))
    need(header == expected and size % align == 0,
         f"header {header}, expected {expected} with whole {align}-byte frames")
    frames, length = size // align, (rate * ms + 500) // 1000
    need(abs(frames - length) <= 1, f"{frames} frames, expected {length} ({ms} ms at {rate} Hz)")
    # Levels are fractions of full scale: every channel has an rms of 0.05 at least (less is as good as silent),
    # a peak of 0.9 at most (more is at or near clipping) and a mean within 0.05 of the midpoint; the louder side
    # peaks at 0.55 at least. The first and last frames are within 2 steps of the midpoint, the first and last
    # half millisecond below 0.25 (no click), and a sweep's late pitch 1.25 times its early one (or less, falling).
    chans = [[(b - 128) / 128.0 for b in data[44 + c:44 + size:channels]] for c in range(channels)]
    worst_rms, worst_peak = 0.0, 0.0
    ramp = max(1, int(rate * 0.5 / 1000))
    for c, s in enumerate(chans):
        name = "channel" + ("" if channels == 1 else (" left", " right")[c])
        rms = (sum(x * x for x in s) / len(s)) ** 0.5
        peak = max(abs(x) for x in s)
        dc = sum(s) / len(s)
        worst_rms, worst_peak = max(worst_rms, rms), max(worst_peak, peak)
        need(rms >= 0.05, f"{name} nearly silent (rms {rms:.3f} < 0.05)")
        need(peak <= 0.9, f"{name} clips (peak {peak:.2f} > 0.9)")
        need(abs(dc) <= 0.05, f"{name} has a DC offset of {dc:+.3f}")
        for where, edge, ramped in (("first", s[0], s[:ramp]), ("last", s[-1], s[-ramp:])):
            need(abs(edge) * 128 <= 2, f"{name} {where} sample is {round(edge * 128) + 128}, not silence")
            need(max(abs(x) for x in ramped) <= 0.25, f"{name} jumps within the {where} 0.5 ms (click)")
    # A panned sound may be quieter on one side; the louder side sets the level.
    need(worst_peak >= 0.55, f"too quiet (peak {worst_peak:.2f} < 0.55)")
    if contour:
        mono = [sum(f) / channels for f in zip(*chans)]
        n = len(mono)
        early, late = (pitch(mono[int(a * n):int(b * n)], rate) for a, b in ((0.15, 0.35), (0.65, 0.85)))
        need(early and late, "no clear pitch to follow")
        swept = late >= early * 1.25 if contour == "rise" else late * 1.25 <= early
        need(swept, f"pitch should {contour} but goes {early:.0f} -> {late:.0f} Hz")
    return f"{channels} ch, {rate} Hz, {bits} bit, {frames} frames, rms {worst_rms:.2f}, peak {worst_peak:.2f}"


# name -> (shortest seconds, longest seconds, loops)
EXPECTED = {
    "A_013GMW.MID": (20.0, 40.0, False),  # title tune, played once
    "A_002GMW.MID": (30.0, 60.0, True),   # round theme, loops
    "A_004GMW.MID": (20.0, 40.0, True),   # boss theme, loops
    "A_114GMW.MID": (3.0, 8.0, False),    # high-score fanfare, played once
}

DATA_BYTES = {0x8: 2, 0x9: 2, 0xA: 2, 0xB: 2, 0xC: 1, 0xD: 1, 0xE: 2}


def read_varlen(data, pos, end):
    value = 0
    for pos in range(pos, min(pos + 4, end)):
        value = (value << 7) | (data[pos] & 0x7F)
        if not data[pos] & 0x80:
            return value, pos + 1
    raise Fault("variable-length number longer than 4 bytes or past the end of its chunk")


def parse_track(data, pos, end, index):
    """Returns (events, end_tick); an event is (tick, kind, payload)."""
    events, tick, status = [], 0, None
    while pos < end:
        delta, pos = read_varlen(data, pos, end)
        tick += delta
        first = data[pos] if pos < end else None
        if first == 0xFF and pos + 2 <= end:
            meta_type = data[pos + 1]
            length, pos = read_varlen(data, pos + 2, end)
            payload, pos, status = bytes(data[pos:pos + length]), pos + length, None
            need(pos <= end, f"track {index}: meta event longer than its chunk")
            if meta_type == 0x2F:
                need(length == 0 and pos == end, f"track {index}: end-of-track with data or bytes after it")
                return events, tick
            events.append((tick, ("meta", meta_type), payload))
        elif first is not None and first < 0xF0:
            if first & 0x80:
                status, pos = first, pos + 1
            elif status is None:
                raise Fault(f"track {index}: data byte 0x{first:02X} without a running status")
            payload = bytes(data[pos:pos + DATA_BYTES[status >> 4]])
            pos += len(payload)
            need(pos <= end and all(b < 0x80 for b in payload),
                 f"track {index}: channel event cut off or a data byte above 127 at tick {tick}")
            events.append((tick, ("chan", status >> 4, status & 0x0F), payload))
        else:
            raise Fault(f"track {index}: event cut off or a system message at tick {tick}")
    raise Fault(f"track {index}: no end-of-track event")


def check_midi(path, shortest, longest, loops):
    data = pathlib.Path(path).read_bytes()
    need(len(data) >= 14 and data[0:4] == b"MThd" and int.from_bytes(data[4:8], "big") == 6,
         "no MThd header of 6 bytes")
    fmt, ntrks, division = (int.from_bytes(data[i:i + 2], "big") for i in (8, 10, 12))
    need(fmt == 1 or (fmt == 0 and ntrks == 1), f"format {fmt} with {ntrks} tracks")
    need(0 < division < 0x8000, f"division 0x{division:04X} is not ticks per quarter note")
    pos, tracks = 14, []
    while pos < len(data):
        length = int.from_bytes(data[pos + 4:pos + 8], "big")
        start, end = pos + 8, pos + 8 + length
        need(end <= len(data), f"chunk {len(tracks)} claims {length} bytes, only {len(data) - start} left")
        if data[pos:pos + 4] == b"MTrk":
            tracks.append(parse_track(data, start, end, len(tracks)))
        pos = end
    need(len(tracks) == ntrks, f"header says {ntrks} tracks, file has {len(tracks)}")
    # Balanced notes in every track, and the channels that sound.
    channels, first_on, last_off = set(), None, 0
    for index, (events, _) in enumerate(tracks):
        sounding = {}
        for tick, code, channel, key, velocity in ((tick, *kind[1:], *payload) for tick, kind, payload in events
                                                   if kind[:2] in (("chan", 0x8), ("chan", 0x9))):
            if code == 0x9 and velocity > 0:
                need((channel, key) not in sounding, f"track {index}: key {key} struck again at tick {tick} while sounding")
                sounding[channel, key] = tick
                channels.add(channel)
                first_on = tick if first_on is None else min(first_on, tick)
            else:
                need(sounding.pop((channel, key), None) is not None,
                     f"track {index}: note-off for silent key {key} at tick {tick}")
                last_off = max(last_off, tick)
        need(not sounding, f"track {index}: keys never released, as (channel from 0, key): tick struck: {sounding}")
    need(first_on is not None, "no notes at all")
    need(9 in channels and len(channels) >= 3,
         f"channels {sorted(c + 1 for c in channels)}: want drums (10) and at least 3 parts")
    tempos, signatures = (sorted(((tick, payload) for events, _ in tracks for tick, kind, payload in events
                                  if kind == ("meta", meta)), key=lambda item: item[0]) for meta in (0x51, 0x58))
    need(all(len(p) == 3 and int.from_bytes(p, "big") for _, p in tempos) and all(len(p) == 4 for _, p in signatures),
         "bad tempo or time signature event")
    end_tick = max(end for _, end in tracks)
    # Each stretch between tempo changes at its tempo (half a second a quarter note before the first).
    ticks = [0, *(tick for tick, _ in tempos), end_tick]
    usecs = [500000, *(int.from_bytes(p, "big") for _, p in tempos)]
    seconds = sum((b - a) * usec for a, b, usec in zip(ticks, ticks[1:], usecs)) / division / 1e6
    need(shortest <= seconds <= longest, f"lasts {seconds:.2f} s, want {shortest:g} to {longest:g} s")
    detail = f"{seconds:.2f} s, {len(tracks)} tracks, channels {sorted(c + 1 for c in channels)}"
    if loops:
        # Bar by bar to the end, each as long as the last time signature before it says (4/4 before the first).
        bars = [0]
        while bars[-1] < end_tick:
            numerator, power = ([p for tick, p in signatures if tick <= bars[-1]] or [b"\x04\x02"])[-1][:2]
            bars.append(bars[-1] + 4 * division * numerator // 2 ** power)
        need(bars[-1] == end_tick, f"loop ends at tick {end_tick}, not on a bar line (the next one at {bars[-1]})")
        need(first_on < division and last_off >= end_tick - division,
             f"loop starts with {first_on} or ends with {end_tick - last_off} ticks of silence")
        detail += f", loops after {len(bars) - 1} bars"
    return detail


def main(argv):
    kinds = {
        'sounds': lambda folder: [(f'{sid}.wav ({event})', functools.partial(check_wave, f'{folder}/{sid}.wav', *form))
                                  for sid, (event, *form) in SOUNDS.items()],
        'music': lambda folder: [(name, functools.partial(check_midi, os.path.join(folder, name), *args))
                                 for name, args in EXPECTED.items()],
        'bitmaps': bitmap_checks,
    }
    if len(argv) != 3 or argv[1] not in kinds or not os.path.isdir(argv[2]):
        print('usage: check_resources.py sounds|music|bitmaps DIRECTORY', file=sys.stderr)
        return 2
    checks, failed = kinds[argv[1]](argv[2]), 0
    for name, run in checks:
        try:
            detail = run()
            print(f'PASS {name}' + (f': {detail}' if isinstance(detail, str) else ''))
        except (Fault, OSError, struct.error) as error:
            print(f'FAIL {name}: {error}')
            failed += 1
    print(f'{len(checks) - failed} passed, {failed} failed')
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
