#pragma once

#include "engine/FeatureSet.h"

#include <array>
#include <cstdint>

inline constexpr int FRAME_LENGTH = 512;
// Frame steps in samples: the utterance and template variant 0, variant 1, variant 2.
inline constexpr int UTTERANCE_STEP = 384;
inline constexpr int VARIANT_STEPS[3] = { 384, 406, 362 };

// Finds the speech extent and cuts it into 512-sample frames every `step`
// samples. With an extent, writes its byte offsets (2 × sample index) to
// start_out / end_out when given; without one the set is empty and the outputs
// are untouched. An extent shorter than one frame gives no frames. Samples are
// 16-bit signed mono at 22 050 Hz; `byte_count` ≤ 0 or no samples give an empty set.
FeatureSet extract_features(const std::int16_t* samples, std::int32_t byte_count, std::int32_t step,
    std::int32_t* start_out = nullptr, std::int32_t* end_out = nullptr);

// The frames of an utterance to recognise (step 384). A result with count ≤ 0
// means nothing recognisable.
FeatureSet extract_utterance(const std::int16_t* samples, std::int32_t byte_count);

// The analyses of a training recording, each prepared for matching. Kind 1
// fills set 0 (step 384); kind 3 fills sets 0, 1, 2 (steps 384, 406, 362);
// any other kind leaves all three empty. All sets share one extent, reported
// as byte offsets as by extract_features().
std::array<FeatureSet, 3> extract_template(int kind, const std::int16_t* samples,
    std::int32_t byte_count, std::int32_t* start_out = nullptr, std::int32_t* end_out = nullptr);
