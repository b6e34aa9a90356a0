#pragma once

#include "audio/CaptureFormat.h"
#include "audio/PCMData.h"
#include "platform/LittleEndian.h"

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
    return platform::read_u32le(bytes.data() + at);
}

// `frames` frames of 16-bit mono at `rate`; sample i holds the value i (mod 2^16)
// so that any lost, repeated or shifted byte shows.
inline audio::PCMData ramp(std::int32_t frames, std::int32_t rate = 22050, std::int32_t first = 0)
{
    liba::Buffer bytes(frames * 2);
    std::uint8_t* out = bytes.writable_data();
    for (std::int32_t i = 0; i < frames; ++i)
        platform::write_u16le(out + 2 * i, static_cast<std::uint16_t>(first + i));
    return audio::PCMData(bytes, 1, 16, rate);
}

// A block of 16-bit samples, by default in the capture format.
inline audio::PCMData sample_block(const std::vector<std::int16_t>& samples,
    std::int32_t channels = audio::CAPTURE_CHANNELS, std::int32_t rate = audio::CAPTURE_SAMPLE_RATE)
{
    liba::Buffer bytes(static_cast<std::int32_t>(samples.size() * 2));
    std::uint8_t* out = bytes.writable_data();
    for (std::size_t i = 0; i < samples.size(); ++i)
        platform::write_u16le(out + 2 * i, static_cast<std::uint16_t>(samples[i]));
    return audio::PCMData(bytes, channels, 16, rate);
}

// The 16-bit samples a block holds; an odd last byte is no sample.
inline std::vector<std::int16_t> samples_of(const audio::PCMData& block)
{
    std::vector<std::int16_t> samples(static_cast<std::size_t>(block.length() / 2));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = platform::read_i16le(block.bytes() + 2 * i);
    return samples;
}

inline std::int32_t sample_at(const audio::PCMData& block, std::int32_t index)
{
    return platform::read_u16le(block.bytes() + 2 * index);
}

// Appends a four-character chunk tag.
inline void put(std::vector<std::uint8_t>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

} // namespace audio_test
