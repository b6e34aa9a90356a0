#pragma once

#include <cstdint>

namespace audio {

// Something that produces an encoded audio stream.
class Encoder {
public:
    virtual ~Encoder() = default;
    // Bits per second of the encoded stream.
    virtual std::int64_t bit_rate() const = 0;
};

} // namespace audio
