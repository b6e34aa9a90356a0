#include "engine/FeatureExtraction.h"
#include "engine/BandTable.h"
#include "engine/SpeechExtent.h"

#include "tests/engine/Recordings.h"

#include <gtest/gtest.h>

using namespace test_recordings;

TEST(FeatureExtraction, FrameCountFollowsTheExtentLength)
{
    // Silence gives the extent [0, min(n, 8815)), so short silent recordings
    // make extents of exactly the recording's length.
    struct Case {
        int samples;
        int frames;
    };
    for (Case c :
        { Case { 511, 0 }, Case { 512, 1 }, Case { 895, 1 }, Case { 896, 2 }, Case { 8815, 22 } }) {
        std::vector<std::int16_t> silence(c.samples, 0);
        std::int32_t start = -1;
        std::int32_t end = -1;
        FeatureSet set = extract_features(silence.data(), bytes(silence), 384, &start, &end);
        EXPECT_EQ(set.count, c.frames) << c.samples;
        EXPECT_EQ(set.frames != nullptr, c.frames > 0) << c.samples;
        EXPECT_EQ(start, 0);
        EXPECT_EQ(end, 2 * c.samples);
        EXPECT_FALSE(set.normalized);
        EXPECT_EQ(set.segment_count, 0);
    }
}

TEST(FeatureExtraction, NothingToAnalyseLeavesOutputsUntouched)
{
    std::vector<std::int16_t> samples(200, 0);
    std::int32_t start = -7;
    std::int32_t end = -7;
    EXPECT_EQ(extract_features(nullptr, 4000, 384, &start, &end).count, 0);
    EXPECT_EQ(extract_features(samples.data(), 0, 384, &start, &end).count, 0);
    EXPECT_EQ(extract_features(samples.data(), 400, 384, &start, &end).count, 0);
    EXPECT_EQ(start, -7);
    EXPECT_EQ(end, -7);
    EXPECT_EQ(extract_utterance(samples.data(), -2).count, 0);
}

TEST(FeatureExtraction, FramesAreTakenFromTheExtentAtTheStep)
{
    auto samples = capture(load("margaret-slow"));
    auto extent = find_speech_extent(samples.data(), bytes(samples));
    ASSERT_TRUE(extent);
    for (int step : { 384, 406, 362 }) {
        std::int32_t start = 0;
        std::int32_t end = 0;
        FeatureSet set = extract_features(samples.data(), bytes(samples), step, &start, &end);
        EXPECT_EQ(start, 2 * extent->start);
        EXPECT_EQ(end, 2 * extent->end);
        ASSERT_EQ(set.count, (extent->end - extent->start - 512) / step + 1);
        for (std::int32_t f : { 0, set.count / 2, set.count - 1 }) {
            auto expected = band_amplitudes(samples.data() + extent->start + f * step);
            EXPECT_EQ(std::vector<std::int32_t>(set.frame(f), set.frame(f) + 4),
                std::vector<std::int32_t>(expected.begin(), expected.end()))
                << "step " << step << " frame " << f;
        }
    }
    FeatureSet utterance = extract_utterance(samples.data(), bytes(samples));
    FeatureSet same = extract_features(samples.data(), bytes(samples), 384);
    ASSERT_EQ(utterance.count, same.count);
    EXPECT_TRUE(std::equal(
        utterance.frames.get(), utterance.frames.get() + 4 * utterance.count, same.frames.get()));
}

TEST(FeatureExtraction, TemplateKindsFillOneOrThreePreparedSets)
{
    auto samples = capture(load("office-slow"));
    std::int32_t start = -1;
    std::int32_t end = -1;

    auto none = extract_template(2, samples.data(), bytes(samples), &start, &end);
    for (const FeatureSet& set : none)
        EXPECT_TRUE(set.empty());
    EXPECT_EQ(start, -1);

    auto single = extract_template(1, samples.data(), bytes(samples), &start, &end);
    EXPECT_GT(single[0].count, 0);
    EXPECT_TRUE(single[0].normalized);
    EXPECT_GE(single[0].segment_count, 1);
    EXPECT_TRUE(single[1].empty());
    EXPECT_TRUE(single[2].empty());

    std::int32_t start3 = -1;
    std::int32_t end3 = -1;
    auto three = extract_template(3, samples.data(), bytes(samples), &start3, &end3);
    EXPECT_EQ(start3, start);
    EXPECT_EQ(end3, end);
    const int length = (end - start) / 2;
    for (int v = 0; v < 3; ++v) {
        EXPECT_EQ(three[v].count, (length - 512) / VARIANT_STEPS[v] + 1) << v;
        EXPECT_TRUE(three[v].normalized) << v;
    }
    // The slower step gives fewer frames, the faster one more.
    EXPECT_LT(three[1].count, three[0].count);
    EXPECT_GT(three[2].count, three[0].count);
}

TEST(FeatureExtraction, KnownRecordingsKeepTheirExtents)
{
    // Stored recordings are cut at these offsets; any change to the envelope,
    // its smoothing or the noise floor moves them.
    struct Known {
        const char* name;
        std::int32_t start;
        std::int32_t end;
    };
    for (Known known :
        { Known { "margaret-slow", 5155, 28175 }, Known { "margaret-fast", 4935, 26525 },
            Known { "office-slow", 4275, 25095 }, Known { "office-fast", 4165, 24215 },
            Known { "doctor-lee", 7795, 37415 }, Known { "home-phone", 5485, 32025 } }) {
        auto samples = capture(load(known.name));
        auto extent = find_speech_extent(samples.data(), bytes(samples));
        ASSERT_TRUE(extent) << known.name;
        EXPECT_EQ(extent->start, known.start) << known.name;
        EXPECT_EQ(extent->end, known.end) << known.name;
    }
}
