#include "engine/precise/WarpingDistance.h"

#include "tests/engine/precise/PreciseRecordings.h"

#include <gtest/gtest.h>

using namespace test_recordings;

namespace {

// Every frame of `frames` repeated, as the same word spoken at half speed.
CepstralFrames stretched(const CepstralFrames& frames)
{
    CepstralFrames result;
    result.count = 2 * frames.count;
    for (std::int32_t f = 0; f < frames.count; ++f)
        for (int copy = 0; copy < 2; ++copy)
            result.values.insert(
                result.values.end(), frames.frame(f), frames.frame(f) + CepstralFrames::DIMENSIONS);
    return result;
}

TEST(WarpingDistance, IsZeroForTheSameFramesAndSymmetric)
{
    WarpingDistance warping;
    const CepstralFrames margaret = tag_cepstra("margaret-slow");
    const CepstralFrames office = tag_cepstra("office-fast");
    EXPECT_EQ(warping.distance(margaret, margaret), 0.0f);
    const float there = warping.distance(margaret, office);
    EXPECT_GT(there, 0.0f);
    EXPECT_EQ(there, warping.distance(office, margaret));
}

TEST(WarpingDistance, AbsorbsAChangeOfTempo)
{
    WarpingDistance warping;
    const CepstralFrames office = tag_cepstra("office-slow");
    const CepstralFrames other_word = tag_cepstra("home-phone");
    EXPECT_LT(
        warping.distance(office, stretched(office)), 0.1f * warping.distance(office, other_word));
}

TEST(WarpingDistance, TheSameWordAtAnotherSpeedIsCloserThanAnotherWord)
{
    WarpingDistance warping;
    const CepstralFrames slow = tag_cepstra("margaret-slow");
    const CepstralFrames fast = utterance_cepstra("margaret-fast");
    for (const char* other : { "office-slow", "doctor-lee", "home-phone" })
        EXPECT_LT(warping.distance(slow, fast), warping.distance(tag_cepstra(other), fast))
            << other;
}

TEST(WarpingDistance, AnEmptySequenceIsUnusable)
{
    WarpingDistance warping;
    const CepstralFrames word = tag_cepstra("doctor-lee");
    EXPECT_EQ(warping.distance(word, CepstralFrames()), WarpingDistance::UNUSABLE);
    EXPECT_EQ(warping.distance(CepstralFrames(), word), WarpingDistance::UNUSABLE);

    // A one-frame sequence against a long one still finds a path.
    CepstralFrames one;
    one.count = 1;
    one.values.assign(word.frame(0), word.frame(0) + CepstralFrames::DIMENSIONS);
    EXPECT_LT(warping.distance(word, one), WarpingDistance::UNUSABLE);
}

} // namespace
