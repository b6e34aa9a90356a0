#!/usr/bin/python3
"""Writes the recognition prompts beside this script, 22 050 Hz 16-bit mono.

    /usr/bin/python3 assets/skins/Default_Green/sounds/make_prompts.py

start.wav  a rising two-tone chime: speak now
right.wav  a bright major chord, quickly arpeggiated: the name was found
wrong.wav  a soft, low, falling tone: nothing matched

Plain sine partials with a short attack and an exponential decay, so that
the files are the same bytes on every machine.
"""

import math
import os
import struct
import wave

RATE = 22050
PEAK = 0.55 * 32767


def tone(frequency, start, length, decay, glide_to=None):
    """A chime partial: (start, length) in seconds, decay in 1/s, optional falling glide."""
    def sample(t):
        local = t - start
        if local < 0 or local >= length:
            return 0.0
        attack = min(1.0, local / 0.006)
        release = min(1.0, (length - local) / 0.02)
        envelope = attack * release * math.exp(-decay * local)
        if glide_to is None:
            phase = 2 * math.pi * frequency * local
        else:
            # Frequency moves linearly from frequency to glide_to over the tone.
            rate = (glide_to - frequency) / length
            phase = 2 * math.pi * (frequency * local + rate * local * local / 2)
        # A quiet octave above gives the tone a bell-like brightness.
        return envelope * (math.sin(phase) + 0.18 * math.sin(2 * phase))
    return sample


def write(path, duration, partials, gain):
    frames = bytearray()
    for n in range(int(duration * RATE)):
        t = n / RATE
        value = gain * sum(partial(t) for partial in partials)
        frames += struct.pack("<h", int(round(max(-1.0, min(1.0, value)) * PEAK)))
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(bytes(frames))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    # E5 then A5: a rising fourth.
    write(os.path.join(here, "start.wav"), 0.30,
          [tone(659.26, 0.0, 0.14, 14), tone(880.0, 0.11, 0.19, 12)], 0.8)
    # C6, E6, G6 entering 30 ms apart, ringing together.
    write(os.path.join(here, "right.wav"), 0.42,
          [tone(1046.5, 0.0, 0.42, 7), tone(1318.5, 0.03, 0.39, 7),
           tone(1568.0, 0.06, 0.36, 7)], 0.45)
    # From A3 down to E3, soft and rounded.
    write(os.path.join(here, "wrong.wav"), 0.38,
          [tone(220.0, 0.0, 0.38, 5, glide_to=164.81), tone(110.0, 0.0, 0.38, 6)], 0.7)


if __name__ == "__main__":
    main()
