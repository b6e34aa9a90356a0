#include "engine/FeatureSet.h"

#include <algorithm>

FeatureSet::FeatureSet(FeatureSet&& other) noexcept
{
    *this = std::move(other);
}

FeatureSet& FeatureSet::operator=(FeatureSet&& other) noexcept
{
    if (this == &other)
        return *this;
    frames = std::move(other.frames);
    count = other.count;
    normalized = std::move(other.normalized);
    segment_count = other.segment_count;
    std::copy_n(other.segment_start, MAX_SEGMENTS, segment_start);
    std::copy_n(other.segment_end, MAX_SEGMENTS, segment_end);
    other.reset();
    return *this;
}

void FeatureSet::reset()
{
    frames.reset();
    count = 0;
    normalized.reset();
    segment_count = 0;
    std::fill_n(segment_start, MAX_SEGMENTS, 0);
    std::fill_n(segment_end, MAX_SEGMENTS, 0);
}

void FeatureSet::allocate(std::int32_t frame_count)
{
    reset();
    if (frame_count <= 0)
        return;
    frames = std::make_unique<std::int32_t[]>(static_cast<std::size_t>(frame_count) * BANDS);
    count = frame_count;
}

void FeatureSet::allocate_normalized()
{
    if (count <= 0)
        return;
    normalized = std::make_unique<std::int16_t[]>(static_cast<std::size_t>(count) * BANDS);
}

FeatureSet FeatureSet::clone() const
{
    FeatureSet copy;
    std::size_t values = count > 0 ? static_cast<std::size_t>(count) * BANDS : 0;
    if (frames && values) {
        copy.frames = std::make_unique<std::int32_t[]>(values);
        std::copy_n(frames.get(), values, copy.frames.get());
    }
    if (normalized && values) {
        copy.normalized = std::make_unique<std::int16_t[]>(values);
        std::copy_n(normalized.get(), values, copy.normalized.get());
    }
    copy.count = count;
    copy.segment_count = segment_count;
    std::copy_n(segment_start, MAX_SEGMENTS, copy.segment_start);
    std::copy_n(segment_end, MAX_SEGMENTS, copy.segment_end);
    return copy;
}
