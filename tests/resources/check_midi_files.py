#!/usr/bin/env python3
"""Checks Ruvo's four background-music MIDI files (usage: check_midi_files.py DIRECTORY):
structure, balanced notes, playing time, loops that end on a bar line with nothing sounding,
drums and at least three parts."""
# SPDX-License-Identifier: MIT

import os
import sys

# name -> (shortest seconds, longest seconds, loops)
EXPECTED = {
    "A_013GMW.MID": (20.0, 40.0, False),  # title tune, played once
    "A_002GMW.MID": (30.0, 60.0, True),   # round theme, loops
    "A_004GMW.MID": (20.0, 40.0, True),   # boss theme, loops
    "A_114GMW.MID": (3.0, 8.0, False),    # high-score fanfare, played once
}

DATA_BYTES = {0x8: 2, 0x9: 2, 0xA: 2, 0xB: 2, 0xC: 1, 0xD: 1, 0xE: 2}


class MidiError(Exception):
    pass


def read_varlen(data, pos, end):
    value = 0
    for _ in range(4):
        if pos >= end:
            raise MidiError("variable-length number runs past the end of its chunk")
        value = (value << 7) | (data[pos] & 0x7F)
        pos += 1
        if not data[pos - 1] & 0x80:
            return value, pos
    raise MidiError("variable-length number longer than 4 bytes")


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
            if pos > end:
                raise MidiError(f"track {index}: meta event longer than its chunk")
            if meta_type == 0x2F:
                if length != 0 or pos != end:
                    raise MidiError(f"track {index}: end-of-track with data or bytes after it")
                return events, tick
            events.append((tick, ("meta", meta_type), payload))
        elif first in (0xF0, 0xF7):
            length, pos = read_varlen(data, pos + 1, end)
            pos, status = pos + length, None
        elif first is not None and first < 0xF0:
            if first & 0x80:
                status, pos = first, pos + 1
            elif status is None:
                raise MidiError(f"track {index}: data byte 0x{first:02X} without a running status")
            payload = bytes(data[pos:pos + DATA_BYTES[status >> 4]])
            pos += len(payload)
            if pos > end or any(b & 0x80 for b in payload):
                raise MidiError(f"track {index}: channel event cut off or a data byte above 127 at tick {tick}")
            events.append((tick, ("chan", status >> 4, status & 0x0F), payload))
        else:
            raise MidiError(f"track {index}: event cut off or a system message at tick {tick}")
    raise MidiError(f"track {index}: no end-of-track event")


def read_smf(data):
    if len(data) < 14 or data[0:4] != b"MThd" or int.from_bytes(data[4:8], "big") != 6:
        raise MidiError("no MThd header of 6 bytes")
    fmt, ntrks, division = (int.from_bytes(data[i:i + 2], "big") for i in (8, 10, 12))
    if fmt not in (0, 1) or (fmt == 0 and ntrks != 1):
        raise MidiError(f"format {fmt} with {ntrks} tracks")
    if division == 0 or division & 0x8000:
        raise MidiError(f"division 0x{division:04X} is not ticks per quarter note")
    pos, tracks = 14, []
    while pos < len(data):
        length = int.from_bytes(data[pos + 4:pos + 8], "big")
        start, end = pos + 8, pos + 8 + length
        if end > len(data):
            raise MidiError(f"chunk {len(tracks)} claims {length} bytes, only {len(data) - start} left")
        if data[pos:pos + 4] == b"MTrk":
            tracks.append(parse_track(data, start, end, len(tracks)))
        pos = end
    if len(tracks) != ntrks:
        raise MidiError(f"header says {ntrks} tracks, file has {len(tracks)}")
    return division, tracks


