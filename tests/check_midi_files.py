#!/usr/bin/env python3
"""Checks Ruvo's four background-music MIDI files (usage: check_midi_files.py DIRECTORY):
structure, balanced notes, playing time, loops that end on a bar line with nothing sounding,
drums and at least three parts. --self-test feeds the checker hand-made files instead, one
valid and each other broken in one way, and expects exactly the broken ones to be rejected."""

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
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            return value, pos
    raise MidiError("variable-length number longer than 4 bytes")


def parse_track(data, pos, end, index):
    """Returns (events, end_tick); an event is (tick, kind, payload)."""
    events = []
    tick = 0
    status = None
    while pos < end:
        delta, pos = read_varlen(data, pos, end)
        tick += delta
        if pos >= end:
            raise MidiError(f"track {index}: event cut off at the end of the chunk")
        first = data[pos]
        if first == 0xFF:
            if pos + 2 > end:
                raise MidiError(f"track {index}: meta event cut off")
            meta_type = data[pos + 1]
            length, pos = read_varlen(data, pos + 2, end)
            if pos + length > end:
                raise MidiError(f"track {index}: meta event longer than its chunk")
            payload = bytes(data[pos:pos + length])
            pos += length
            status = None
            if meta_type == 0x2F:
                if length != 0:
                    raise MidiError(f"track {index}: end-of-track with data")
                if pos != end:
                    raise MidiError(f"track {index}: {end - pos} bytes after end-of-track")
                return events, tick
            events.append((tick, ("meta", meta_type), payload))
        elif first in (0xF0, 0xF7):
            length, pos = read_varlen(data, pos + 1, end)
            if pos + length > end:
                raise MidiError(f"track {index}: sysex longer than its chunk")
            pos += length
            status = None
        else:
            if first & 0x80:
                if first >= 0xF0:
                    raise MidiError(f"track {index}: system message 0x{first:02X} in a file")
                status = first
                pos += 1
            elif status is None:
                raise MidiError(f"track {index}: data byte 0x{first:02X} without a running status")
            count = DATA_BYTES[status >> 4]
            if pos + count > end:
                raise MidiError(f"track {index}: channel event cut off")
            payload = bytes(data[pos:pos + count])
            if any(b & 0x80 for b in payload):
                raise MidiError(f"track {index}: data byte above 127 at tick {tick}")
            pos += count
            events.append((tick, ("chan", status >> 4, status & 0x0F), payload))
    raise MidiError(f"track {index}: no end-of-track event")


def read_smf(data):
    if len(data) < 14 or data[0:4] != b"MThd":
        raise MidiError("no MThd header")
    if int.from_bytes(data[4:8], "big") != 6:
        raise MidiError("MThd length is not 6")
    fmt, ntrks, division = (int.from_bytes(data[i:i + 2], "big") for i in (8, 10, 12))
    if fmt not in (0, 1):
        raise MidiError(f"format {fmt} (want 0 or 1)")
    if fmt == 0 and ntrks != 1:
        raise MidiError("format 0 with more than one track")
    if division == 0 or division & 0x8000:
        raise MidiError(f"division 0x{division:04X} is not ticks per quarter note")
    pos = 14
    tracks = []
    while pos < len(data):
        if pos + 8 > len(data):
            raise MidiError(f"{len(data) - pos} stray bytes after the last chunk")
        chunk_id = data[pos:pos + 4]
        length = int.from_bytes(data[pos + 4:pos + 8], "big")
        start, end = pos + 8, pos + 8 + length
        if end > len(data):
            raise MidiError(f"chunk {len(tracks)} claims {length} bytes, only {len(data) - start} left")
        if chunk_id == b"MTrk":
            tracks.append(parse_track(data, start, end, len(tracks)))
        pos = end
    if len(tracks) != ntrks:
        raise MidiError(f"header says {ntrks} tracks, file has {len(tracks)}")
    return fmt, division, tracks


