#!/usr/bin/env python3
"""Writes the About box's sound: a soft two-tone plink, 0.3 s, 22.05 kHz mono."""
import math
import struct
import sys
import wave

RATE = 22050
LENGTH = 0.3

def sample(t):
    envelope = math.exp(-t * 14.0) * min(1.0, t * 400.0)
    tone = 0.7 * math.sin(2 * math.pi * 1568.0 * t) + 0.3 * math.sin(2 * math.pi * 2352.0 * t)
    return 0.35 * envelope * tone

def main(path):
    frames = bytearray()
    for i in range(int(RATE * LENGTH)):
        frames += struct.pack('<h', int(round(sample(i / RATE) * 32767)))
    with wave.open(path, 'wb') as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(bytes(frames))

if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'src/resources/sounds/plink.wav')
