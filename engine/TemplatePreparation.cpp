#include "engine/TemplatePreparation.h"

#include "engine/FeatureExtraction.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr int BANDS = FeatureSet::BANDS;
constexpr int MIN_RUN = 4; // frames above the cut level that make a segment
constexpr int GAP = 4; // frames a gap between segments is narrowed to
constexpr std::int64_t SCALE = 1024;

// Sums of squares are 64-bit; unsigned so that absurdly long inputs wrap
// instead of overflowing.
std::int64_t root(std::uint64_t sum_of_squares)
{
    return static_cast<std::int64_t>(std::sqrt(static_cast<double>(sum_of_squares)));
}

struct Run {
    std::int32_t start;
    std::int32_t end;
};

// Runs of at least four frames above `cut` that reach above `loud`; at most three.
std::vector<Run> find_runs(
    const std::vector<std::int64_t>& magnitude, std::int64_t cut, std::int64_t loud)
{
    std::vector<Run> runs;
    const auto count = static_cast<std::int32_t>(magnitude.size());
    std::int32_t n = 0;
    std::int64_t r = 0;
    for (std::int32_t i = 0; i < count && runs.size() < 3; ++i) {
        if (magnitude[i] > cut) {
            ++n;
            r = std::max(r, magnitude[i]);
        } else {
            n = 0;
            r = 0;
        }
        if (n >= MIN_RUN && r > loud) {
            std::int32_t end = i + 1;
            while (end < count && magnitude[end] > cut)
                ++end;
            runs.push_back({ i + 1 - n, end });
            // The scan resumes at `end`; that frame is at or below the cut, so
            // it only resets the run and the next frame to look at is end + 1.
            i = end;
            n = 0;
            r = 0;
        }
    }
    return runs;
}

void find_segments(FeatureSet& set, const std::vector<std::int64_t>& magnitude)
{
    const std::int32_t count = set.count;
    const std::int64_t m = *std::max_element(magnitude.begin(), magnitude.end());
    const std::int64_t loud = m / 3;
    std::int64_t level = 0;
    for (;;) {
        std::int64_t cut = m;
        for (std::int64_t e : magnitude) {
            if (e > level && e < m)
                cut = std::min(cut, e);
        }
        if (cut >= loud)
            return;
        std::vector<Run> runs = find_runs(magnitude, cut, loud);
        const auto found = static_cast<std::int32_t>(runs.size());
        if (found >= 2 && found > set.segment_count) {
            set.segment_count = found;
            set.segment_end[0] = runs[0].end;
            set.segment_start[1] = runs[1].start;
            if (found == 3) {
                set.segment_end[1] = runs[1].end;
                set.segment_start[2] = runs[2].start;
            }
            set.segment_end[found - 1] = count;
        }
        if (found == 3)
            return;
        level = cut;
    }
}

void narrow_gap(std::int32_t& end_before, std::int32_t& start_after)
{
    if (start_after - end_before > GAP) {
        const std::int32_t mid = (end_before + start_after) / 2;
        start_after = mid + GAP / 2;
        end_before = mid - GAP / 2;
    }
}

} // namespace

void prepare_template(FeatureSet& set)
{
    if (set.count <= 0 || !set.frames)
        return;
    const std::int32_t count = set.count;
    set.segment_count = 1;
    std::fill_n(set.segment_start, FeatureSet::MAX_SEGMENTS, 0);
    std::fill_n(set.segment_end, FeatureSet::MAX_SEGMENTS, 0);
    set.segment_end[0] = count;

    for (int band = 0; band < BANDS; ++band) {
        std::int32_t lowest = std::numeric_limits<std::int32_t>::max();
        for (std::int32_t f = 0; f < count; ++f)
            lowest = std::min(lowest, set.frame(f)[band]);
        for (std::int32_t f = 0; f < count; ++f)
            set.frame(f)[band] -= lowest;
    }

    std::vector<std::int64_t> magnitude(static_cast<std::size_t>(count));
    for (std::int32_t f = 0; f < count; ++f) {
        std::uint64_t sum = 0;
        for (int band = 0; band < BANDS; ++band) {
            const auto v = static_cast<std::uint64_t>(set.frame(f)[band]);
            sum += v * v;
        }
        magnitude[f] = root(sum);
    }
    find_segments(set, magnitude);

    if (set.segment_count > 1)
        narrow_gap(set.segment_end[0], set.segment_start[1]);
    if (set.segment_count > 2)
        narrow_gap(set.segment_end[1], set.segment_start[2]);

    std::uint64_t sum = 0;
    for (int k = 0; k < set.segment_count; ++k) {
        for (std::int32_t f = set.segment_start[k]; f < set.segment_end[k]; ++f) {
            for (int band = 0; band < BANDS; ++band) {
                const auto v = static_cast<std::uint64_t>(set.frame(f)[band]);
                sum += v * v;
            }
        }
    }
    const std::int64_t length = sum == 0 ? 1 : root(sum);

    set.allocate_normalized();
    for (std::int32_t i = 0; i < count * BANDS; ++i) {
        const std::int64_t scaled = set.frames[i] * SCALE / length;
        set.normalized[i] = static_cast<std::int16_t>(std::clamp<std::int64_t>(scaled, 0, SCALE));
    }
}

TemplateAnalysis create_template(const std::int16_t* samples, std::int32_t byte_count)
{
    TemplateAnalysis analysis;
    analysis.variants = extract_template(3, samples, byte_count, &analysis.start, &analysis.end);
    return analysis;
}
