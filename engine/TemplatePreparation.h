#pragma once

#include "engine/FeatureSet.h"

#include <array>
#include <cstdint>

// Prepares a freshly extracted set for matching, in place: removes each band's
// minimum, cuts the frames into up to three segments at quiet gaps (gaps
// narrowed to 4 frames), and fills `normalized` with the values scaled so that
// the segments have length 1024. A set without frames is left alone.
void prepare_template(FeatureSet& set);

// The three prepared variants of a training recording and where its speech lies.
struct TemplateAnalysis {
    std::array<FeatureSet, 3> variants;
    std::int32_t start = 0; // byte offset of the speech extent
    std::int32_t end = 0; // byte offset one past its end

    // Training fails (nothing is built or stored) unless start < end.
    bool has_speech() const { return start < end; }
};

// Analyses a training recording (16-bit mono at 22 050 Hz, lead-in already
// dropped by the caller) into the three variants of a new template.
TemplateAnalysis create_template(const std::int16_t* samples, std::int32_t byte_count);
