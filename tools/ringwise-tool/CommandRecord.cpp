#include "audio/AudioBuffer.h"
#include "audio/CaptureFormat.h"
#include "audio/FileWriterWAVPCM.h"
#include "audio/RecorderPCM.h"
#include "audio/Truncate.h"
#include "platform/Convert.h"
#include "tools/ringwise-tool/ToolCommand.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace tool {

namespace {

constexpr double LONGEST_SECONDS = 600;
// Time allowed beyond the recording for a device that delivers late.
constexpr double LATE_SECONDS = 3;

int usage()
{
    std::fputs("usage: ringwise-tool record OUT.wav [--seconds S]\n", stderr);
    return 2;
}

} // namespace

// Records from the microphone as the program does, into a capture buffer of
// S seconds, and writes what it holds as a WAV file.
int run_record(const std::vector<std::string>& arguments)
{
    std::string path;
    double seconds = audio::MAX_RECORD_SECONDS;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--seconds" && i + 1 < arguments.size()) {
            char* end = nullptr;
            const std::string& text = arguments[++i];
            seconds = std::strtod(text.c_str(), &end);
            if (end == text.c_str() || *end != 0 || !(seconds > 0 && seconds <= LONGEST_SECONDS))
                return usage();
        } else if (argument.starts_with("--") || !path.empty()) {
            return usage();
        } else {
            path = argument;
        }
    }
    if (path.empty())
        return usage();

    audio::AudioBuffer buffer;
    buffer.set_duration(seconds);
    auto recorder = std::make_unique<audio::RecorderPCM>(
        audio::CAPTURE_CHANNELS, audio::CAPTURE_SAMPLE_RATE, audio::CAPTURE_BITS);
    audio::connect<audio::PCMData>(*recorder, &buffer);
    if (!recorder->is_open() || !recorder->start()) {
        std::fputs("ringwise-tool: no capture device could be opened\n", stderr);
        return 1;
    }
    std::int64_t wanted = audio::truncate_count(audio::CAPTURE_SAMPLE_RATE * seconds) * 2;
    auto deadline
        = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds + LATE_SECONDS);
    while (buffer.count() < wanted && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    audio::connect<audio::PCMData>(*recorder, nullptr);
    recorder.reset();

    audio::PCMData all = buffer.take(buffer.recorded_seconds());
    bool written;
    {
        audio::FileWriterWAVPCM writer(platform::from_utf8(path));
        writer.on_data(all.length() > 0 ? all
                                        : audio::PCMData(liba::Buffer(0), audio::CAPTURE_CHANNELS,
                                            audio::CAPTURE_BITS, audio::CAPTURE_SAMPLE_RATE));
        written = writer.is_good();
    }
    if (!written) {
        std::fprintf(stderr, "ringwise-tool: cannot write %s\n", path.c_str());
        return 1;
    }
    if (all.length() < wanted) {
        std::fprintf(stderr, "ringwise-tool: the device delivered only %d of %lld bytes\n",
            all.length(), static_cast<long long>(wanted));
        return 1;
    }
    return 0;
}

} // namespace tool
