#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace test_recordings {

// Samples of a 2.7 s capture after the 0.2 s lead-in has been dropped.
inline constexpr int CAPTURE_SAMPLES = 59535 - 4410;

// A speech fixture from tests/data/engine (16-bit mono at 22 050 Hz).
std::vector<std::int16_t> load(const std::string& name);

// A capture holding `speech` from sample `offset` on, over a faint
// deterministic background noise of about `noise` in amplitude.
std::vector<std::int16_t> capture(
    const std::vector<std::int16_t>& speech, int offset = 11025, int noise = 30);

// Deterministic noise samples in [-amplitude, amplitude].
std::vector<std::int16_t> noise(std::size_t count, int amplitude, std::uint32_t seed);

inline std::int32_t bytes(const std::vector<std::int16_t>& samples)
{
    return static_cast<std::int32_t>(samples.size() * 2);
}

} // namespace test_recordings
