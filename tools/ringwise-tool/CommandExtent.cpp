#include "engine/SpeechExtent.h"
#include "tools/ringwise-tool/ToolCapture.h"
#include "tools/ringwise-tool/ToolCommand.h"

#include <cstdio>

namespace tool {

// Prints where the speech lies in a recording, as byte offsets into the
// audio after the lead-in: the stretch a new tag would keep.
int run_extent(const std::vector<std::string>& arguments_in)
{
    std::vector<std::string> arguments = arguments_in;
    bool keep_lead_in = take_no_lead_in(arguments);
    if (arguments.size() != 1 || arguments[0].starts_with("--")) {
        std::fputs("usage: ringwise-tool extent IN.wav [--no-lead-in]\n", stderr);
        return 2;
    }
    auto capture = load_capture(arguments[0], !keep_lead_in);
    if (!capture)
        return 2;

    auto extent = find_speech_extent(capture->data(), capture->byte_count());
    if (!extent || extent->start >= extent->end) {
        std::puts("extent none");
        return 1;
    }
    std::printf("extent %d %d\n", 2 * extent->start, 2 * extent->end);
    return 0;
}

} // namespace tool
