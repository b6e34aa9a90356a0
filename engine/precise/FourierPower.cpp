#include "engine/precise/FourierPower.h"

#include <cmath>
#include <numbers>

namespace {

constexpr int POINT_BITS = 9;

} // namespace

FourierPower::FourierPower()
{
    for (int m = 0; m < POINTS / 2; ++m) {
        const double angle = -2.0 * std::numbers::pi * m / POINTS;
        twiddles_[m] = { static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle)) };
    }
    for (int i = 0; i < POINTS; ++i) {
        int reversed = 0;
        for (int bit = 0; bit < POINT_BITS; ++bit)
            reversed |= ((i >> bit) & 1) << (POINT_BITS - 1 - bit);
        reversed_[i] = reversed;
    }
}

std::array<float, FourierPower::BINS> FourierPower::power(
    const std::array<float, POINTS>& frame) const
{
    std::array<std::complex<float>, POINTS> x;
    for (int i = 0; i < POINTS; ++i)
        x[reversed_[i]] = frame[i];
    for (int half = 1; half < POINTS; half *= 2) {
        const int stride = POINTS / (2 * half);
        for (int start = 0; start < POINTS; start += 2 * half) {
            for (int k = 0; k < half; ++k) {
                const std::complex<float> odd = twiddles_[k * stride] * x[start + k + half];
                x[start + k + half] = x[start + k] - odd;
                x[start + k] += odd;
            }
        }
    }
    std::array<float, BINS> result;
    for (int k = 0; k < BINS; ++k)
        result[k] = std::norm(x[k]);
    return result;
}
