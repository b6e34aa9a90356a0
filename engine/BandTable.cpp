#include "engine/BandTable.h"

#include "engine/Transform.h"

#include <cmath>

namespace {

constexpr int POINTS = 512;
constexpr int DATA_FRACTION_BITS = 13;

} // namespace

std::array<std::int32_t, 4> band_amplitudes(const std::int16_t* samples)
{
    std::int64_t re[POINTS];
    std::int64_t im[POINTS];
    for (int n = 0; n < POINTS; ++n) {
        re[n] = static_cast<std::int64_t>(samples[n]) * (1 << DATA_FRACTION_BITS);
        im[n] = 0;
    }
    transform_512(re, im);

    std::array<std::int32_t, 4> amplitudes {};
    for (int band = 0; band < 4; ++band) {
        std::int64_t power = 0;
        const int first = BAND_TABLE[band].first_bin;
        for (int k = first; k < first + BAND_TABLE[band].bin_count; ++k) {
            // Arithmetic shift back to whole units before squaring.
            const std::int64_t x = re[k] >> DATA_FRACTION_BITS;
            const std::int64_t y = im[k] >> DATA_FRACTION_BITS;
            power += k * (x * x + y * y);
        }
        amplitudes[band] = static_cast<std::int32_t>(std::sqrt(static_cast<double>(power)));
    }
    return amplitudes;
}
