#!/usr/bin/env python3
"""Writes Kuvella's snap sound: a soft, short chime.

Usage: make-wav.py OUT.wav

16-bit mono PCM at 22050 Hz, 90 ms: a 1500 Hz tone with a quieter octave
above it, a 2 ms rise and an exponential fall, peaking near -12 dBFS.
Pure arithmetic, so every run writes the same bytes.
"""

import math
import struct
import sys
import wave

RATE = 22050
LENGTH = 0.090      # seconds
ATTACK = 0.002      # seconds
DECAY = 0.018       # time constant of the fall, seconds
TONE = 1500.0       # Hz
OCTAVE_GAIN = 0.35  # the upper partial, relative to the tone
PEAK_DBFS = -12.0
FADE = 0.004        # last few ms go to silence, so the end never clicks


def envelope(t):
    if t < ATTACK:
        rise = t / ATTACK
        return rise * rise * (3 - 2 * rise)
    e = math.exp(-(t - ATTACK) / DECAY)
    tail = LENGTH - t
    if tail < FADE:
        e *= tail / FADE
    return e


def samples():
    n = int(RATE * LENGTH)
    raw = []
    for i in range(n):
        t = i / RATE
        # The octave dies away faster, leaving the fundamental's softer ring.
        s = math.sin(2 * math.pi * TONE * t)
        s += OCTAVE_GAIN * math.exp(-t / 0.010) * math.sin(4 * math.pi * TONE * t)
        raw.append(s * envelope(t))
    peak = max(abs(v) for v in raw)
    gain = 10 ** (PEAK_DBFS / 20) / peak
    return [round(v * gain * 32767) for v in raw]


def main(argv):
    if len(argv) != 1:
        raise SystemExit("usage: make-wav.py OUT.wav")
    data = b"".join(struct.pack("<h", v) for v in samples())
    with wave.open(argv[0], "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data)


if __name__ == "__main__":
    main(sys.argv[1:])
