#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tool {

// The capture the program records: 2.7 s of 16-bit mono PCM at 22 050 Hz,
// of which the first 0.2 s (the lead-in) are dropped before analysis.
inline constexpr double MAX_RECORD_SECONDS = 2.7;
inline constexpr std::int32_t LEAD_IN_BYTES = 8820;
inline constexpr std::int32_t CAPTURE_CHANNELS = 1;
inline constexpr std::int32_t CAPTURE_BITS = 16;
inline constexpr std::int32_t CAPTURE_RATE = 22050;

// The audio of a WAV file taken as one capture: what a capture buffer
// limited to 2.7 s keeps of it, without the lead-in unless asked to keep it.
struct Capture {
    std::vector<std::int16_t> samples;

    const std::int16_t* data() const { return samples.data(); }
    std::int32_t byte_count() const { return static_cast<std::int32_t>(samples.size() * 2); }
    // True when there is no sample, or every sample has the same value.
    bool is_flat() const;
};

// Reads `path` as a capture. A file that cannot be read, or whose samples
// are not in the capture format, gives a message on standard error and nothing.
std::optional<Capture> load_capture(const std::string& path, bool drop_lead_in);

// Removes "--no-lead-in" from `arguments`; true when it was there.
bool take_no_lead_in(std::vector<std::string>& arguments);

} // namespace tool
