#include "engine/precise/PreciseMatcher.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

// A match is rejected when its best distance reaches REJECT_RELATIVE times
// the distance the tags set for it, or REJECT_COHORT times the utterance's
// mean distance to the other tags (an utterance about as far from its best
// tag as from all the others is no word of them).
constexpr float REJECT_RELATIVE = 1.15f;
constexpr float REJECT_COHORT = 0.92f;
// A sure match lies closer to its tag than that tag's nearest fellow does,
// well below the others' mean, and ahead of the second best tag.
constexpr float SURE_RELATIVE = 1.0f;
constexpr float SURE_COHORT = 0.80f;
constexpr float SURE_MARGIN = 1.05f;
// The cohort ratio shown as accuracy 100; REJECT_COHORT shows as 0.
constexpr float PERFECT_COHORT = 0.40f;
// Fewer tags give no meaningful mean of the others: only the learned
// distance then decides, and a match is never sure.
constexpr int COHORT_TAGS = 3;

float median_of(std::vector<float> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0f;
}

// The mean Euclidean distance of the frames from their average frame.
float spread_of(const CepstralFrames& frames)
{
    if (frames.empty())
        return 0.0f;
    std::array<float, CepstralFrames::DIMENSIONS> mean {};
    for (std::int32_t f = 0; f < frames.count; ++f)
        for (int d = 0; d < CepstralFrames::DIMENSIONS; ++d)
            mean[d] += frames.frame(f)[d];
    for (float& value : mean)
        value /= static_cast<float>(frames.count);
    float total = 0.0f;
    for (std::int32_t f = 0; f < frames.count; ++f) {
        float sum = 0.0f;
        for (int d = 0; d < CepstralFrames::DIMENSIONS; ++d) {
            const float difference = frames.frame(f)[d] - mean[d];
            sum += difference * difference;
        }
        total += std::sqrt(sum);
    }
    return total / static_cast<float>(frames.count);
}

} // namespace

PreciseMatcher::PreciseMatcher(std::vector<CepstralFrames> tags)
    : tags_(std::move(tags))
{
    const std::size_t n = tags_.size();
    std::vector<float> nearest(n, WarpingDistance::UNUSABLE);
    if (n == 1)
        nearest[0] = spread_of(tags_[0]);
    if (n >= 2) {
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = i + 1; j < n; ++j) {
                const float d = warping_.distance(tags_[i], tags_[j]);
                nearest[i] = std::min(nearest[i], d);
                nearest[j] = std::min(nearest[j], d);
            }
        }
    }
    references_.resize(n);
    if (n == 0)
        return;
    const float median = median_of(nearest);
    for (std::size_t i = 0; i < n; ++i)
        references_[i] = std::min(nearest[i], median);
}

std::vector<float> PreciseMatcher::distances(const CepstralFrames& utterance)
{
    std::vector<float> result;
    result.reserve(tags_.size());
    for (const CepstralFrames& tag : tags_)
        result.push_back(warping_.distance(tag, utterance));
    return result;
}

PreciseMatch PreciseMatcher::match(const CepstralFrames& utterance)
{
    if (utterance.empty() || tags_.empty())
        return {};
    return judge(distances(utterance));
}

PreciseMatch PreciseMatcher::judge(const std::vector<float>& distances) const
{
    PreciseMatch result;
    if (distances.empty() || distances.size() != tags_.size())
        return result;
    // The first of equal distances wins, as the classic run keeps the earlier entry.
    const auto best = std::min_element(distances.begin(), distances.end());
    if (!(*best < WarpingDistance::UNUSABLE))
        return result;
    result.index = static_cast<int>(best - distances.begin());
    result.best_distance = *best;
    result.second_distance = *best;
    float others = 0.0f;
    bool first_other = true;
    for (std::size_t i = 0; i < distances.size(); ++i) {
        if (static_cast<int>(i) == result.index)
            continue;
        others += distances[i];
        if (first_other || distances[i] < result.second_distance)
            result.second_distance = distances[i];
        first_other = false;
    }
    result.mean_distance = (others + result.best_distance) / static_cast<float>(distances.size());

    const float reference = references_[static_cast<std::size_t>(result.index)];
    result.relative_distance
        = reference > 0.0f ? result.best_distance / reference : REJECT_RELATIVE;
    const bool with_cohort = static_cast<int>(distances.size()) >= COHORT_TAGS;
    const float mean_others
        = with_cohort ? others / static_cast<float>(distances.size() - 1) : 0.0f;
    result.cohort_ratio = mean_others > 0.0f ? result.best_distance / mean_others : 0.0f;

    const bool rejected = !(result.relative_distance < REJECT_RELATIVE)
        || (with_cohort && !(result.cohort_ratio < REJECT_COHORT));
    if (rejected)
        return result;
    const bool sure = with_cohort && result.relative_distance < SURE_RELATIVE
        && result.cohort_ratio < SURE_COHORT
        && result.second_distance >= SURE_MARGIN * result.best_distance;
    result.verdict = sure ? MatchVerdict::Sure : MatchVerdict::Unsure;
    // Without a cohort the learned distance gives the scale instead.
    const float closeness = with_cohort
        ? (REJECT_COHORT - result.cohort_ratio) / (REJECT_COHORT - PERFECT_COHORT)
        : 1.0f - result.relative_distance / REJECT_RELATIVE;
    result.accuracy = std::clamp(100.0f * closeness, 0.0f, 100.0f);
    return result;
}
