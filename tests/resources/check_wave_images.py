#!/usr/bin/env python3
"""Checks the six sound effects written by tools/mksounds (usage: check_wave_images.py SOUNDDIR).

For each of 601.wav .. 606.wav: a RIFF image of one 16-byte PCM "fmt " chunk and one "data"
chunk with every size agreeing; the format and length of the table below; sound on every
channel without clipping or DC offset; silent first and
last frames with a ramp over the first and last half millisecond; and the sweeps' pitch contour.
Prints a line per file and "N passed, M failed"; exits 1 when anything failed."""
# SPDX-License-Identifier: MIT

import struct
import sys

# id: (event, channels, rate, bits, length in ms, pitch contour or None)
SOUNDS = {
    601: ("bounce", 2, 11025, 8, 74, "rising"),
    602: ("miss", 2, 11025, 8, 216, "falling"),
    603: ("game over", 2, 11025, 8, 251, "falling"),
    604: ("stomp", 2, 11025, 8, 170, None),
    605: ("dissolve", 1, 11025, 8, 34, None),
    606: ("hurry", 1, 22050, 8, 912, None),
}

MIN_RMS = 0.05          # below this a channel is as good as silent
MIN_PEAK = 0.55         # loudest sample, as a fraction of full scale
MAX_PEAK = 0.90         # above this the sound is at or near clipping
MAX_DC = 0.05           # mean offset from the 128 midpoint
EDGE_LSB = 2            # first/last frame within this many steps of 128
RAMP_MS = 0.5           # the first and last RAMP_MS ...
RAMP_PEAK = 0.25        # ... stay below this fraction of full scale
PITCH_RATIO = 1.25      # late/early pitch ratio a sweep must exceed


class Fault(Exception):
    pass


def parse_riff(data, channels, rate, bits):
    """Checks the chunk layout and format fields; returns (frames, pcm bytes)."""
    if len(data) < 44:
        raise Fault(f"only {len(data)} bytes, too short for a WAVE header")
    header = struct.unpack_from("<4sI4s4sIHHIIHH4sI", data)
    size, align = header[-1], channels * bits // 8
    # RIFF sizes agreeing with the file, one 16-byte PCM "fmt " chunk, then "data" to the end (padded to even).
    expected = (b"RIFF", len(data) - 8, b"WAVE", b"fmt ", 16, 1, channels, rate, rate * align, align, bits,
                b"data", len(data) - 44 - (size & 1))
    if header != expected or size % align:
        raise Fault(f"header {header}, expected {expected} with whole {align}-byte frames")
    return size // align, data[44:44 + size]


def pitch(samples, rate):
    """Fundamental frequency from the period of a Schmitt-triggered zero crossing."""
    peak = max(abs(x) for x in samples)
    if peak == 0:
        return None
    hyst = 0.1 * peak
    armed, rises = False, []
    for i, x in enumerate(samples):
        if x < -hyst:
            armed = True
        elif x > hyst and armed:
            armed = False
            rises.append(i)
    if len(rises) < 3:
        return None
    return (len(rises) - 1) * rate / (rises[-1] - rises[0])


def check_samples(pcm, channels, rate, contour):
    """Level, ends and pitch checks; returns (rms, peak) of the loudest channel."""
    chans = [[(b - 128) / 128.0 for b in pcm[c::channels]] for c in range(channels)]
    faults = []
    worst_rms, worst_peak = 0.0, 0.0
    ramp = max(1, int(rate * RAMP_MS / 1000))
    for c, s in enumerate(chans):
        name = "" if channels == 1 else (" left", " right")[c]
        rms = (sum(x * x for x in s) / len(s)) ** 0.5
        peak = max(abs(x) for x in s)
        dc = sum(s) / len(s)
        worst_rms, worst_peak = max(worst_rms, rms), max(worst_peak, peak)
        if rms < MIN_RMS:
            faults.append(f"channel{name} nearly silent (rms {rms:.3f} < {MIN_RMS})")
        if peak > MAX_PEAK:
            faults.append(f"channel{name} clips (peak {peak:.2f} > {MAX_PEAK})")
        if abs(dc) > MAX_DC:
            faults.append(f"channel{name} has a DC offset of {dc:+.3f}")
        for where, edge, frames in (("first", s[0], s[:ramp]), ("last", s[-1], s[-ramp:])):
            if abs(edge) * 128 > EDGE_LSB:
                faults.append(f"channel{name} {where} sample is {round(edge * 128) + 128}, not silence")
            elif max(abs(x) for x in frames) > RAMP_PEAK:
                faults.append(f"channel{name} jumps within the {where} {RAMP_MS} ms (click)")
    # A panned sound may be quieter on one side; the louder side sets the level.
    if worst_peak < MIN_PEAK:
        faults.append(f"too quiet (peak {worst_peak:.2f} < {MIN_PEAK})")
    if contour:
        mono = [sum(f) / channels for f in zip(*chans)]
        n = len(mono)
        early = pitch(mono[int(0.15 * n):int(0.35 * n)], rate)
        late = pitch(mono[int(0.65 * n):int(0.85 * n)], rate)
        if early is None or late is None:
            faults.append("no clear pitch to follow")
        elif contour == "rising" and late < early * PITCH_RATIO:
            faults.append(f"pitch should rise but goes {early:.0f} -> {late:.0f} Hz")
        elif contour == "falling" and late * PITCH_RATIO > early:
            faults.append(f"pitch should fall but goes {early:.0f} -> {late:.0f} Hz")
    if faults:
        raise Fault("; ".join(faults))
    return worst_rms, worst_peak


def check_file(path, channels, rate, bits, ms, contour):
    with open(path, "rb") as f:
        frames, pcm = parse_riff(f.read(), channels, rate, bits)
    expected = (rate * ms + 500) // 1000
    if abs(frames - expected) > 1:
        raise Fault(f"{frames} frames, expected {expected} ({ms} ms at {rate} Hz)")
    rms, peak = check_samples(pcm, channels, rate, contour)
    return f"{channels} ch, {rate} Hz, {bits} bit, {frames} frames, rms {rms:.2f}, peak {peak:.2f}"


def main(argv):
    if len(argv) != 2:
        print("usage: check_wave_images.py SOUNDDIR", file=sys.stderr)
        return 2
    failed = 0
    for sid, (event, *form) in SOUNDS.items():
        try:
            print(f"{sid}.wav ({event}): ok: {check_file(f'{argv[1]}/{sid}.wav', *form)}")
        except (Fault, OSError) as e:
            print(f"{sid}.wav ({event}): FAILED: {e}")
            failed += 1
    print(f"{len(SOUNDS) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
