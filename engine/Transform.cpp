#include "engine/Transform.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace {

constexpr int POINTS = 512;
constexpr int POINT_BITS = 9;

TwiddleTables build_twiddle_tables()
{
    TwiddleTables tables {};
    const double scale = static_cast<double>(1 << TwiddleTables::FRACTION_BITS);
    for (int m = 0; m < 256; ++m) {
        double angle = 2.0 * std::numbers::pi * m / POINTS;
        tables.cos[m] = static_cast<std::int32_t>(std::cos(angle) * scale);
        tables.sin[m] = static_cast<std::int32_t>(std::sin(angle) * scale);
    }
    // The quarter points must be exact whatever the platform's cos and sin return.
    tables.cos[0] = 1 << TwiddleTables::FRACTION_BITS;
    tables.sin[0] = 0;
    tables.cos[128] = 0;
    tables.sin[128] = 1 << TwiddleTables::FRACTION_BITS;
    return tables;
}

int reverse_bits(int index)
{
    int reversed = 0;
    for (int bit = 0; bit < POINT_BITS; ++bit)
        reversed |= ((index >> bit) & 1) << (POINT_BITS - 1 - bit);
    return reversed;
}

} // namespace

const TwiddleTables& twiddle_tables()
{
    static const TwiddleTables tables = build_twiddle_tables();
    return tables;
}

void transform_512(std::int64_t* re, std::int64_t* im)
{
    const TwiddleTables& w = twiddle_tables();
    for (int span = POINTS; span >= 2; span /= 2) {
        const int half = span / 2;
        const int step = 256 / half;
        for (int i = 0; i < half; ++i) {
            const std::int64_t c = w.cos[i * step];
            const std::int64_t s = w.sin[i * step];
            for (int g = i; g < POINTS; g += span) {
                const std::int64_t a_re = re[g];
                const std::int64_t a_im = im[g];
                const std::int64_t b_re = re[g + half];
                const std::int64_t b_im = im[g + half];
                re[g] = a_re + b_re;
                im[g] = a_im + b_im;
                const std::int64_t d_re = a_re - b_re;
                const std::int64_t d_im = a_im - b_im;
                re[g + half] = (d_re * c + d_im * s) >> TwiddleTables::FRACTION_BITS;
                im[g + half] = (d_im * c - d_re * s) >> TwiddleTables::FRACTION_BITS;
            }
        }
    }
    for (int i = 0; i < POINTS; ++i) {
        const int j = reverse_bits(i);
        if (i < j) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
    }
}