def check_notes(tracks):
    """Balanced notes per track; returns (channels with notes, first on, last off)."""
    channels = set()
    first_on, last_off = None, 0
    for index, (events, end_tick) in enumerate(tracks):
        sounding = {}
        for tick, kind, payload in events:
            if kind[0] != "chan" or kind[1] not in (0x8, 0x9):
                continue
            key = (kind[2], payload[0])
            if kind[1] == 0x9 and payload[1] > 0:
                if key in sounding:
                    raise MidiError(f"track {index}: key {payload[0]} on channel {kind[2] + 1} "
                                    f"struck again at tick {tick} while still sounding")
                sounding[key] = tick
                channels.add(kind[2])
                first_on = tick if first_on is None else min(first_on, tick)
            else:
                if key not in sounding:
                    raise MidiError(f"track {index}: note-off for silent key {payload[0]} at tick {tick}")
                del sounding[key]
                last_off = max(last_off, tick)
        if sounding:
            (channel, key), tick = next(iter(sounding.items()))
            raise MidiError(f"track {index}: key {key} on channel {channel + 1} from tick {tick} "
                            f"never released (end-of-track at {end_tick})")
    if first_on is None:
        raise MidiError("no notes at all")
    return channels, first_on, last_off


def meta_events(tracks, meta_type):
    found = [(tick, payload) for events, _ in tracks
             for tick, kind, payload in events if kind == ("meta", meta_type)]
    return sorted(found, key=lambda item: item[0])


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
    bar_ticks = 4 * division
    tick = 0
    while tick <= end_tick:
        while changes and changes[0][0] <= tick:
            bar_ticks = changes.pop(0)[1]
        yield tick
        tick += bar_ticks


def check_data(data, shortest, longest, loops):
    fmt, division, tracks = read_smf(data)
    channels, first_on, last_off = check_notes(tracks)
    if 9 not in channels:
        raise MidiError("no drums (no notes on channel 10)")
    if len(channels) < 3:
        raise MidiError(f"only {len(channels)} channel(s) play notes, want at least 3")
    for tick, payload in meta_events(tracks, 0x51):
        if len(payload) != 3 or int.from_bytes(payload, "big") == 0:
            raise MidiError(f"bad tempo event at tick {tick}")
    signatures = meta_events(tracks, 0x58)
    if any(len(p) != 4 for _, p in signatures):
        raise MidiError("bad time signature event")
    end_tick = max(end for _, end in tracks)
    seconds = seconds_at(end_tick, meta_events(tracks, 0x51), division)
    if not shortest <= seconds <= longest:
        raise MidiError(f"lasts {seconds:.2f} s, want {shortest:g} to {longest:g} s")
    detail = f"{seconds:.2f} s, {len(tracks)} tracks, channels {sorted(c + 1 for c in channels)}"
    if loops:
        bars = list(bar_lines(end_tick, signatures, division))
        if bars[-1] != end_tick:
            raise MidiError(f"loop ends at tick {end_tick}, not on a bar line "
                            f"(last bar line at {bars[-1]})")
        if first_on >= division:
            raise MidiError(f"loop starts with {first_on} ticks of silence")
        if last_off < end_tick - division:
            raise MidiError(f"loop ends with {end_tick - last_off} ticks of silence")
        detail += f", loops after {len(bars) - 1} bars"
    return detail


def varlen(value):
    out = [value & 0x7F]
    while value > 0x7F:
        value >>= 7
        out.append(0x80 | (value & 0x7F))
    return bytes(reversed(out))


def track(*events):
    """events are (delta ticks, raw bytes); end-of-track must be given explicitly."""
    return b"".join(varlen(delta) + raw for delta, raw in events)


