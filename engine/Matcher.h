#pragma once

#include "engine/FeatureSet.h"
#include "engine/SpeechEngine.h"

#include <cstdint>

// Matcher constants, in workspace units (2^20 = distance 1.0).
inline constexpr std::int64_t COARSE_REJECTION = 0x80000;
inline constexpr std::int64_t NO_MATCH_SCORE = 0x200000;
inline constexpr float UNUSABLE_DISTANCE = 3.0f;

// The distance between one prepared template variant and an utterance's raw
// frames: 0 for identical shape, 2.0 when no window position matches, 3.0 for
// unusable input (a variant without normalised values or segments, no frames,
// or an utterance too long for the 512-frame workspace). Uses the engine's
// workspace and leaves it zeroed; allocates nothing.
float compare(SpeechEngine& engine, const FeatureSet& variant, const FeatureSet& utterance);

// The same result computed literally, one window position and one frame at a
// time. compare() takes this path for variants with normalised values outside
// 0 … 1024 (possible only in a damaged file); tests check compare() against it.
float compare_reference(
    SpeechEngine& engine, const FeatureSet& variant, const FeatureSet& utterance);
