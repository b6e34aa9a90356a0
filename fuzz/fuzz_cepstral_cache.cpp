// Reads arbitrary bytes as a tag's cepstral cache file. Whatever is accepted
// must write back to the same bytes and be safe to match with an utterance.
#include "engine/precise/CepstralCache.h"
#include "engine/precise/PreciseMatcher.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The fingerprint the file claims, so that the parser gets past it.
    const std::uint64_t fingerprint = size >= 16
        ? (static_cast<std::uint64_t>(data[15]) << 56 | static_cast<std::uint64_t>(data[14]) << 48
            | static_cast<std::uint64_t>(data[13]) << 40
            | static_cast<std::uint64_t>(data[12]) << 32
            | static_cast<std::uint64_t>(data[11]) << 24 | data[10] << 16 | data[9] << 8 | data[8])
        : 0;
    std::optional<CepstralFrames> frames = parse_cepstral_cache(data, size, fingerprint);
    if (!frames)
        return 0;
    std::vector<std::uint8_t> written = serialize_cepstral_cache(*frames, fingerprint);
    if (written.size() != size || !std::equal(written.begin(), written.end(), data))
        std::abort();

    CepstralFrames utterance;
    utterance.count = 40;
    for (std::int32_t i = 0; i < utterance.count * CepstralFrames::DIMENSIONS; ++i)
        utterance.values.push_back(static_cast<float>((i * 7919) % 200 - 100) / 10.0f);
    std::vector<CepstralFrames> tags;
    tags.push_back(std::move(*frames));
    PreciseMatcher matcher(std::move(tags));
    const PreciseMatch match = matcher.match(utterance);
    if (!(match.accuracy >= 0.0f && match.accuracy <= 100.0f))
        std::abort();
    return 0;
}
