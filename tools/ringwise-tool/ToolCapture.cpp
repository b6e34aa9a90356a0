#include "tools/ringwise-tool/ToolCapture.h"

#include "audio/AudioBuffer.h"
#include "audio/FileReaderWAVPCM.h"
#include "platform/Convert.h"
#include "platform/LittleEndian.h"

#include <algorithm>
#include <cstdio>

namespace tool {

std::optional<Capture> load_capture(const std::string& path, bool drop_lead_in)
{
    audio::FileReaderWAVPCM reader(platform::from_utf8(path));
    if (!reader.is_good()) {
        std::fprintf(stderr, "ringwise-tool: %s: not a readable WAV file of uncompressed PCM\n",
            path.c_str());
        return std::nullopt;
    }
    if (reader.get_channels() != audio::CAPTURE_CHANNELS
        || reader.get_bits_per_sample() != audio::CAPTURE_BITS
        || reader.get_sample_rate() != audio::CAPTURE_SAMPLE_RATE) {
        std::fprintf(stderr,
            "ringwise-tool: %s: the samples must be 16-bit mono PCM at 22050 Hz, not %d-bit, %d "
            "channel(s), %d Hz\n",
            path.c_str(), reader.get_bits_per_sample(), reader.get_channels(),
            reader.get_sample_rate());
        return std::nullopt;
    }

    // Fill a capture buffer the way the recorder does, then read it whole
    // the way the recognition run and the tag training do.
    audio::AudioBuffer buffer;
    buffer.set_duration(audio::MAX_RECORD_SECONDS);
    audio::connect<audio::PCMData>(reader, &buffer);
    reader.deliver_seconds(audio::MAX_RECORD_SECONDS);
    audio::connect<audio::PCMData>(reader, nullptr);
    audio::PCMData all = buffer.take(buffer.recorded_seconds());

    std::int32_t skip = drop_lead_in ? std::min(audio::LEAD_IN_BYTES, all.length()) : 0;
    std::int32_t count = (all.length() - skip) / 2;
    Capture capture;
    capture.samples.resize(static_cast<std::size_t>(count));
    const std::uint8_t* bytes = all.bytes() + skip;
    for (std::int32_t i = 0; i < count; ++i)
        capture.samples[i] = platform::read_i16le(bytes + 2 * i);
    return capture;
}

bool take_no_lead_in(std::vector<std::string>& arguments)
{
    auto found = std::find(arguments.begin(), arguments.end(), "--no-lead-in");
    if (found == arguments.end())
        return false;
    arguments.erase(found);
    return true;
}

} // namespace tool
