#include "engine/BandTable.h"
#include "engine/Transform.h"

#include "tests/engine/Recordings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

namespace {

// The same band amplitudes from a plain double-precision DFT.
std::array<double, 4> reference_bands(const std::int16_t* samples)
{
    std::array<double, 4> bands {};
    for (int band = 0; band < 4; ++band) {
        double power = 0;
        for (int k = BAND_TABLE[band].first_bin;
             k < BAND_TABLE[band].first_bin + BAND_TABLE[band].bin_count; ++k) {
            std::complex<double> sum;
            for (int n = 0; n < 512; ++n)
                sum += static_cast<double>(samples[n])
                    * std::polar(1.0, -2.0 * std::numbers::pi * n * k / 512);
            power += k * std::norm(sum);
        }
        bands[band] = std::sqrt(power);
    }
    return bands;
}

std::vector<std::int16_t> sine_at_bin(int bin, double amplitude)
{
    std::vector<std::int16_t> samples(512);
    for (int n = 0; n < 512; ++n)
        samples[n] = static_cast<std::int16_t>(
            std::lround(amplitude * std::sin(2 * std::numbers::pi * bin * n / 512)));
    return samples;
}

} // namespace

TEST(Transform, TwiddlesAreTruncatedAndExactAtTheQuarterPoints)
{
    const TwiddleTables& t = twiddle_tables();
    EXPECT_EQ(t.cos[0], 33554432);
    EXPECT_EQ(t.sin[0], 0);
    EXPECT_EQ(t.cos[128], 0);
    EXPECT_EQ(t.sin[128], 33554432);
    // cos(π/4) × 2^25 = 23726566.4…, truncated.
    EXPECT_EQ(t.cos[64], 23726566);
    EXPECT_EQ(t.sin[64], 23726566);
    // Past the quarter the cosine is negative and truncates toward zero.
    EXPECT_EQ(t.cos[192], -23726566);
}

TEST(Transform, ImpulseHasAFlatSpectrumInBinOrder)
{
    std::int64_t re[512] = {};
    std::int64_t im[512] = {};
    re[1] = 1 << 20;
    transform_512(re, im);
    // X[k] = e^(-j2πk/512): bin order after the bit reversal, forward sign.
    for (int k : { 0, 1, 5, 100, 128, 300, 511 }) {
        EXPECT_NEAR(
            static_cast<double>(re[k]), std::cos(2 * std::numbers::pi * k / 512) * (1 << 20), 16)
            << k;
        EXPECT_NEAR(
            static_cast<double>(im[k]), -std::sin(2 * std::numbers::pi * k / 512) * (1 << 20), 16)
            << k;
    }
}

TEST(BandTable, SilenceAndConstantFramesGiveZeros)
{
    std::vector<std::int16_t> zeros(512, 0);
    EXPECT_EQ(band_amplitudes(zeros.data()), (std::array<std::int32_t, 4> { 0, 0, 0, 0 }));
    for (std::int16_t level : { 1, -1, 1234, 32767, -32768 }) {
        std::vector<std::int16_t> constant(512, level);
        EXPECT_EQ(band_amplitudes(constant.data()), (std::array<std::int32_t, 4> { 0, 0, 0, 0 }))
            << level;
    }
}

TEST(BandTable, SineAtBinTwentyLandsInBandOneOnly)
{
    auto samples = sine_at_bin(20, 32767);
    auto bands = band_amplitudes(samples.data());
    const double expected = std::sqrt(20.0) * 256 * 32767;
    EXPECT_NEAR(bands[1], expected, expected * 1e-4);
    EXPECT_LT(bands[0], expected * 1e-3);
    EXPECT_LT(bands[2], expected * 1e-3);
    EXPECT_LT(bands[3], expected * 1e-3);
}

TEST(BandTable, EachBandCoversItsBinsAndBinZeroNeverCounts)
{
    // First and last bin of each band, and a sine above the last band.
    const int bins[] = { 1, 14, 15, 29, 30, 44, 45, 134 };
    const int owner[] = { 0, 0, 1, 1, 2, 2, 3, 3 };
    for (int i = 0; i < 8; ++i) {
        auto samples = sine_at_bin(bins[i], 10000);
        auto bands = band_amplitudes(samples.data());
        const double expected = std::sqrt(static_cast<double>(bins[i])) * 256 * 10000;
        for (int band = 0; band < 4; ++band) {
            if (band == owner[i])
                EXPECT_NEAR(bands[band], expected, expected * 1e-3) << "bin " << bins[i];
            else
                EXPECT_LT(bands[band], expected * 1e-2) << "bin " << bins[i] << " band " << band;
        }
    }
    auto above = sine_at_bin(140, 10000);
    auto bands = band_amplitudes(above.data());
    EXPECT_LT(bands[3], 2.0e6 * 1e-2);
}

TEST(BandTable, FixedPointAgreesWithAFloatingPointTransform)
{
    auto speech = test_recordings::load("home-phone");
    auto random = test_recordings::noise(512 * 4, 32767, 99);
    std::vector<const std::int16_t*> frames;
    for (std::size_t start = 0; start + 512 <= speech.size(); start += 2048)
        frames.push_back(speech.data() + start);
    for (std::size_t start = 0; start + 512 <= random.size(); start += 512)
        frames.push_back(random.data() + start);
    for (const std::int16_t* frame : frames) {
        auto bands = band_amplitudes(frame);
        auto reference = reference_bands(frame);
        for (int band = 0; band < 4; ++band)
            EXPECT_NEAR(bands[band], reference[band], 64 + reference[band] * 1e-5) << band;
    }
}

TEST(BandTable, FullScaleExtremesDoNotOverflow)
{
    std::vector<std::int16_t> samples(512);
    for (int n = 0; n < 512; ++n)
        samples[n] = (n / 2) % 2 ? 32767 : -32768; // a quarter of the sample rate, bin 128
    auto bands = band_amplitudes(samples.data());
    EXPECT_GT(bands[3], 0);
    auto reference = reference_bands(samples.data());
    EXPECT_NEAR(bands[3], reference[3], reference[3] * 1e-5);
}
