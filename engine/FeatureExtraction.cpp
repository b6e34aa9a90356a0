#include "engine/FeatureExtraction.h"

#include "engine/BandTable.h"
#include "engine/SpeechExtent.h"
#include "engine/TemplatePreparation.h"

#include <algorithm>

FeatureSet extract_features(const std::int16_t* samples, std::int32_t byte_count, std::int32_t step,
    std::int32_t* start_out, std::int32_t* end_out)
{
    FeatureSet set;
    if (!samples || byte_count <= 0 || step <= 0)
        return set;
    std::optional<SpeechExtent> extent = find_speech_extent(samples, byte_count);
    if (!extent)
        return set;
    if (start_out)
        *start_out = 2 * extent->start;
    if (end_out)
        *end_out = 2 * extent->end;

    // An extent shorter than one frame gives none: the count formula would
    // otherwise round up to a frame that runs past the extent.
    const std::int32_t length = extent->end - extent->start;
    if (length < FRAME_LENGTH)
        return set;
    set.allocate((length - FRAME_LENGTH) / step + 1);
    for (std::int32_t f = 0; f < set.count; ++f) {
        auto amplitudes
            = band_amplitudes(samples + extent->start + static_cast<std::ptrdiff_t>(f) * step);
        std::copy(amplitudes.begin(), amplitudes.end(), set.frame(f));
    }
    return set;
}

FeatureSet extract_utterance(const std::int16_t* samples, std::int32_t byte_count)
{
    return extract_features(samples, byte_count, UTTERANCE_STEP);
}

std::array<FeatureSet, 3> extract_template(int kind, const std::int16_t* samples,
    std::int32_t byte_count, std::int32_t* start_out, std::int32_t* end_out)
{
    std::array<FeatureSet, 3> sets;
    if (kind != 1 && kind != 3)
        return sets;
    const int variants = kind == 3 ? 3 : 1;
    for (int v = 0; v < variants; ++v) {
        sets[v] = extract_features(samples, byte_count, VARIANT_STEPS[v], start_out, end_out);
        prepare_template(sets[v]);
    }
    return sets;
}
