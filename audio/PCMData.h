#pragma once

#include "liba/Buffer.h"

#include <cstdint>

namespace audio {

// One block of uncompressed PCM audio. Copies share the sample bytes through
// liba::Buffer; whoever writes into a block asks the buffer for a private
// writable pointer first. 16-bit samples are little-endian two's complement,
// 8-bit samples unsigned with 128 as silence, channels interleaved.
struct PCMData {
    PCMData() = default;
    PCMData(liba::Buffer data, std::int32_t channels, std::int32_t bits_per_sample,
        std::int32_t sample_rate)
        : data(data)
        , channels(channels)
        , bits_per_sample(bits_per_sample)
        , sample_rate(sample_rate)
    {
    }

    std::int32_t length() const { return data.length(); }
    const std::uint8_t* bytes() const { return data.data(); }

    std::int32_t bytes_per_sample() const { return (bits_per_sample + 7) / 8; }
    // Bytes of one sample frame (one sample of every channel).
    std::int32_t block_size() const { return bytes_per_sample() * channels; }
    // Whole sample frames held; 0 for an empty block or one without a format.
    std::int32_t frames() const
    {
        std::int32_t size = block_size();
        return length() == 0 || size <= 0 ? 0 : length() / size;
    }

    bool same_format(const PCMData& other) const
    {
        return channels == other.channels && bits_per_sample == other.bits_per_sample
            && sample_rate == other.sample_rate;
    }

    liba::Buffer data;
    std::int32_t channels { 0 };
    std::int32_t bits_per_sample { 0 };
    std::int32_t sample_rate { 0 };
};

} // namespace audio
