#include "engine/SpeechExtent.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr int HOP = 110; // envelope step in samples (5 ms)
constexpr int WINDOW = 220; // envelope window in samples (10 ms)
constexpr int AHEAD = 8; // smoothing takes this value and the 7 after it
constexpr int BEHIND = 7; // … and the 7 before it
constexpr int HISTOGRAM_BINS = 32;
constexpr int SEARCHED_BINS = 16;
constexpr double SEARCH_RADIUS = 300.6818181818182; // envelope steps (1.5 s)
constexpr int GUARD = 20; // envelope steps next to the centre
constexpr int MARGIN = 6615; // samples (0.3 s) on each side

// The largest deviation from the window's mean. The mean and the differences
// are 16-bit values: a difference that wraps keeps its wrapped value, and a
// magnitude that wraps negative (only -32768) does not count.
std::int16_t window_envelope(const std::int16_t* window)
{
    std::int32_t sum = 0;
    for (int i = 0; i < WINDOW; ++i)
        sum += window[i];
    auto mean = static_cast<std::int16_t>(sum / WINDOW);
    std::int16_t peak = 0;
    for (int i = 0; i < WINDOW; ++i) {
        auto difference = static_cast<std::int16_t>(window[i] - mean);
        auto magnitude = static_cast<std::int16_t>(difference < 0 ? -difference : difference);
        peak = std::max(peak, magnitude);
    }
    return peak;
}

// Moving average over the unsmoothed values k-7 … k+7, in place. The values
// behind k have already been replaced, so their unsmoothed values come from a
// ring that is read before e[k] is stored into it.
void smooth(std::vector<std::int16_t>& envelope)
{
    auto count = static_cast<std::int32_t>(envelope.size());
    std::array<std::int32_t, BEHIND> ring {};
    for (std::int32_t k = 0; k < count; ++k) {
        std::int32_t sum = 0;
        std::int32_t taken = 0;
        for (std::int32_t i = k; i < k + AHEAD && i < count; ++i, ++taken)
            sum += envelope[i];
        for (std::int32_t back = 1; back <= BEHIND && k - back >= 0; ++back, ++taken)
            sum += ring[(k - back) % BEHIND];
        ring[k % BEHIND] = envelope[k];
        envelope[k] = static_cast<std::int16_t>(sum / taken);
    }
}

// The noise level: the histogram mode among the lower half of the bins, plus p/16.
std::int16_t noise_floor(const std::vector<std::int16_t>& envelope, std::int32_t peak)
{
    std::int32_t width = peak > HISTOGRAM_BINS ? peak / HISTOGRAM_BINS : 1;
    std::array<std::int32_t, HISTOGRAM_BINS> histogram {};
    for (std::int16_t value : envelope)
        ++histogram[std::min<std::int32_t>(value / width, HISTOGRAM_BINS - 1)];
    int mode = 0;
    for (int bin = 1; bin < SEARCHED_BINS; ++bin) {
        if (histogram[bin] > histogram[mode])
            mode = bin;
    }
    return static_cast<std::int16_t>(width * mode + peak / 16);
}

} // namespace

std::optional<SpeechExtent> find_speech_extent(const std::int16_t* samples, std::int32_t byte_count)
{
    if (!samples || byte_count <= 0)
        return std::nullopt;
    const std::int32_t sample_count = byte_count / 2;
    const std::int32_t envelope_count = (byte_count & ~1) / WINDOW - 1;
    if (envelope_count <= 0)
        return std::nullopt;

    std::vector<std::int16_t> e(static_cast<std::size_t>(envelope_count));
    for (std::int32_t k = 0; k < envelope_count; ++k)
        e[k] = window_envelope(samples + static_cast<std::ptrdiff_t>(k) * HOP);
    smooth(e);

    auto peak_at = std::max_element(e.begin(), e.end());
    const std::int32_t p = *peak_at;
    const auto b = static_cast<std::int32_t>(peak_at - e.begin());

    const std::int16_t z = noise_floor(e, p);
    for (std::int16_t& value : e)
        value = value >= z ? static_cast<std::int16_t>(value - z) : std::int16_t { 0 };

    std::int32_t h = static_cast<std::int16_t>(p - z) / 3;
    if (h == 0)
        h = 1;
    auto clipped = [&](std::int32_t k) -> std::int64_t { return std::min<std::int32_t>(e[k], h); };

    // Centre of the loud part within 1.5 s of the peak; double-to-integer
    // conversions truncate toward zero.
    const auto lo = std::max<std::int32_t>(0, static_cast<std::int32_t>(b - SEARCH_RADIUS));
    const auto hi
        = std::min<std::int32_t>(envelope_count - 1, static_cast<std::int32_t>(b + SEARCH_RADIUS));
    std::int64_t s = 0;
    std::int64_t t = 0;
    for (std::int32_t k = lo; k <= hi; ++k) {
        s += clipped(k);
        t += k * clipped(k);
    }
    const std::int64_t c = s != 0 ? t / s : b;

    // Full-level speech before and after the centre, outside the guard.
    const auto lo2 = std::max<std::int64_t>(
        0, static_cast<std::int64_t>(static_cast<double>(c) - SEARCH_RADIUS));
    std::int64_t before = 0;
    for (std::int64_t k = lo2; k <= c - GUARD - 1; ++k)
        before += clipped(static_cast<std::int32_t>(k));
    const std::int64_t a = before / h;

    const auto hi2 = std::min<std::int64_t>(
        envelope_count - 1, static_cast<std::int64_t>(static_cast<double>(c) + SEARCH_RADIUS));
    std::int64_t after = 0;
    for (std::int64_t k = c + GUARD + 1; k <= hi2; ++k)
        after += clipped(static_cast<std::int32_t>(k));
    const std::int64_t bb = after / h;

    const std::int64_t start = std::max<std::int64_t>(0, (c - a - GUARD) * HOP - MARGIN);
    const std::int64_t end = std::min<std::int64_t>(sample_count, (c + bb + GUARD) * HOP + MARGIN);
    if (start > end)
        return std::nullopt;
    return SpeechExtent { static_cast<std::int32_t>(start), static_cast<std::int32_t>(end) };
}