def check_notes(tracks):
    """Balanced notes per track; returns (channels with notes, first on, last off)."""
    channels, first_on, last_off = set(), None, 0
    for index, (events, end_tick) in enumerate(tracks):
        sounding = {}
        for tick, kind, payload in events:
            if kind[0] != "chan" or kind[1] not in (0x8, 0x9):
                continue
            key = (kind[2], payload[0])
            if kind[1] == 0x9 and payload[1] > 0:
                if key in sounding:
                    raise MidiError(f"track {index}: key {payload[0]} struck again at tick {tick} while sounding")
                sounding[key] = tick
                channels.add(kind[2])
                first_on = tick if first_on is None else min(first_on, tick)
            else:
                if sounding.pop(key, None) is None:
                    raise MidiError(f"track {index}: note-off for silent key {payload[0]} at tick {tick}")
                last_off = max(last_off, tick)
        if sounding:
            (channel, key), tick = next(iter(sounding.items()))
            raise MidiError(f"track {index}: key {key} on channel {channel + 1} from tick {tick} never released")
    if first_on is None:
        raise MidiError("no notes at all")
    return channels, first_on, last_off


def meta_events(tracks, meta_type):
    return sorted(((tick, payload) for events, _ in tracks
                   for tick, kind, payload in events if kind == ("meta", meta_type)), key=lambda item: item[0])


def seconds_at(tick, tempos, division):
    seconds, last_tick, usec = 0.0, 0, 500000
    for change_tick, payload in tempos:
        if change_tick >= tick:
            break
        seconds += (change_tick - last_tick) * usec / division / 1e6
        last_tick, usec = change_tick, int.from_bytes(payload, "big")
    return seconds + (tick - last_tick) * usec / division / 1e6


def bar_lines(end_tick, signatures, division):
    """Yields the tick of every bar line up to end_tick (4/4 until told otherwise)."""
    changes = [(tick, 4 * division * p[0] // (2 ** p[1])) for tick, p in signatures]
    bar_ticks, tick = 4 * division, 0
    while tick <= end_tick:
        while changes and changes[0][0] <= tick:
            bar_ticks = changes.pop(0)[1]
        yield tick
        tick += bar_ticks


def check_file(path, shortest, longest, loops):
    with open(path, "rb") as handle:
        division, tracks = read_smf(handle.read())
    channels, first_on, last_off = check_notes(tracks)
    if 9 not in channels or len(channels) < 3:
        raise MidiError(f"channels {sorted(c + 1 for c in channels)}: want drums (10) and at least 3 parts")
    tempos, signatures = meta_events(tracks, 0x51), meta_events(tracks, 0x58)
    if any(len(p) != 3 or int.from_bytes(p, "big") == 0 for _, p in tempos) or any(len(p) != 4 for _, p in signatures):
        raise MidiError("bad tempo or time signature event")
    end_tick = max(end for _, end in tracks)
    seconds = seconds_at(end_tick, tempos, division)
    if not shortest <= seconds <= longest:
        raise MidiError(f"lasts {seconds:.2f} s, want {shortest:g} to {longest:g} s")
    detail = f"{seconds:.2f} s, {len(tracks)} tracks, channels {sorted(c + 1 for c in channels)}"
    if loops:
        bars = list(bar_lines(end_tick, signatures, division))
        if bars[-1] != end_tick:
            raise MidiError(f"loop ends at tick {end_tick}, not on a bar line (last bar line at {bars[-1]})")
        if first_on >= division or last_off < end_tick - division:
            raise MidiError(f"loop starts with {first_on} or ends with {end_tick - last_off} ticks of silence")
        detail += f", loops after {len(bars) - 1} bars"
    return detail


def main(argv):
    if len(argv) != 2 or not os.path.isdir(argv[1]):
        print("usage: check_midi_files.py DIRECTORY", file=sys.stderr)
        return 2
    failed = 0
    for name, args in EXPECTED.items():
        try:
            print(f"PASS {name}: {check_file(os.path.join(argv[1], name), *args)}")
        except (MidiError, OSError) as error:
            print(f"FAIL {name}: {error}")
            failed += 1
    print(f"{len(EXPECTED) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
