#include "engine/Matcher.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int BANDS = FeatureSet::BANDS;
constexpr int SEGMENTS = FeatureSet::MAX_SEGMENTS;
constexpr int WORKSPACE_FRAMES = SpeechEngine::WORKSPACE_FRAMES;
constexpr std::int64_t SCALE = 1024;
constexpr std::int64_t PAD_LONGER = 14; // frames on each side when the utterance is longer
constexpr std::int64_t PAD_EXTRA = 28;
constexpr std::int64_t SEGMENT_SHIFT = 2;
constexpr int LOCAL_REACH = 3; // template frame j against window frames j, j+1, j+2
constexpr int EXTRA_FRAMES = LOCAL_REACH - 1; // 1024-valued frames after the window

// Where the padded utterance lies and how many window positions it offers.
struct Layout {
    std::int64_t nt; // template frames
    std::int64_t nu; // utterance frames
    std::int64_t pad; // copies of the first and of the last frame
    std::int64_t length; // padded frames, at the end of the workspace
    std::int64_t positions; // window positions minus one
};

// Segments must lie inside the variant; anything else (a damaged file read
// into memory) makes the variant unusable rather than indexing outside it.
bool usable(const FeatureSet& variant, const FeatureSet& utterance)
{
    if (!variant.normalized || variant.count <= 0 || !utterance.frames || utterance.count <= 0)
        return false;
    if (variant.segment_count <= 0 || variant.segment_count > SEGMENTS)
        return false;
    for (int k = 0; k < variant.segment_count; ++k) {
        if (variant.segment_start[k] < 0 || variant.segment_start[k] > variant.count)
            return false;
        if (variant.segment_end[k] < 0 || variant.segment_end[k] > variant.count)
            return false;
    }
    return true;
}

bool plan(const FeatureSet& variant, const FeatureSet& utterance, Layout& layout)
{
    if (!usable(variant, utterance))
        return false;
    layout.nt = variant.count;
    layout.nu = utterance.count;
    layout.pad = layout.nu > layout.nt ? PAD_LONGER : (layout.nt - layout.nu + PAD_EXTRA) / 2;
    layout.length = layout.nu + 2 * layout.pad;
    // The padded utterance sits at the end of the workspace and must fit in it.
    if (layout.length > WORKSPACE_FRAMES)
        return false;
    layout.positions = layout.length - layout.nt;
    return layout.positions > 0;
}

// Lays the padded utterance into the last `length` frames of the workspace.
std::int32_t* lay_out(SpeechEngine& engine, const FeatureSet& utterance, const Layout& layout)
{
    std::int32_t* padded = engine.workspace() + (WORKSPACE_FRAMES - layout.length) * BANDS;
    for (std::int64_t f = 0; f < layout.length; ++f) {
        const std::int64_t source = std::clamp<std::int64_t>(f - layout.pad, 0, layout.nu - 1);
        std::memcpy(padded + f * BANDS, utterance.frame(static_cast<std::int32_t>(source)),
            BANDS * sizeof(std::int32_t));
    }
    return padded;
}

void clear(std::int32_t* padded, const Layout& layout)
{
    std::memset(padded, 0, static_cast<std::size_t>(layout.length) * BANDS * sizeof(std::int32_t));
}

// Each segment may shift by up to two window positions on its own; the best
// total over all positions is the distance.
float best_distance(
    const std::int64_t (*score)[WORKSPACE_FRAMES + 1], int segments, std::int64_t positions)
{
    std::int64_t best = NO_MATCH_SCORE;
    for (std::int64_t o = 0; o <= positions; ++o) {
        std::int64_t total = 0;
        for (int k = 0; k < segments; ++k) {
            const std::int64_t from = std::max<std::int64_t>(0, o - SEGMENT_SHIFT);
            const std::int64_t to = std::min(o + SEGMENT_SHIFT, positions);
            total += *std::min_element(score[k] + from, score[k] + to + 1);
        }
        best = std::min(best, total);
    }
    return static_cast<float>(best) * (1.0f / static_cast<float>(1 << 20));
}

// Both sides of every difference are 16-bit values and so is the difference.
inline std::int32_t squared_difference(std::int16_t a, std::int16_t b)
{
    auto d = static_cast<std::int16_t>(a - b);
    return d * d;
}

