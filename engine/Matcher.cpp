#include "engine/Matcher.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int BANDS = FeatureSet::BANDS;
constexpr int WORKSPACE_FRAMES = SpeechEngine::WORKSPACE_FRAMES;
constexpr std::int64_t SCALE = 1024;
constexpr std::int32_t PAD_LONGER = 14; // frames on each side when the utterance is longer
constexpr std::int32_t PAD_EXTRA = 28;
constexpr int SEGMENT_SHIFT = 2;
constexpr int LOCAL_REACH = 3; // template frame j against window frames j, j+1, j+2

// Segments must lie inside the variant; anything else (a damaged file read
// into memory) makes the variant unusable rather than indexing outside it.
bool usable(const FeatureSet& variant, const FeatureSet& utterance)
{
    if (!variant.normalized || variant.count <= 0 || !utterance.frames || utterance.count <= 0)
        return false;
    if (variant.segment_count <= 0 || variant.segment_count > FeatureSet::MAX_SEGMENTS)
        return false;
    for (int k = 0; k < variant.segment_count; ++k) {
        if (variant.segment_start[k] < 0 || variant.segment_start[k] > variant.count)
            return false;
        if (variant.segment_end[k] < 0 || variant.segment_end[k] > variant.count)
            return false;
    }
    return true;
}

// Both sides of every difference are 16-bit values and so is the difference.
inline std::int32_t squared_difference(std::int16_t a, std::int16_t b)
{
    auto d = static_cast<std::int16_t>(a - b);
    return d * d;
}

} // namespace

float compare(SpeechEngine& engine, const FeatureSet& variant, const FeatureSet& utterance)
{
    if (!usable(variant, utterance))
        return UNUSABLE_DISTANCE;
    const std::int64_t nt = variant.count;
    const std::int64_t nu = utterance.count;
    const std::int64_t pad = nu > nt ? PAD_LONGER : (nt - nu + PAD_EXTRA) / 2;
    const std::int64_t length = nu + 2 * pad;
    // The padded utterance sits at the end of the workspace and must fit in it.
    if (length > WORKSPACE_FRAMES)
        return UNUSABLE_DISTANCE;
    const std::int64_t positions = length - nt;
    if (positions <= 0)
        return UNUSABLE_DISTANCE;

    std::int32_t* padded = engine.workspace() + (WORKSPACE_FRAMES - length) * BANDS;
    for (std::int64_t f = 0; f < length; ++f) {
        const std::int64_t source = std::clamp<std::int64_t>(f - pad, 0, nu - 1);
        std::memcpy(padded + f * BANDS, utterance.frame(static_cast<std::int32_t>(source)),
            BANDS * sizeof(std::int32_t));
    }

    const std::int16_t* tn = variant.normalized.get();
    const int segments = variant.segment_count;
    std::int64_t score[FeatureSet::MAX_SEGMENTS][WORKSPACE_FRAMES + 1];
    std::int16_t v[(WORKSPACE_FRAMES + LOCAL_REACH - 1) * BANDS];

    for (std::int64_t o = 0; o <= positions; ++o) {
        for (int k = 0; k < segments; ++k)
            score[k][o] = NO_MATCH_SCORE;
        const std::int32_t* window = padded + o * BANDS;

        std::int64_t lowest[BANDS];
        for (int b = 0; b < BANDS; ++b) {
            lowest[b] = window[b];
            for (std::int64_t j = 1; j < nt; ++j)
                lowest[b] = std::min<std::int64_t>(lowest[b], window[j * BANDS + b]);
        }
        std::uint64_t sum = 0;
        for (int k = 0; k < segments; ++k) {
            for (std::int64_t j = variant.segment_start[k]; j < variant.segment_end[k]; ++j) {
                for (int b = 0; b < BANDS; ++b) {
                    const auto x = static_cast<std::uint64_t>(window[j * BANDS + b] - lowest[b]);
                    sum += x * x;
                }
            }
        }
        const std::int64_t r
            = sum == 0 ? 1 : static_cast<std::int64_t>(std::sqrt(static_cast<double>(sum)));
        auto normalise = [&](std::int64_t j, int b) {
            const std::int64_t scaled = (window[j * BANDS + b] - lowest[b]) * SCALE / r;
            v[j * BANDS + b]
                = static_cast<std::int16_t>(std::clamp<std::int64_t>(scaled, 0, SCALE));
        };
        for (std::int64_t j = nt; j < nt + LOCAL_REACH - 1; ++j) {
            for (int b = 0; b < BANDS; ++b)
                v[j * BANDS + b] = static_cast<std::int16_t>(SCALE);
        }

        // Coarse test on bands 0 and 2 without alignment.
        std::int64_t coarse = 0;
        bool rejected = false;
        for (int b : { 0, 2 }) {
            for (std::int64_t j = 0; j < nt && !rejected; ++j) {
                normalise(j, b);
                coarse += squared_difference(v[j * BANDS + b], tn[j * BANDS + b]);
                rejected = coarse >= COARSE_REJECTION;
            }
        }
        if (rejected)
            continue;
        for (int b : { 1, 3 }) {
            for (std::int64_t j = 0; j < nt; ++j)
                normalise(j, b);
        }

        // Local match: each template frame against window frames j, j+1, j+2.
        std::int64_t nearest[WORKSPACE_FRAMES];
        for (std::int64_t j = 0; j < nt; ++j) {
            std::int64_t best = 0;
            for (int reach = 0; reach < LOCAL_REACH; ++reach) {
                std::int64_t d = 0;
                for (int b = 0; b < BANDS; ++b)
                    d += squared_difference(v[(j + reach) * BANDS + b], tn[j * BANDS + b]);
                best = reach == 0 ? d : std::min(best, d);
            }
            nearest[j] = best;
        }
        // A segment's score runs to the next segment's start, so the gap
        // frames count with the segment before them.
        for (int k = 0; k < segments; ++k) {
            const std::int64_t to = k + 1 < segments ? variant.segment_start[k + 1] : nt;
            std::int64_t total = 0;
            for (std::int64_t j = variant.segment_start[k]; j < to; ++j)
                total += nearest[j];
            score[k][o] = total;
        }
    }

    // Each segment may shift by up to two positions on its own.
    std::int64_t best = NO_MATCH_SCORE;
    for (std::int64_t o = 0; o <= positions; ++o) {
        std::int64_t total = 0;
        for (int k = 0; k < segments; ++k) {
            std::int64_t lowest = score[k][std::max<std::int64_t>(0, o - SEGMENT_SHIFT)];
            for (std::int64_t shifted = std::max<std::int64_t>(0, o - SEGMENT_SHIFT);
                 shifted <= std::min<std::int64_t>(o + SEGMENT_SHIFT, positions); ++shifted)
                lowest = std::min(lowest, score[k][shifted]);
            total += lowest;
        }
        best = std::min(best, total);
    }

    std::memset(padded, 0, static_cast<std::size_t>(length) * BANDS * sizeof(std::int32_t));
    return static_cast<float>(best) * (1.0f / static_cast<float>(1 << 20));
}
