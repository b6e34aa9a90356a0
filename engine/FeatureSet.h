#pragma once

#include <cstdint>
#include <memory>

// One analysed recording: `count` frames of four band amplitudes. A template's
// sets also carry the normalised values and up to three segments.
//
// A set owns its two arrays. It moves between owners (a template takes over
// the sets it is built from) and is never copied implicitly, so exactly one
// owner frees the arrays. A moved-from set is empty.
struct FeatureSet {
    static constexpr int BANDS = 4;
    static constexpr int MAX_SEGMENTS = 3;

    // count × 4 band amplitudes, frame-major (the four bands of frame 0, then frame 1 …).
    std::unique_ptr<std::int32_t[]> frames;
    std::int32_t count = 0;
    // count × 4 values in 0 … 1024, filled only by template preparation.
    std::unique_ptr<std::int16_t[]> normalized;
    // Templates only: 1 … 3 segments, [segment_start[k], segment_end[k]) in frames.
    std::int32_t segment_count = 0;
    std::int32_t segment_start[MAX_SEGMENTS] {};
    std::int32_t segment_end[MAX_SEGMENTS] {};

    FeatureSet() = default;
    FeatureSet(FeatureSet&& other) noexcept;
    FeatureSet& operator=(FeatureSet&& other) noexcept;
    FeatureSet(const FeatureSet&) = delete;
    FeatureSet& operator=(const FeatureSet&) = delete;

    // Frees both arrays and zeroes every member.
    void reset();
    // Replaces the contents with `frame_count` zeroed frames (no normalised values, no segments).
    // A count ≤ 0 leaves the set empty.
    void allocate(std::int32_t frame_count);
    // Adds a zeroed normalised array of count × 4 values.
    void allocate_normalized();
    // An independent deep copy.
    FeatureSet clone() const;

    bool empty() const { return count <= 0 || !frames; }
    std::int32_t* frame(std::int32_t index) { return frames.get() + index * BANDS; }
    const std::int32_t* frame(std::int32_t index) const { return frames.get() + index * BANDS; }
};
