#!/usr/bin/env bash
# Turns the spoken digits of a folder (DIGIT_SPEAKER_INDEX.wav, any rate) into
# captures as the program records them: 2.7 s of 16-bit mono at 22 050 Hz,
# the 0.2 s lead-in first, the word from 0.6 s on, over pink noise at
# -45 dBFS (RMS). The noise is cut from one long repeatable stretch, each
# capture at its own offset, so every run gives the same files.
#
#   tools/eval/prepare-fsdd.sh [SOURCE_DIR] OUT_DIR
set -euo pipefail

if [[ $# -eq 1 ]]; then
    source_dir=/work/shared/data/fsdd
    out_dir=$1
elif [[ $# -eq 2 ]]; then
    source_dir=$1
    out_dir=$2
else
    echo "usage: $0 [SOURCE_DIR] OUT_DIR" >&2
    exit 2
fi
command -v sox >/dev/null || { echo "$0: sox is needed (apt-get install sox)" >&2; exit 2; }

readonly RATE=22050
readonly CAPTURE_SECONDS=2.7
readonly SPEECH_FROM=0.6
readonly NOISE_DBFS=-45
readonly NOISE_SECONDS=60

mkdir -p "$out_dir"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One minute of pink noise, scaled so that its RMS level is NOISE_DBFS.
sox -R -n -r $RATE -b 16 -c 1 "$work/raw-noise.wav" synth $NOISE_SECONDS pinknoise vol 0.1
rms=$(sox "$work/raw-noise.wav" -n stats 2>&1 | awk '/RMS lev dB/ { print $4 }')
gain=$(awk -v target=$NOISE_DBFS -v rms="$rms" 'BEGIN { printf "%.3f", target - rms }')
sox -R "$work/raw-noise.wav" "$work/noise.wav" gain "$gain"

count=0
for source in "$source_dir"/*.wav; do
    name=$(basename "$source" .wav)
    # Offsets step through the noise so that neighbouring captures differ.
    offset=$(awk -v n=$count -v len=$NOISE_SECONDS -v cap=$CAPTURE_SECONDS \
        'BEGIN { printf "%.3f", (n * 0.37) % (len - cap - 0.1) }')
    sox -R "$source" -r $RATE -b 16 -c 1 "$work/speech.wav" rate -v $RATE \
        pad $SPEECH_FROM $CAPTURE_SECONDS trim 0 $CAPTURE_SECONDS
    sox -R "$work/noise.wav" "$work/segment.wav" trim "$offset" $CAPTURE_SECONDS
    sox -R -m -v 1 "$work/speech.wav" -v 1 "$work/segment.wav" -b 16 "$out_dir/$name.wav"
    count=$((count + 1))
done
if [[ -f "$source_dir/LICENSE.md" ]]; then
    cp "$source_dir/LICENSE.md" "$out_dir/LICENSE.md"
fi
echo "prepared $count captures in $out_dir"
