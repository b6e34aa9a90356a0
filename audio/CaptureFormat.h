#pragma once

#include <cstdint>

namespace audio {

// The capture that recognition and tag training analyse: 2.7 s of 16-bit
// mono PCM at 22 050 Hz, of which the first 0.2 s (the lead-in) are dropped.
inline constexpr double MAX_RECORD_SECONDS = 2.7;
inline constexpr std::int32_t LEAD_IN_BYTES = 8820;
inline constexpr std::int32_t CAPTURE_CHANNELS = 1;
inline constexpr std::int32_t CAPTURE_SAMPLE_RATE = 22050;
inline constexpr std::int32_t CAPTURE_BITS = 16;

} // namespace audio
