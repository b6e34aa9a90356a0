#include "engine/precise/FourierPower.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

TEST(FourierPower, ACosineLandsInItsBinWithItsEnergy)
{
    FourierPower transform;
    for (int bin : { 1, 37, 128, 255 }) {
        std::array<float, FourierPower::POINTS> frame;
        for (int i = 0; i < FourierPower::POINTS; ++i)
            frame[i] = static_cast<float>(
                std::cos(2.0 * std::numbers::pi * bin * i / FourierPower::POINTS));
        const auto power = transform.power(frame);
        // A unit cosine puts (N/2)² into its bin and nothing elsewhere.
        const float expected = 256.0f * 256.0f;
        for (int k = 0; k < FourierPower::BINS; ++k) {
            if (k == bin)
                EXPECT_NEAR(power[k], expected, expected * 1e-4f) << bin;
            else
                EXPECT_LT(power[k], expected * 1e-6f) << bin << " leaks into " << k;
        }
    }
}

TEST(FourierPower, KeepsTheFramesEnergy)
{
    std::array<float, FourierPower::POINTS> frame;
    double energy = 0.0;
    for (int i = 0; i < FourierPower::POINTS; ++i) {
        frame[i] = static_cast<float>(((i * 7919) % 201 - 100) / 100.0);
        energy += frame[i] * frame[i];
    }
    const auto power = FourierPower().power(frame);
    // Parseval over the one-sided bins: DC and Nyquist count once, the rest twice.
    double in_bins = power[0] + power[FourierPower::BINS - 1];
    for (int k = 1; k < FourierPower::BINS - 1; ++k)
        in_bins += 2.0 * power[k];
    EXPECT_NEAR(in_bins / FourierPower::POINTS, energy, energy * 1e-4);
}

} // namespace