bool normalized_in_scale(const FeatureSet& variant)
{
    const std::int16_t* tn = variant.normalized.get();
    return std::all_of(
        tn, tn + variant.count * BANDS, [](std::int16_t t) { return t >= 0 && t <= SCALE; });
}

// Band-major working copies for the fast path, kept off the caller's frame
// layout so that every inner loop runs over consecutive values.
struct FastWork {
    std::int32_t window[BANDS][WORKSPACE_FRAMES]; // padded utterance
    std::int32_t lowest[BANDS][WORKSPACE_FRAMES + 1]; // band minimum per window position
    std::uint64_t sum[BANDS][WORKSPACE_FRAMES + 1]; // prefix sums of values, modulo 2^64
    std::uint64_t sum_squares[BANDS][WORKSPACE_FRAMES + 1]; // prefix sums of squares, modulo 2^64
    std::int32_t tn[BANDS][WORKSPACE_FRAMES];
    std::int32_t v[BANDS][WORKSPACE_FRAMES + EXTRA_FRAMES];
    std::int32_t nearest[WORKSPACE_FRAMES];
    std::int64_t score[SEGMENTS][WORKSPACE_FRAMES + 1];
};

// The minimum of every run of `width` consecutive values (a sliding window
// with a queue of candidate indices).
void sliding_minimum(
    const std::int32_t* values, std::int64_t count, std::int64_t width, std::int32_t* out)
{
    std::int32_t queue[WORKSPACE_FRAMES];
    int head = 0;
    int tail = 0;
    for (std::int64_t i = 0; i < count; ++i) {
        while (tail > head && values[queue[tail - 1]] >= values[i])
            --tail;
        queue[tail++] = static_cast<std::int32_t>(i);
        if (queue[head] <= i - width)
            ++head;
        if (i >= width - 1)
            out[i - width + 1] = values[queue[head]];
    }
}

// v[j] = clamp((x × 1024) / r, 0, 1024) for x = window[j] − lowest, which
// lies in 0 … 2^31 − 1 because every value is non-negative. x × 1024 and r
// (below 2^33) are exact in double precision, and the correctly rounded
// quotient of such integers never reaches the next integer, so truncating it
// gives the integer quotient. Written so that the compiler can vectorise it.
void scale_values(
    const std::int32_t* window, std::int32_t lowest, double r, std::int32_t* v, std::int64_t count)
{
    for (std::int64_t j = 0; j < count; ++j) {
        const double q = static_cast<double>(window[j] - lowest) * static_cast<double>(SCALE) / r;
        v[j] = static_cast<std::int32_t>(std::min(q, static_cast<double>(SCALE)));
    }
}

bool frames_non_negative(const FeatureSet& utterance)
{
    const std::int32_t* frames = utterance.frames.get();
    return std::all_of(
        frames, frames + utterance.count * BANDS, [](std::int32_t value) { return value >= 0; });
}

} // namespace

