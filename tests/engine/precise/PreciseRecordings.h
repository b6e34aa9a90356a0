#pragma once

#include "engine/SpeechExtent.h"
#include "engine/precise/CepstralAnalysis.h"

#include "tests/engine/Recordings.h"

#include <string>

namespace test_recordings {

// The frames of a tag trained from the fixture: its capture trimmed to the
// speech extent, as the tag's recording is stored.
inline CepstralFrames tag_cepstra(const std::string& name)
{
    const std::vector<std::int16_t> samples = capture(load(name));
    const auto extent = find_speech_extent(samples.data(), bytes(samples));
    if (!extent)
        return {};
    return analyse_cepstra(
        samples.data() + extent->start, static_cast<std::size_t>(extent->end - extent->start));
}

// The frames of the fixture spoken into a capture and recognised.
inline CepstralFrames utterance_cepstra(const std::string& name, int offset = 11025)
{
    const std::vector<std::int16_t> samples = capture(load(name), offset);
    return analyse_utterance_cepstra(samples.data(), samples.size());
}

} // namespace test_recordings
