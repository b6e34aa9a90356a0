// Reads arbitrary bytes as a ".tag" file. Whatever is accepted must write back
// to the same bytes and be safe to compare with an utterance.
#include "engine/Matcher.h"
#include "engine/TagFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    VoiceTemplate tag = parse_template(data, size);
    if (!tag.has_template())
        return 0;
    std::vector<std::uint8_t> written = serialize_template(tag);
    if (written.size() != size || !std::equal(written.begin(), written.end(), data))
        std::abort();

    static SpeechEngine engine;
    FeatureSet utterance;
    utterance.allocate(60);
    for (std::int32_t i = 0; i < 4 * utterance.count; ++i)
        utterance.frames[i] = (i * 7919) % 100000;
    for (int v = 0; v < 3; ++v) {
        const float distance = compare(engine, tag.variant(v), utterance);
        if (!(distance >= 0.0f && distance <= 3.0f) || !engine.workspace_is_clear())
            std::abort();
    }
    return 0;
}
