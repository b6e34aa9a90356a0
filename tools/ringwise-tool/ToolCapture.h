#pragma once

#include "audio/CaptureFormat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tool {

// The audio of a WAV file taken as one capture: what a capture buffer
// limited to 2.7 s keeps of it, without the lead-in unless asked to keep it.
struct Capture {
    std::vector<std::int16_t> samples;

    const std::int16_t* data() const { return samples.data(); }
    std::int32_t byte_count() const { return static_cast<std::int32_t>(samples.size() * 2); }
};

// Reads `path` as a capture. A file that cannot be read, or whose samples
// are not in the capture format, gives a message on standard error and nothing.
std::optional<Capture> load_capture(const std::string& path, bool drop_lead_in);

// Removes "--no-lead-in" from `arguments`; true when it was there.
bool take_no_lead_in(std::vector<std::string>& arguments);

} // namespace tool
