#pragma once

#include "engine/precise/CepstralFrames.h"

#include <cstddef>
#include <cstdint>

// Analysis frames of 512 samples every 220 samples (10 ms at 22 050 Hz).
inline constexpr int CEPSTRAL_FRAME = 512;
inline constexpr int CEPSTRAL_STEP = 220;

// The cepstral frames of a word: pre-emphasis, a Hamming window, a mel
// filter bank of 24 bands between 100 and 4 000 Hz, 13 liftered cepstra of
// its logarithms, cut to the frames whose energy stands clearly above the
// recording's quietest (so the silence around the word does not count),
// mean-normalised over the word and completed with deltas. Samples are
// 16-bit mono at 22 050 Hz: a tag's trimmed recording or the speech of an
// utterance. Too few samples for three frames give an empty result.
CepstralFrames analyse_cepstra(const std::int16_t* samples, std::size_t count);

// The cepstral frames of an utterance: the speech extent of the capture
// (samples after the lead-in), analysed as above; empty without speech or
// without any signal at all.
CepstralFrames analyse_utterance_cepstra(const std::int16_t* samples, std::size_t count);
