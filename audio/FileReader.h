#pragma once

#include "audio/WAVInfo.h"

#include <cstdint>

namespace audio {

// A reader of an audio file. Byte counts and positions are relative to the
// first sample byte.
class FileReader {
public:
    virtual ~FileReader() = default;

    // The file was opened and its header accepted.
    virtual bool is_good() = 0;
    // True when not good, else whether the position has reached the end of the data.
    virtual bool is_end() = 0;
    virtual std::int32_t get_channels() = 0;
    virtual std::int32_t get_bits_per_sample() = 0;
    virtual std::int32_t get_sample_rate() = 0;
    virtual std::int64_t get_bit_rate() = 0;
    virtual std::int64_t bytes_for_seconds(double seconds) = 0;
    virtual double seconds_for_bytes(std::int64_t bytes) = 0;
    virtual double total_seconds() { return seconds_for_bytes(data_size()); }
    virtual double position_seconds() { return seconds_for_bytes(position()); }
    virtual void seek_seconds(double seconds) { seek(bytes_for_seconds(seconds)); }
    virtual std::int64_t data_size() = 0;
    virtual std::int64_t position() = 0;
    virtual void seek(std::int64_t bytes) = 0;
    virtual bool deliver_seconds(double seconds) = 0;
    // Pushes `bytes` of audio to the linked consumer; false when the data
    // ran out first or the reader is not good.
    virtual bool deliver(std::int64_t bytes) = 0;
    virtual const WAVInfo& info() = 0;
};

} // namespace audio
