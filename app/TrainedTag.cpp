#include "app/TrainedTag.h"

#include "audio/CaptureFormat.h"
#include "audio/FileWriterWAVPCM.h"
#include "engine/TagFile.h"
#include "engine/TemplatePreparation.h"
#include "os/File.h"
#include "platform/LittleEndian.h"

#include <algorithm>

namespace {

// The end-point detector measures loudness against the capture itself, so
// it finds "speech" in any hiss; a tag needs signal that is loud in absolute
// terms. A window of 10 ms is loud when its swing from lowest to highest
// sample reaches 512 (an amplitude of about -42 dBFS: some eight times the
// hiss of an idle microphone, far below a name spoken at arm's length). A
// capture without one loud window, or without any signal, holds no speech.
constexpr std::size_t LEVEL_WINDOW = 220;
constexpr int LOUD_SWING = 512;

bool has_audible_signal(const std::vector<std::int16_t>& samples)
{
    for (std::size_t at = 0; at + LEVEL_WINDOW <= samples.size(); at += LEVEL_WINDOW) {
        auto [low, high]
            = std::minmax_element(samples.begin() + at, samples.begin() + at + LEVEL_WINDOW);
        if (*high - *low >= LOUD_SWING)
            return true;
    }
    return false;
}

} // namespace

std::optional<TrainedTag> TrainedTag::train(const std::vector<std::int16_t>& samples)
{
    if (!has_audible_signal(samples))
        return std::nullopt;
    TemplateAnalysis analysis
        = create_template(samples.data(), static_cast<std::int32_t>(samples.size() * 2));
    // An extent too short for one frame would make a tag that matches nothing.
    if (!analysis.has_speech() || analysis.variants[0].empty())
        return std::nullopt;

    auto first = samples.begin() + analysis.start / 2;
    std::vector<std::int16_t> recording(first, first + (analysis.end - analysis.start) / 2);
    return TrainedTag(VoiceTemplate(NEW_TEMPLATE_THRESHOLD, std::move(analysis.variants)),
        analysis.start, analysis.end, std::move(recording));
}

TrainedTag::TrainedTag(VoiceTemplate voice_template, std::int32_t start, std::int32_t end,
    std::vector<std::int16_t> recording)
    : voice_template_(std::move(voice_template))
    , start_(start)
    , end_(end)
    , recording_(std::move(recording))
{
}

bool TrainedTag::write_tag(const std::u16string& path) const
{
    os::File file(path, 1);
    return file.is_open() && write_template(voice_template_, file);
}

bool TrainedTag::write_recording(const std::u16string& path) const
{
    liba::Buffer bytes(static_cast<std::int32_t>(recording_.size() * 2));
    std::uint8_t* out = bytes.writable_data();
    for (std::size_t i = 0; i < recording_.size(); ++i)
        platform::write_u16le(out + 2 * i, static_cast<std::uint16_t>(recording_[i]));
    audio::FileWriterWAVPCM writer(path);
    writer.on_data(audio::PCMData(
        bytes, audio::CAPTURE_CHANNELS, audio::CAPTURE_BITS, audio::CAPTURE_SAMPLE_RATE));
    return writer.is_good();
}
