#!/bin/sh
# Regenerates the recordings of the ringwise-tool tests: synthetic names as
# 16-bit mono WAV files at 22 050 Hz, each a capture as the program records
# it (speech starting after the 0.2 s lead-in). Needs espeak-ng and sox.
set -eu
cd "$(dirname "$0")"
say() { # name speed pitch text
    espeak-ng -v en -s "$2" -p "$3" -w "/tmp/ringwise-tool-$1.wav" "$4"
    sox "/tmp/ringwise-tool-$1.wav" -r 22050 -c 1 -b 16 -e signed-integer "$1.wav" \
        silence 1 0.01 0.5% reverse silence 1 0.01 0.5% reverse pad 0.4 0.3
    rm -f "/tmp/ringwise-tool-$1.wav"
}
say anna-1 150 50 "Anna Berg"
say anna-2 170 60 "Anna Berg"
say oscar-1 150 50 "Oscar Lindqvist"
say oscar-2 135 42 "Oscar Lindqvist"
