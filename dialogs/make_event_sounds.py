#!/usr/bin/env python3
"""Writes one of the program's event sounds as a short PCM ".wav" file,
synthesised here, so the program folder ships sounds of our own.

Usage: make_event_sounds.py NAME OUTPUT.wav
"""
import math
import os
import random
import struct
import sys
import wave

RATE = 22050  # mono, 16-bit: small files, enough for clicks and chimes


def tone(freq, seconds, decay, start_freq=None):
    """A sine whose pitch glides from start_freq to freq, fading by `decay` per second."""
    count = int(RATE * seconds)
    start_freq = start_freq or freq
    phase = 0.0
    out = []
    for i in range(count):
        t = i / RATE
        f = start_freq + (freq - start_freq) * i / max(count - 1, 1)
        phase += 2 * math.pi * f / RATE
        out.append(math.sin(phase) * math.exp(-decay * t))
    return out


def noise(seconds, decay, seed):
    """A fading burst of noise: the body of a key click."""
    rng = random.Random(seed)  # fixed seed: the same bytes at every build
    return [rng.uniform(-1, 1) * math.exp(-decay * i / RATE) for i in range(int(RATE * seconds))]


def mix(*parts):
    length = max(len(p) for p, _ in parts)
    out = [0.0] * length
    for samples, gain in parts:
        for i, s in enumerate(samples):
            out[i] += s * gain
    return out


def then(*parts):
    out = []
    for p in parts:
        out.extend(p)
    return out


# One sound per event the user can give a sound on the Sounds page. The
# typing sounds start with "Type", so the page lists them first.
SOUNDS = {
    "TypeCharacter": lambda: mix((noise(0.025, 260, 1), 0.35), (tone(2400, 0.025, 200), 0.4)),
    "TypeErase": lambda: mix((noise(0.04, 150, 2), 0.25), (tone(700, 0.04, 90, start_freq=1100), 0.55)),
    "TypeOther": lambda: mix((noise(0.03, 220, 3), 0.3), (tone(1500, 0.03, 160), 0.4)),
    "Action": lambda: then(tone(880, 0.09, 18), tone(1320, 0.16, 14)),
}


def write_wav(path, samples):
    # A short fade at both ends keeps the speaker from clicking.
    edge = min(int(RATE * 0.002), len(samples) // 2)
    for i in range(edge):
        samples[i] *= i / edge
        samples[-1 - i] *= i / edge
    frames = b"".join(struct.pack("<h", int(max(-1.0, min(1.0, s)) * 32000)) for s in samples)
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


def main(argv):
    if len(argv) != 3 or argv[1] not in SOUNDS:
        sys.exit("usage: make_event_sounds.py {%s} OUTPUT.wav" % ",".join(SOUNDS))
    write_wav(argv[2], SOUNDS[argv[1]]())


if __name__ == "__main__":
    main(sys.argv)
