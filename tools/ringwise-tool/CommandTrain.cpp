#include "app/TrainedTag.h"
#include "platform/Convert.h"
#include "tools/ringwise-tool/ToolCapture.h"
#include "tools/ringwise-tool/ToolCommand.h"

#include <cstdio>

namespace tool {

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

    std::optional<TrainedTag> tag = TrainedTag::train(capture->samples);
    if (!tag) {
        std::fputs("no speech found\n", stderr);
        return 1;
    }
    const std::string& out = arguments[1];
    if (!tag->write_tag(platform::from_utf8(out + ".tag"))) {
        std::fprintf(stderr, "ringwise-tool: cannot write %s.tag\n", out.c_str());
        return 1;
    }
    if (!tag->write_recording(platform::from_utf8(out + ".wav"))) {
        std::fprintf(stderr, "ringwise-tool: cannot write %s.wav\n", out.c_str());
        return 1;
    }
    std::printf("extent %d %d\n", tag->start(), tag->end());
    return 0;
}

} // namespace tool
