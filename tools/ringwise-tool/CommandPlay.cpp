#include "audio/FileReaderWAVPCM.h"
#include "audio/PlayerPCM.h"
#include "platform/Convert.h"
#include "tools/ringwise-tool/ToolCommand.h"

#include <cstdio>

namespace tool {

// Plays a WAV file as the program plays prompts and tags, and returns when
// playback has finished.
int run_play(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 1 || arguments[0].starts_with("--")) {
        std::fputs("usage: ringwise-tool play IN.wav\n", stderr);
        return 2;
    }
    audio::FileReaderWAVPCM reader(platform::from_utf8(arguments[0]));
    if (!reader.is_good()) {
        std::fprintf(stderr, "ringwise-tool: %s: not a readable WAV file of uncompressed PCM\n",
            arguments[0].c_str());
        return 2;
    }
    audio::PlayerPCM player;
    audio::connect<audio::PCMData>(reader, &player);
    if (!player.play() || !player.wait_until_finished(reader.total_seconds())) {
        std::fputs("ringwise-tool: no output device could play the file\n", stderr);
        return 1;
    }
    return 0;
}

} // namespace tool
