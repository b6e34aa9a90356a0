#pragma once

#include "liba/Stream.h"

#include <cstdint>

namespace audio {

// The header of a RIFF WAVE file: the format chunk's fields, the chunk sizes
// and where the samples start. All numbers are little-endian in the file.
class WAVInfo {
public:
    virtual ~WAVInfo() = default;

    // Hooks for format-specific data after the 16-byte format body.
    virtual bool read_extension(liba::StreamReader&) { return true; }
    virtual bool write_extension(liba::StreamWriter&) { return true; }

    // Reads the header at the stream's current position. The format chunk
    // must follow "WAVE" directly and only its first 16 bytes are read;
    // chunks between it and the "data" chunk are skipped by their sizes.
    // On success `data_offset` is the absolute position of the first sample.
    bool read(liba::StreamReader& stream);
    // Writes the 44-byte header (plus any extension) at the current position.
    bool write(liba::StreamWriter& stream);

    std::int32_t channels { 0 };
    std::int32_t bits_per_sample { 0 };
    std::int32_t sample_rate { 0 };
    std::uint16_t format_tag { 0 };
    std::uint32_t avg_bytes_per_second { 0 };
    std::uint16_t block_align { 0 };
    std::uint32_t riff_size { 0 };
    std::uint32_t fmt_size { 0 };
    std::uint32_t data_size { 0 };
    std::uint32_t data_offset { 0 };
};

// The header of a file of uncompressed PCM samples (format tag 1).
class WAVInfoPCM : public WAVInfo {
public:
    static constexpr std::uint16_t FORMAT_PCM = 1;

    bool read_extension(liba::StreamReader&) override { return format_tag == FORMAT_PCM; }
};

} // namespace audio
