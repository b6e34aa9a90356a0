#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The precise matching's view of a recording: `count` frames, 10 ms apart,
// each of DIMENSIONS values (13 mean-normalised cepstra, then their 13 deltas).
struct CepstralFrames {
    static constexpr int CEPSTRA = 13;
    static constexpr int DIMENSIONS = 2 * CEPSTRA;

    std::int32_t count = 0;
    // count × DIMENSIONS values, frame-major.
    std::vector<float> values;

    bool empty() const { return count <= 0; }
    const float* frame(std::int32_t index) const
    {
        return values.data() + static_cast<std::size_t>(index) * DIMENSIONS;
    }
};
