#pragma once

#include "platform/Tick.h"

#include <cstdint>

namespace audio {

// The capture that recognition and tag training analyse: 2.7 s of 16-bit
// mono PCM at 22 050 Hz, of which the first 0.2 s (the lead-in) are dropped.
inline constexpr double MAX_RECORD_SECONDS = 2.7;
inline constexpr std::int32_t LEAD_IN_BYTES = 8820;
inline constexpr std::int32_t CAPTURE_CHANNELS = 1;
inline constexpr std::int32_t CAPTURE_SAMPLE_RATE = 22050;
inline constexpr std::int32_t CAPTURE_BITS = 16;
// How long past MAX_RECORD_SECONDS the device's last block may take to
// arrive: the capture is analysed whole once it is complete, or after this.
inline constexpr double LAST_BLOCK_SECONDS = 1.0;

// LAST_BLOCK_SECONDS on the device's clock. The delay is the audio threads'
// real time, which a clock that runs faster for tests does not shorten.
inline double last_block_seconds()
{
    return LAST_BLOCK_SECONDS * platform::device_speed();
}

} // namespace audio
