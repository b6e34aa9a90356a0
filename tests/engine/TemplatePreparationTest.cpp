#include "engine/TemplatePreparation.h"
#include "engine/FeatureExtraction.h"

#include "tests/engine/Recordings.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A set whose frames have the given magnitudes in band 0 over a floor of 100
// (removed as the band minimum), with `hum` in band 2 on quiet frames so
// that quiet frames sit above zero.
FeatureSet set_from_levels(const std::vector<int>& levels, int hum = 50)
{
    FeatureSet set;
    set.allocate(static_cast<std::int32_t>(levels.size()));
    for (std::size_t f = 0; f < levels.size(); ++f) {
        std::int32_t* frame = set.frame(static_cast<std::int32_t>(f));
        frame[0] = 100 + levels[f];
        frame[1] = 7;
        frame[2] = levels[f] == 0 ? hum : 0;
        frame[3] = 7;
    }
    return set;
}

std::vector<int> runs(std::initializer_list<std::pair<int, int>> pieces)
{
    std::vector<int> levels;
    for (auto [length, level] : pieces)
        levels.insert(levels.end(), length, level);
    return levels;
}

std::vector<int> segments_of(const FeatureSet& set)
{
    std::vector<int> bounds;
    for (int k = 0; k < set.segment_count; ++k) {
        bounds.push_back(set.segment_start[k]);
        bounds.push_back(set.segment_end[k]);
    }
    return bounds;
}

} // namespace

TEST(TemplatePreparation, OneLoudRunKeepsASingleSegment)
{
    FeatureSet set = set_from_levels(runs({ { 5, 0 }, { 20, 900 }, { 5, 0 } }));
    prepare_template(set);
    EXPECT_EQ(segments_of(set), (std::vector<int> { 0, 30 }));
}

TEST(TemplatePreparation, WideGapIsNarrowedToFourFramesAroundItsMiddle)
{
    FeatureSet set = set_from_levels(runs({ { 10, 900 }, { 10, 0 }, { 10, 900 } }));
    prepare_template(set);
    // Gap [10, 20), middle 15: the segments meet at 13 and 17.
    EXPECT_EQ(segments_of(set), (std::vector<int> { 0, 13, 17, 30 }));
    EXPECT_EQ(set.segment_start[2], 0);
    EXPECT_EQ(set.segment_end[2], 0);
}

TEST(TemplatePreparation, NarrowGapIsLeftAsFound)
{
    FeatureSet set = set_from_levels(runs({ { 10, 900 }, { 4, 0 }, { 10, 900 } }));
    prepare_template(set);
    EXPECT_EQ(segments_of(set), (std::vector<int> { 0, 10, 14, 24 }));
}

TEST(TemplatePreparation, ThreeRunsMakeThreeSegmentsFromFirstToLastFrame)
{
    FeatureSet set = set_from_levels(
        runs({ { 3, 0 }, { 6, 900 }, { 8, 0 }, { 5, 700 }, { 3, 0 }, { 6, 800 }, { 9, 0 } }));
    prepare_template(set);
    // Runs [3, 9), [17, 22), [25, 31); the first gap (8 frames) is narrowed
    // around 13, the second (3 frames) is kept.
    EXPECT_EQ(segments_of(set), (std::vector<int> { 0, 11, 15, 22, 25, 40 }));
}

TEST(TemplatePreparation, ShortOrQuietRunsAreNoSegments)
{
    // A three-frame run is too short; a run that never exceeds a third of
    // the loudest frame is too quiet.
    FeatureSet set = set_from_levels(
        runs({ { 10, 900 }, { 5, 0 }, { 3, 900 }, { 5, 0 }, { 8, 250 }, { 5, 0 } }));
    prepare_template(set);
    EXPECT_EQ(segments_of(set), (std::vector<int> { 0, 36 }));
}

TEST(TemplatePreparation, RisingCutLevelSplitsRunsJoinedByAMurmur)
{
    // Two loud runs joined by frames just above the lowest level: only the
    // second cut level separates them.
    FeatureSet set
        = set_from_levels(runs({ { 4, 0 }, { 8, 900 }, { 10, 60 }, { 8, 900 }, { 4, 0 } }));
    prepare_template(set);
    ASSERT_EQ(set.segment_count, 2);
    EXPECT_EQ(segments_of(set), (std::vector<int> { 0, 15, 19, 34 }));
}

TEST(TemplatePreparation, RemovesBandMinimaAndNormalisesTheSegmentsToUnitLength)
{
    auto samples = test_recordings::capture(test_recordings::load("doctor-lee"));
    auto variants = extract_template(3, samples.data(), test_recordings::bytes(samples));
    for (const FeatureSet& set : variants) {
        ASSERT_GT(set.count, 0);
        ASSERT_TRUE(set.normalized);
        for (int band = 0; band < 4; ++band) {
            std::int32_t lowest = set.frame(0)[band];
            for (std::int32_t f = 0; f < set.count; ++f)
                lowest = std::min(lowest, set.frame(f)[band]);
            EXPECT_EQ(lowest, 0);
        }
        double length = 0;
        for (int k = 0; k < set.segment_count; ++k) {
            for (std::int32_t f = set.segment_start[k]; f < set.segment_end[k]; ++f) {
                for (int band = 0; band < 4; ++band)
                    length += std::pow(set.normalized[f * 4 + band], 2);
            }
        }
        // Truncation loses at most one unit per value.
        EXPECT_LE(std::sqrt(length), 1024.0);
        EXPECT_GT(std::sqrt(length), 1000.0);
        for (std::int32_t i = 0; i < 4 * set.count; ++i) {
            EXPECT_GE(set.normalized[i], 0);
            EXPECT_LE(set.normalized[i], 1024);
        }
    }
}

TEST(TemplatePreparation, SilentOrEmptySetsAreSafe)
{
    FeatureSet empty;
    prepare_template(empty);
    EXPECT_EQ(empty.segment_count, 0);
    EXPECT_FALSE(empty.normalized);

    FeatureSet flat = set_from_levels(runs({ { 12, 0 } }), 0);
    prepare_template(flat);
    EXPECT_EQ(segments_of(flat), (std::vector<int> { 0, 12 }));
    for (std::int32_t i = 0; i < 4 * flat.count; ++i)
        EXPECT_EQ(flat.normalized[i], 0);
}

TEST(TemplatePreparation, CreateTemplateReportsTheExtentAsByteOffsets)
{
    std::vector<std::int16_t> silence(test_recordings::CAPTURE_SAMPLES, 0);
    TemplateAnalysis quiet = create_template(silence.data(), test_recordings::bytes(silence));
    EXPECT_TRUE(quiet.has_speech());
    EXPECT_EQ(quiet.start, 0);
    EXPECT_EQ(quiet.end, 2 * 8815);

    TemplateAnalysis nothing = create_template(silence.data(), 100);
    EXPECT_FALSE(nothing.has_speech());
    for (const FeatureSet& set : nothing.variants)
        EXPECT_TRUE(set.empty());
}
