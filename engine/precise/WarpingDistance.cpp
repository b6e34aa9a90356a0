#include "engine/precise/WarpingDistance.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

float frame_distance(const float* a, const float* b)
{
    float sum = 0.0f;
    for (int d = 0; d < CepstralFrames::DIMENSIONS; ++d) {
        const float difference = a[d] - b[d];
        sum += difference * difference;
    }
    return std::sqrt(sum);
}

} // namespace

float WarpingDistance::distance(const CepstralFrames& a_in, const CepstralFrames& b_in)
{
    if (a_in.empty() || b_in.empty())
        return UNUSABLE;
    // The longer sequence runs along the rows, so that the result does not
    // depend on the argument order.
    const bool swap = b_in.count > a_in.count;
    const CepstralFrames& a = swap ? b_in : a_in;
    const CepstralFrames& b = swap ? a_in : b_in;
    const std::int32_t rows = a.count;
    const std::int32_t columns = b.count;
    // The band half-width in columns around the scaled diagonal.
    const std::int32_t band = std::max<std::int32_t>(2, (columns + 1) / 2);

    constexpr float INF = std::numeric_limits<float>::infinity();
    previous_.assign(static_cast<std::size_t>(columns), INF);
    current_.assign(static_cast<std::size_t>(columns), INF);
    for (std::int32_t i = 0; i < rows; ++i) {
        const std::int32_t centre = rows > 1
            ? static_cast<std::int32_t>(static_cast<std::int64_t>(i) * (columns - 1) / (rows - 1))
            : 0;
        const std::int32_t from = std::max<std::int32_t>(0, centre - band);
        const std::int32_t to = std::min<std::int32_t>(columns - 1, centre + band);
        std::fill(current_.begin(), current_.end(), INF);
        for (std::int32_t j = from; j <= to; ++j) {
            const float local = frame_distance(a.frame(i), b.frame(j));
            float best;
            if (i == 0 && j == 0)
                best = 2.0f * local;
            else {
                best = INF;
                if (i > 0)
                    best = std::min(best, previous_[j] + local);
                if (j > 0)
                    best = std::min(best, current_[j - 1] + local);
                if (i > 0 && j > 0)
                    best = std::min(best, previous_[j - 1] + 2.0f * local);
            }
            current_[j] = best;
        }
        std::swap(previous_, current_);
    }
    return previous_[columns - 1] / static_cast<float>(rows + columns);
}
