#include "engine/SpeechExtent.h"

#include "tests/engine/Recordings.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace test_recordings;

namespace {

// A square wave of the given amplitude over samples [from, to).
std::vector<std::int16_t> with_burst(
    std::vector<std::int16_t> samples, int from, int to, int amplitude)
{
    for (int i = from; i < to; ++i)
        samples[i] = static_cast<std::int16_t>((i / 25) % 2 ? amplitude : -amplitude);
    return samples;
}

// The moving average reaches 7 envelope steps of 110 samples to either side.
constexpr int SMOOTHING_REACH = 7 * 110;

} // namespace

TEST(SpeechExtent, DigitalSilenceGivesTheMarginsFromTheStart)
{
    std::vector<std::int16_t> silence(CAPTURE_SAMPLES, 0);
    auto extent = find_speech_extent(silence.data(), bytes(silence));
    ASSERT_TRUE(extent);
    EXPECT_EQ(extent->start, 0);
    EXPECT_EQ(extent->end, 8815);
}

TEST(SpeechExtent, ConstantOffsetCountsAsSilence)
{
    std::vector<std::int16_t> offset(CAPTURE_SAMPLES, 5000);
    auto extent = find_speech_extent(offset.data(), bytes(offset));
    ASSERT_TRUE(extent);
    EXPECT_EQ(extent->start, 0);
    EXPECT_EQ(extent->end, 8815);
}

TEST(SpeechExtent, BurstInTheMiddleGetsThreeTenthsOfASecondOnEachSide)
{
    auto samples = with_burst(noise(CAPTURE_SAMPLES, 20, 7), 20000, 30000, 10000);
    auto extent = find_speech_extent(samples.data(), bytes(samples));
    ASSERT_TRUE(extent);
    // Smoothing spreads the burst's edges by up to 7 envelope steps.
    EXPECT_NEAR(extent->start, 20000 - 6615, SMOOTHING_REACH);
    EXPECT_NEAR(extent->end, 30000 + 6615, SMOOTHING_REACH);
}

TEST(SpeechExtent, BurstAtEitherEdgeIsLimitedToTheRecording)
{
    auto early = with_burst(noise(CAPTURE_SAMPLES, 20, 8), 0, 8000, 12000);
    auto extent = find_speech_extent(early.data(), bytes(early));
    ASSERT_TRUE(extent);
    EXPECT_EQ(extent->start, 0);
    EXPECT_NEAR(extent->end, 8000 + 6615, SMOOTHING_REACH);

    auto late
        = with_burst(noise(CAPTURE_SAMPLES, 20, 9), CAPTURE_SAMPLES - 8000, CAPTURE_SAMPLES, 12000);
    extent = find_speech_extent(late.data(), bytes(late));
    ASSERT_TRUE(extent);
    EXPECT_NEAR(extent->start, CAPTURE_SAMPLES - 8000 - 6615, SMOOTHING_REACH);
    EXPECT_EQ(extent->end, CAPTURE_SAMPLES);
}

TEST(SpeechExtent, LoudBackgroundKeepsTheNoiseFloorBelowThePeak)
{
    // Loud most of the time, louder for a short while: the extent must still
    // centre on the louder part instead of spanning everything.
    auto samples = noise(CAPTURE_SAMPLES, 3000, 10);
    samples = with_burst(samples, 25000, 31000, 20000);
    auto extent = find_speech_extent(samples.data(), bytes(samples));
    ASSERT_TRUE(extent);
    EXPECT_GT(extent->start, 25000 - 6615 - 20 * 110 - 1000);
    EXPECT_LT(extent->end, 31000 + 6615 + 20 * 110 + 1000);
    EXPECT_LT(extent->start, 25000);
    EXPECT_GT(extent->end, 31000);
}

TEST(SpeechExtent, SpokenWordIsCoveredWithItsMargins)
{
    auto speech = load("doctor-lee");
    const int offset = 15000;
    auto samples = capture(speech, offset);
    auto extent = find_speech_extent(samples.data(), bytes(samples));
    ASSERT_TRUE(extent);
    const int speech_end = offset + static_cast<int>(speech.size());
    EXPECT_LE(extent->start, offset);
    EXPECT_GE(extent->start, offset - 6615 - 20 * 110);
    EXPECT_GE(extent->end, speech_end - 6615);
    EXPECT_LE(extent->end, speech_end + 6615 + 20 * 110);
}

TEST(SpeechExtent, TooShortOrMissingInputHasNoExtent)
{
    std::vector<std::int16_t> samples(300, 100);
    EXPECT_FALSE(find_speech_extent(nullptr, 1000));
    EXPECT_FALSE(find_speech_extent(samples.data(), 0));
    EXPECT_FALSE(find_speech_extent(samples.data(), -4));
    EXPECT_FALSE(find_speech_extent(samples.data(), 439));

    // 440 bytes make one envelope value: the extent is the whole recording.
    auto extent = find_speech_extent(samples.data(), 440);
    ASSERT_TRUE(extent);
    EXPECT_EQ(extent->start, 0);
    EXPECT_EQ(extent->end, 220);
    // An odd byte count ignores the half sample.
    extent = find_speech_extent(samples.data(), 441);
    ASSERT_TRUE(extent);
    EXPECT_EQ(extent->end, 220);
}

TEST(SpeechExtent, ExtremeSamplesStayInsideTheRecording)
{
    // Full-scale alternation makes 16-bit differences wrap.
    std::vector<std::int16_t> samples(CAPTURE_SAMPLES);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = (i * 7919) % 3 == 0 ? 32767 : -32768;
    auto extent = find_speech_extent(samples.data(), bytes(samples));
    ASSERT_TRUE(extent);
    EXPECT_GE(extent->start, 0);
    EXPECT_LE(extent->start, extent->end);
    EXPECT_LE(extent->end, CAPTURE_SAMPLES);
}

TEST(SpeechExtent, DeviationsWrapInSixteenBits)
{
    // Region B sits at -32768 with a +32767 spike every 110 samples. Its
    // window mean is about -32172, so a spike deviates by 64939, which wraps
    // to -597 in 16 bits: the envelope there stays near 600, below the
    // moderate burst of region A, which therefore holds the peak.
    auto samples = with_burst(noise(CAPTURE_SAMPLES, 20, 11), 8000, 12000, 5000);
    for (int i = 36000; i < 48000; ++i)
        samples[i] = i % 110 == 0 ? 32767 : -32768;
    auto extent = find_speech_extent(samples.data(), bytes(samples));
    ASSERT_TRUE(extent);
    EXPECT_LE(extent->start, 8000);
    EXPECT_GE(extent->end, 12000);
    EXPECT_LT(extent->end, 36000);
}
