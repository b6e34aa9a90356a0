#pragma once

#include "audio/PCMData.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace audio_test {

inline std::vector<std::uint8_t> read_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(
        reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::uint32_t le32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16
        | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// `frames` frames of 16-bit mono at `rate`; sample i holds the value i (mod 2^16)
// so that any lost, repeated or shifted byte shows.
inline audio::PCMData ramp(std::int32_t frames, std::int32_t rate = 22050, std::int32_t first = 0)
{
    liba::Buffer bytes(frames * 2);
    std::uint8_t* out = bytes.writable_data();
    for (std::int32_t i = 0; i < frames; ++i) {
        auto value = static_cast<std::uint16_t>(first + i);
        out[2 * i] = static_cast<std::uint8_t>(value);
        out[2 * i + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    return audio::PCMData(bytes, 1, 16, rate);
}

inline std::int32_t sample_at(const audio::PCMData& block, std::int32_t index)
{
    return block.bytes()[2 * index] | block.bytes()[2 * index + 1] << 8;
}

// Appends the little-endian bytes of `value` (`size` bytes) or a text tag.
inline void put(std::vector<std::uint8_t>& out, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
inline void put(std::vector<std::uint8_t>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

} // namespace audio_test
