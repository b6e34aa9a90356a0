#include "app/TagCepstra.h"

#include "audio/CaptureFormat.h"
#include "audio/FileReaderWAVPCM.h"
#include "engine/precise/CepstralAnalysis.h"
#include "engine/precise/CepstralCache.h"
#include "os/File.h"
#include "platform/LittleEndian.h"

#include <cstdint>
#include <vector>

namespace {

// A recording is at most one capture; anything far larger is no tag's.
constexpr std::uint32_t MAX_FILE_BYTES = 1u << 24;

std::optional<std::vector<std::uint8_t>> read_whole(const std::u16string& path)
{
    os::File file(path, 0);
    if (!file.is_open())
        return std::nullopt;
    const std::uint32_t size = file.size();
    if (size > MAX_FILE_BYTES)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(size);
    if (size != 0 && file.read(bytes.data(), size) != size)
        return std::nullopt;
    return bytes;
}

std::optional<std::vector<std::int16_t>> read_recording(const std::u16string& path)
{
    audio::FileReaderWAVPCM reader(path);
    if (!reader.is_good() || reader.get_channels() != audio::CAPTURE_CHANNELS
        || reader.get_bits_per_sample() != audio::CAPTURE_BITS
        || reader.get_sample_rate() != audio::CAPTURE_SAMPLE_RATE)
        return std::nullopt;
    audio::PCMData data = reader.get_data(static_cast<std::int32_t>(MAX_FILE_BYTES / 2));
    std::vector<std::int16_t> samples(static_cast<std::size_t>(data.length() / 2));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = platform::read_i16le(data.bytes() + 2 * i);
    return samples;
}

} // namespace

std::optional<CepstralFrames> load_tag_cepstra(
    const std::u16string& recording_path, const std::u16string& cache_path)
{
    std::optional<std::vector<std::uint8_t>> recording_bytes = read_whole(recording_path);
    if (!recording_bytes)
        return std::nullopt;
    const std::uint64_t fingerprint
        = recording_fingerprint(recording_bytes->data(), recording_bytes->size());
    if (std::optional<std::vector<std::uint8_t>> cached = read_whole(cache_path)) {
        if (auto frames = parse_cepstral_cache(cached->data(), cached->size(), fingerprint))
            return frames;
    }

    std::optional<std::vector<std::int16_t>> samples = read_recording(recording_path);
    if (!samples)
        return std::nullopt;
    CepstralFrames frames = analyse_cepstra(samples->data(), samples->size());
    if (frames.empty())
        return std::nullopt;
    const std::vector<std::uint8_t> bytes = serialize_cepstral_cache(frames, fingerprint);
    os::File file(cache_path, 1);
    if (file.is_open())
        file.write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return frames;
}
