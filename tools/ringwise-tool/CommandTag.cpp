#include "app/Document.h"
#include "audio/CaptureFormat.h"
#include "audio/FileReaderWAVPCM.h"
#include "platform/Convert.h"
#include "tools/ringwise-tool/ToolFields.h"

#include <algorithm>
#include <cstdio>

namespace tool {

namespace {

// Plays the file into the document's capture buffer as the recorder would
// deliver it; false, with a message, when it is not in the capture format.
bool capture_file(Document& document, const std::string& path)
{
    audio::FileReaderWAVPCM reader(platform::from_utf8(path));
    if (!reader.is_good() || reader.get_channels() != audio::CAPTURE_CHANNELS
        || reader.get_bits_per_sample() != audio::CAPTURE_BITS
        || reader.get_sample_rate() != audio::CAPTURE_SAMPLE_RATE) {
        std::fprintf(stderr, "ringwise-tool: %s: not a WAV file of 16-bit mono PCM at 22050 Hz\n",
            path.c_str());
        return false;
    }
    audio::AudioBuffer& buffer = document.audio().capture_buffer();
    buffer.set_duration(audio::MAX_RECORD_SECONDS);
    audio::connect<audio::PCMData>(reader, &buffer);
    reader.deliver_seconds(audio::MAX_RECORD_SECONDS);
    audio::connect<audio::PCMData>(reader, nullptr);
    return true;
}

} // namespace

// Records a voice tag for the command of contact ID and number PHONE from a
// WAV file, as the settings screen does after a recording.
int run_tag(const std::vector<std::string>& arguments)
{
    int id = 0;
    if (arguments.size() != 3 || !parse_id(arguments[0], id)) {
        std::fputs("usage: ringwise-tool tag ID PHONE IN.wav\n", stderr);
        return 2;
    }
    std::u16string phone = platform::from_utf8(arguments[1]);
    Document document;
    document.sync_contacts();
    document.load_commands();
    document.sort_commands();
    auto found = std::find_if(document.commands().begin(), document.commands().end(),
        [&](const Command& c) { return c.id == id && c.phone == phone; });
    if (found == document.commands().end()) {
        std::fprintf(stderr, "ringwise-tool: no command for contact %d with number '%s'\n", id,
            arguments[1].c_str());
        return 2;
    }
    if (!capture_file(document, arguments[2]))
        return 2;

    Command command = *found;
    TagTraining training = document.record_tag(command);
    if (training.outcome == TagTraining::NoSpeech) {
        std::fputs("no speech found\n", stderr);
        return 1;
    }
    if (!training) {
        std::fputs("ringwise-tool: the voice tag could not be saved\n", stderr);
        return 1;
    }
    std::printf("voice %s\n", platform::to_utf8(command.voice).c_str());
    return 0;
}

} // namespace tool
