#pragma once

#include <cstdint>
#include <optional>

// Where the speech lies in a recording: samples [start, end).
struct SpeechExtent {
    std::int32_t start = 0;
    std::int32_t end = 0;
};

// Finds the extent of the spoken word in `byte_count` bytes of 16-bit signed
// mono samples at 22 050 Hz (the sample count is byte_count / 2). Returns
// nothing when the recording is too short for an envelope (under 440 bytes) or
// when no extent results. Pure digital silence gives [0, 8815) (clipped to the
// recording): the extent always includes its fixed margins.
std::optional<SpeechExtent> find_speech_extent(
    const std::int16_t* samples, std::int32_t byte_count);
