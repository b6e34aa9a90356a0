#include "engine/TagFile.h"
#include "os/File.h"
#include "platform/Convert.h"
#include "tools/ringwise-tool/ToolCommand.h"

#include <cstdio>

namespace tool {

namespace {

void print_rows(const char* word, const FeatureSet& set, bool normalized)
{
    for (std::int32_t f = 0; f < set.count; ++f) {
        std::printf("%s", word);
        for (int b = 0; b < FeatureSet::BANDS; ++b) {
            std::size_t at = static_cast<std::size_t>(f) * FeatureSet::BANDS + b;
            std::printf(" %d", normalized ? set.normalized[at] : set.frames[at]);
        }
        std::printf("\n");
    }
}

} // namespace

// Prints everything a ".tag" file holds, one field a line.
int run_dump(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 1 || arguments[0].starts_with("--")) {
        std::fputs("usage: ringwise-tool dump TAG\n", stderr);
        return 2;
    }
    std::u16string path = platform::from_utf8(arguments[0]);
    if (!os::File(path, 0).is_open()) {
        std::fprintf(stderr, "ringwise-tool: cannot open %s\n", arguments[0].c_str());
        return 2;
    }
    VoiceTemplate voice = read_template(path);
    if (!voice) {
        std::puts("invalid tag");
        return 1;
    }
    std::printf("threshold %.9g\n", voice.threshold());
    for (int v = 0; v < 3; ++v) {
        const FeatureSet& set = voice.variant(v);
        std::printf("variant %d\n", v);
        std::printf("count %d\n", set.count);
        std::printf("segment_count %d\n", set.segment_count);
        std::printf("segment_start %d %d %d\n", set.segment_start[0], set.segment_start[1],
            set.segment_start[2]);
        std::printf(
            "segment_end %d %d %d\n", set.segment_end[0], set.segment_end[1], set.segment_end[2]);
        if (set.count > 0 && set.normalized)
            print_rows("normalized", set, true);
        if (set.count > 0 && set.frames)
            print_rows("frames", set, false);
    }
    return 0;
}

} // namespace tool