def smf(*tracks, header_length=6, ntrks=None):
    head = (b"MThd" + header_length.to_bytes(4, "big") + (1).to_bytes(2, "big")
            + (ntrks or len(tracks)).to_bytes(2, "big") + (480).to_bytes(2, "big"))
    return head + b"".join(b"MTrk" + len(t).to_bytes(4, "big") + t for t in tracks)


def self_test():
    eot = b"\xff\x2f\x00"
    tempo = b"\xff\x51\x03\x07\xa1\x20"       # 120 beats per minute
    meter = b"\xff\x58\x04\x04\x02\x18\x08"  # 4/4
    conductor = track((0, tempo), (0, meter), (3840, eot))  # two bars, 4 s
    lead = track((0, b"\x90\x3c\x64"), (1920, b"\x3c\x00"),  # running status, velocity 0
                 (0, b"\x40\x64"), (1920, b"\x40\x00"), (0, eot))
    bass = track((0, b"\x91\x24\x64"), (3840, b"\x81\x24\x00"), (0, eot))
    drums = track((0, b"\x99\x24\x64"), (240, b"\x89\x24\x00"), (3600, eot))
    good = smf(conductor, lead, bass, drums)
    cases = [
        ("valid loop with running status", good, None),
        ("header length", smf(conductor, lead, bass, drums, header_length=8), "MThd length"),
        ("track count", smf(conductor, lead, bass, drums, ntrks=5), "header says 5"),
        ("truncated file", good[:-3], "claims"),
        ("no end-of-track", smf(conductor, lead[:-4], bass, drums), "no end-of-track"),
        ("bytes after end-of-track", smf(conductor, lead + b"\x00", bass, drums), "after end-of-track"),
        ("data byte without status", smf(conductor, track((0, b"\x3c\x64"), (0, eot)), bass, drums),
         "without a running status"),
        ("note never released", smf(conductor, track((0, b"\x90\x3c\x64"), (3840, eot)), bass, drums),
         "never released"),
        ("release of a silent note", smf(conductor, track((0, b"\x80\x3c\x00"), (3840, eot)), bass, drums),
         "silent key"),
        ("loop ends off the bar line", smf(track((0, tempo), (0, meter), (4080, eot)), lead, bass, drums),
         "not on a bar line"),
        ("loop ends in silence", smf(conductor, track((0, b"\x90\x3c\x64"), (1920, b"\x80\x3c\x00"),
                                                      (1920, eot)), track((0, b"\x91\x24\x64"), (960, b"\x81\x24\x00"),
                                                                          (2880, eot)), drums),
         "ticks of silence"),
        ("no drums", smf(conductor, lead, bass), "no drums"),
        ("too few channels", smf(conductor, lead, drums), "at least 3"),
        ("too long", smf(track((0, b"\xff\x51\x03\x0f\x42\x40"), (0, meter), (3840, eot)),
                         lead, bass, drums), "lasts 8.00 s"),
    ]
    return report((name, lambda data=data: check_data(data, 3.0, 5.0, True), expected)
                  for name, data, expected in cases)


def report(cases):
    """Runs (name, check, expected error or None) cases; prints a line each and a total."""
    passed = failed = 0
    for name, check, expected in cases:
        try:
            detail, error = check(), None
        except (MidiError, OSError) as caught:
            detail, error = None, str(caught)
        ok = error is None if expected is None else error is not None and expected in error
        print(f"{'PASS' if ok else 'FAIL'} {name}: {error or detail or 'accepted'}")
        passed, failed = passed + ok, failed + (not ok)
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    if len(argv) != 2 or not os.path.isdir(argv[1]):
        print("usage: check_midi_files.py DIRECTORY", file=sys.stderr)
        return 2

    def check(name, shortest, longest, loops):
        with open(os.path.join(argv[1], name), "rb") as handle:
            return check_data(handle.read(), shortest, longest, loops)
    return report((name, lambda n=name, a=args: check(n, *a), None) for name, args in EXPECTED.items())


if __name__ == "__main__":
    sys.exit(main(sys.argv))
