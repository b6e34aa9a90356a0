#pragma once

#include <cstdint>

namespace audio {

// A source of captured audio that is started and stopped.
class Recorder {
public:
    virtual ~Recorder() = default;
    virtual bool start() = 0;
    virtual bool stop() = 0;
    virtual bool is_stopped() = 0;
    virtual bool is_open() = 0;
    virtual std::int32_t get_channels() = 0;
    virtual std::int32_t get_bits_per_sample() = 0;
    virtual std::int32_t get_sample_rate() = 0;
    virtual std::int32_t get_bit_rate() = 0;
};

} // namespace audio
