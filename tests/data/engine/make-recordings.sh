#!/bin/sh
# Regenerates the engine's speech fixtures: short synthetic utterances as raw
# 16-bit little-endian mono PCM at 22 050 Hz, silence trimmed from both ends.
# The tests place them inside a 2.7 s capture. Needs espeak-ng and sox.
set -eu
cd "$(dirname "$0")"
say() { # name speed pitch voice text
    espeak-ng -v "$4" -s "$2" -p "$3" -w "/tmp/ringwise-$1.wav" "$5"
    sox "/tmp/ringwise-$1.wav" -r 22050 -c 1 -b 16 -e signed-integer -L -t raw "$1.raw" \
        silence 1 0.01 0.5% reverse silence 1 0.01 0.5% reverse
    rm -f "/tmp/ringwise-$1.wav"
}
say margaret-slow 150 50 en "Margaret"
say margaret-fast 180 44 en "Margaret"
say office-slow 150 50 en "office"
say office-fast 180 44 en "office"
say doctor-lee 160 50 en "doctor ... Lee"
say home-phone 160 50 en "home phone"
