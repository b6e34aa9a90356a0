#include "tests/engine/Recordings.h"

#include "platform/LittleEndian.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace test_recordings {

std::vector<std::int16_t> load(const std::string& name)
{
    const std::string path
        = std::string(RINGWISE_SOURCE_DIR) + "/tests/data/engine/" + name + ".raw";
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("missing fixture " + path);
    std::vector<std::uint8_t> bytes(
        (std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = platform::read_i16le(bytes.data() + 2 * i);
    return samples;
}

std::vector<std::int16_t> noise(std::size_t count, int amplitude, std::uint32_t seed)
{
    std::vector<std::int16_t> samples(count);
    std::uint32_t state = seed;
    for (std::int16_t& sample : samples) {
        state = state * 1664525u + 1013904223u;
        const int spread = 2 * amplitude + 1;
        sample = static_cast<std::int16_t>(
            static_cast<int>((state >> 8) % static_cast<std::uint32_t>(spread)) - amplitude);
    }
    return samples;
}

std::vector<std::int16_t> capture(
    const std::vector<std::int16_t>& speech, int offset, int noise_amplitude)
{
    std::vector<std::int16_t> samples = noise(CAPTURE_SAMPLES, noise_amplitude, 12345u);
    for (std::size_t i = 0; i < speech.size() && offset + i < samples.size(); ++i) {
        const int mixed = samples[offset + i] + speech[i];
        samples[offset + i] = static_cast<std::int16_t>(std::clamp(mixed, -32768, 32767));
    }
    return samples;
}

} // namespace test_recordings
