#!/usr/bin/env python3
"""Writes Data/keyclick.wav, the click the device panel plays for a key.

The sound is synthesised here, not recorded: a few milliseconds of decaying
noise for the attack, followed by two short damped tones (a bright tick and a
lower body), 22050 Hz mono, 16 bit, about 30 ms. The noise comes from a fixed
linear congruential generator, so every run writes the same bytes.

Usage: tools/make_keyclick.py [--out FILE] [--check]
  --check  only verify that FILE holds exactly what this script writes.
Python 3 standard library only.
"""

import argparse
import io
import math
import os
import struct
import sys
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)

RATE = 22050
LENGTH = 0.030  # seconds


def samples():
    seed = 0x2545F491
    out = []
    count = int(RATE * LENGTH)
    for n in range(count):
        t = n / RATE
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        noise = (seed / 0x3FFFFFFF) - 1.0
        attack = noise * math.exp(-t / 0.0012)
        tick = math.sin(2 * math.pi * 3400 * t) * math.exp(-t / 0.0035)
        body = math.sin(2 * math.pi * 950 * t) * math.exp(-t / 0.0070)
        value = 0.45 * attack + 0.35 * tick + 0.30 * body
        # A short fade-out so the end does not pop.
        fade = min(1.0, (count - n) / (RATE * 0.004))
        out.append(max(-1.0, min(1.0, value * fade)))
    return out


def wav_bytes():
    buf = io.BytesIO()
    with wave.open(buf, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", int(round(s * 32767 * 0.8))) for s in samples()))
    return buf.getvalue()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(REPO, "Data", "keyclick.wav"))
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    data = wav_bytes()
    if args.check:
        try:
            with open(args.out, "rb") as f:
                same = f.read() == data
        except OSError:
            same = False
        if not same:
            print(f"{args.out} differs from what {os.path.basename(__file__)} writes", file=sys.stderr)
            return 1
        return 0
    with open(args.out, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