float compare(SpeechEngine& engine, const FeatureSet& variant, const FeatureSet& utterance)
{
    Layout layout;
    if (!plan(variant, utterance, layout))
        return UNUSABLE_DISTANCE;
    // Template values outside the scale make 16-bit differences wrap, and
    // negative band values (never extracted) widen the differences; the
    // literal path handles both.
    if (!normalized_in_scale(variant) || !frames_non_negative(utterance))
        return compare_reference(engine, variant, utterance);

    const std::int64_t nt = layout.nt;
    const std::int64_t positions = layout.positions;
    const int segments = variant.segment_count;
    std::int32_t* padded = lay_out(engine, utterance, layout);

    FastWork work;
    for (int b = 0; b < BANDS; ++b) {
        std::uint64_t total = 0;
        std::uint64_t total_squares = 0;
        work.sum[b][0] = 0;
        work.sum_squares[b][0] = 0;
        for (std::int64_t f = 0; f < layout.length; ++f) {
            const std::int32_t value = padded[f * BANDS + b];
            work.window[b][f] = value;
            const auto wide = static_cast<std::uint64_t>(static_cast<std::int64_t>(value));
            total += wide;
            total_squares += wide * wide;
            work.sum[b][f + 1] = total;
            work.sum_squares[b][f + 1] = total_squares;
        }
        sliding_minimum(work.window[b], layout.length, nt, work.lowest[b]);
        for (std::int64_t j = 0; j < nt; ++j)
            work.tn[b][j] = variant.normalized[j * BANDS + b];
        for (int e = 0; e < EXTRA_FRAMES; ++e)
            work.v[b][nt + e] = static_cast<std::int32_t>(SCALE);
    }

    for (std::int64_t o = 0; o <= positions; ++o) {
        for (int k = 0; k < segments; ++k)
            work.score[k][o] = NO_MATCH_SCORE;

        // Σ (value − minimum)² over the segment frames, from the prefix sums:
        // Σx² − 2mΣx + n·m², exact modulo 2^64 like the frame-by-frame sum.
        std::uint64_t length_squared = 0;
        for (int k = 0; k < segments; ++k) {
            const std::int64_t from = o + variant.segment_start[k];
            const std::int64_t to = o + variant.segment_end[k];
            if (to <= from)
                continue;
            for (int b = 0; b < BANDS; ++b) {
                const auto m
                    = static_cast<std::uint64_t>(static_cast<std::int64_t>(work.lowest[b][o]));
                const std::uint64_t s1 = work.sum[b][to] - work.sum[b][from];
                const std::uint64_t s2 = work.sum_squares[b][to] - work.sum_squares[b][from];
                length_squared += s2 - 2 * m * s1 + static_cast<std::uint64_t>(to - from) * m * m;
            }
        }
        const std::int64_t root = length_squared == 0
            ? 1
            : static_cast<std::int64_t>(std::sqrt(static_cast<double>(length_squared)));
        const auto r = static_cast<double>(root);

        // Coarse test on bands 0 and 2. The sum only grows, so checking it
        // after every few frames rejects exactly the same positions.
        std::int64_t coarse = 0;
        bool rejected = false;
        for (int b : { 0, 2 }) {
            const std::int32_t* window = work.window[b] + o;
            const std::int32_t lowest = work.lowest[b][o];
            std::int32_t* v = work.v[b];
            const std::int32_t* tn = work.tn[b];
            for (std::int64_t j0 = 0; j0 < nt && !rejected; j0 += 16) {
                const std::int64_t j1 = std::min(nt, j0 + 16);
                std::int32_t part = 0;
                scale_values(window + j0, lowest, r, v + j0, j1 - j0);
                for (std::int64_t j = j0; j < j1; ++j) {
                    const std::int32_t d = v[j] - tn[j];
                    part += d * d;
                }
                coarse += part;
                rejected = coarse >= COARSE_REJECTION;
            }
        }
        if (rejected)
            continue;
        for (int b : { 1, 3 }) {
            const std::int32_t* window = work.window[b] + o;
            const std::int32_t lowest = work.lowest[b][o];
            scale_values(window, lowest, r, work.v[b], nt);
        }

        // Local match; all values are within 0 … 1024, so 32 bits suffice.
        for (std::int64_t j = 0; j < nt; ++j) {
            std::int32_t d[LOCAL_REACH] = {};
            for (int b = 0; b < BANDS; ++b) {
                for (int reach = 0; reach < LOCAL_REACH; ++reach) {
                    const std::int32_t diff = work.v[b][j + reach] - work.tn[b][j];
                    d[reach] += diff * diff;
                }
            }
            work.nearest[j] = std::min({ d[0], d[1], d[2] });
        }
        for (int k = 0; k < segments; ++k) {
            const std::int64_t to = k + 1 < segments ? variant.segment_start[k + 1] : nt;
            std::int64_t total = 0;
            for (std::int64_t j = variant.segment_start[k]; j < to; ++j)
                total += work.nearest[j];
            work.score[k][o] = total;
        }
    }

    clear(padded, layout);
    return best_distance(work.score, segments, positions);
}

float compare_reference(
    SpeechEngine& engine, const FeatureSet& variant, const FeatureSet& utterance)
{
    Layout layout;
    if (!plan(variant, utterance, layout))
        return UNUSABLE_DISTANCE;
    const std::int64_t nt = layout.nt;
    const std::int64_t positions = layout.positions;
    const int segments = variant.segment_count;
    const std::int16_t* tn = variant.normalized.get();
    std::int32_t* padded = lay_out(engine, utterance, layout);

    std::int64_t score[SEGMENTS][WORKSPACE_FRAMES + 1];
    std::int16_t v[(WORKSPACE_FRAMES + EXTRA_FRAMES) * BANDS];

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
        for (std::int64_t j = nt; j < nt + EXTRA_FRAMES; ++j) {
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

    clear(padded, layout);
    return best_distance(score, segments, positions);
}
