#include "audio/FileWriterWAVPCM.h"
#include "engine/TagFile.h"
#include "engine/TemplatePreparation.h"
#include "engine/VoiceTemplate.h"
#include "liba/Convert.h"
#include "os/File.h"
#include "tools/ringwise-tool/ToolCapture.h"
#include "tools/ringwise-tool/ToolCommand.h"

#include <cstdio>

namespace tool {

namespace {

bool write_tag(const VoiceTemplate& voice, const std::string& path)
{
    os::File file(liba::from_utf8(path), 1);
    return file.is_open() && write_template(voice, file);
}

// The kept samples [start, end) (byte offsets), as one block through the WAV writer.
bool write_recording(
    const Capture& capture, std::int32_t start, std::int32_t end, const std::string& path)
{
    liba::Buffer kept(end - start);
    std::uint8_t* out = kept.writable_data();
    for (std::int32_t i = 0; i < (end - start) / 2; ++i) {
        auto sample
            = static_cast<std::uint16_t>(capture.samples[static_cast<std::size_t>(start / 2 + i)]);
        out[2 * i] = static_cast<std::uint8_t>(sample);
        out[2 * i + 1] = static_cast<std::uint8_t>(sample >> 8);
    }
    audio::FileWriterWAVPCM writer(liba::from_utf8(path));
    writer.on_data(audio::PCMData(
        kept, audio::CAPTURE_CHANNELS, audio::CAPTURE_BITS, audio::CAPTURE_SAMPLE_RATE));
    return writer.is_good();
}

} // namespace

// Trains a voice tag from a recording as the program's tag recording does:
// a three-variant template with threshold 0.2 in OUT.tag and the recording
// trimmed to the speech in OUT.wav.
int run_train(const std::vector<std::string>& arguments_in)
{
    std::vector<std::string> arguments = arguments_in;
    bool keep_lead_in = take_no_lead_in(arguments);
    if (arguments.size() != 2 || arguments[0].starts_with("--") || arguments[1].starts_with("--")) {
        std::fputs("usage: ringwise-tool train IN.wav OUT [--no-lead-in]\n", stderr);
        return 2;
    }
    auto capture = load_capture(arguments[0], !keep_lead_in);
    if (!capture)
        return 2;

    // Without any signal the extent would be the fixed margins around nothing,
    // and an extent too short for one frame would make a tag that matches nothing.
    TemplateAnalysis analysis;
    if (!capture->is_flat())
        analysis = create_template(capture->data(), capture->byte_count());
    if (capture->is_flat() || !analysis.has_speech() || analysis.variants[0].empty()) {
        std::fputs("no speech found\n", stderr);
        return 1;
    }

    std::int32_t start = analysis.start;
    std::int32_t end = analysis.end;
    VoiceTemplate voice(NEW_TEMPLATE_THRESHOLD, std::move(analysis.variants));
    const std::string& out = arguments[1];
    if (!write_tag(voice, out + ".tag")) {
        std::fprintf(stderr, "ringwise-tool: cannot write %s.tag\n", out.c_str());
        return 1;
    }
    if (!write_recording(*capture, start, end, out + ".wav")) {
        std::fprintf(stderr, "ringwise-tool: cannot write %s.wav\n", out.c_str());
        return 1;
    }
    std::printf("extent %d %d\n", start, end);
    return 0;
}

} // namespace tool
