#include "engine/FeatureExtraction.h"
#include "tools/ringwise-tool/ToolCapture.h"
#include "tools/ringwise-tool/ToolCommand.h"

#include <charconv>
#include <cstdio>

namespace tool {

namespace {

int usage()
{
    std::fputs("usage: ringwise-tool features IN.wav [--step N] [--no-lead-in]\n", stderr);
    return 2;
}

} // namespace

// Prints the frames of band amplitudes that the engine computes for a
// recording: by default those of an utterance to recognise (step 384).
int run_features(const std::vector<std::string>& arguments_in)
{
    std::vector<std::string> arguments = arguments_in;
    bool keep_lead_in = take_no_lead_in(arguments);
    std::string path;
    int step = UTTERANCE_STEP;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--step" && i + 1 < arguments.size()) {
            const std::string& text = arguments[++i];
            auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), step);
            if (error != std::errc() || end != text.data() + text.size() || step < 1)
                return usage();
        } else if (argument.starts_with("--") || !path.empty()) {
            return usage();
        } else {
            path = argument;
        }
    }
    if (path.empty())
        return usage();
    auto capture = load_capture(path, !keep_lead_in);
    if (!capture)
        return 2;

    FeatureSet features = extract_features(capture->data(), capture->byte_count(), step);
    std::int32_t count = features.empty() ? 0 : features.count;
    std::printf("frames %d\n", count);
    for (std::int32_t f = 0; f < count; ++f) {
        const std::int32_t* frame = features.frame(f);
        std::printf("%d %d %d %d\n", frame[0], frame[1], frame[2], frame[3]);
    }
    return 0;
}

} // namespace tool
