#pragma once

#include "engine/VoiceTemplate.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A voice tag trained from one capture (its samples after the lead-in): the
// three-variant template with the new-tag threshold, and the capture trimmed
// to where the speech lies. The program's tag recording and ringwise-tool's
// training both build their tags here, so the two write the same files.
class TrainedTag {
public:
    // Nothing when the capture holds no speech: no samples, no signal at all,
    // or an extent too short for one analysis frame.
    static std::optional<TrainedTag> train(const std::vector<std::int16_t>& samples);

    const VoiceTemplate& voice_template() const { return voice_template_; }
    // Byte offsets of the speech into the trained samples: [start, end).
    std::int32_t start() const { return start_; }
    std::int32_t end() const { return end_; }
    // The samples between start and end.
    const std::vector<std::int16_t>& recording() const { return recording_; }

    // Writes the template as a .tag file; false when the file cannot be written.
    bool write_tag(const std::u16string& path) const;
    // Writes the trimmed recording as a WAV file in the capture format; false
    // when the file cannot be written.
    bool write_recording(const std::u16string& path) const;

private:
    TrainedTag(VoiceTemplate voice_template, std::int32_t start, std::int32_t end,
        std::vector<std::int16_t> recording);

    VoiceTemplate voice_template_;
    std::int32_t start_;
    std::int32_t end_;
    std::vector<std::int16_t> recording_;
};
