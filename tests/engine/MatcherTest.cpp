#include "engine/Matcher.h"

#include "engine/FeatureExtraction.h"
#include "engine/TemplatePreparation.h"

#include "tests/engine/Recordings.h"

#include <gtest/gtest.h>

using namespace test_recordings;

namespace {

// A one-segment variant of `count` frames with the same normalised values in every frame.
FeatureSet flat_variant(std::int32_t count, std::array<std::int16_t, 4> values)
{
    FeatureSet set;
    set.allocate(count);
    set.allocate_normalized();
    for (std::int32_t i = 0; i < 4 * count; ++i)
        set.normalized[i] = values[i % 4];
    set.segment_count = 1;
    set.segment_end[0] = count;
    return set;
}

FeatureSet zero_utterance(std::int32_t count)
{
    FeatureSet set;
    set.allocate(count);
    return set;
}

FeatureSet template_variant(const std::string& name, int v = 0)
{
    auto samples = capture(load(name));
    auto variants = extract_template(3, samples.data(), bytes(samples));
    return std::move(variants[v]);
}

} // namespace

TEST(Matcher, UtteranceOfTheTrainingRecordingMatchesExactly)
{
    SpeechEngine engine;
    auto samples = capture(load("margaret-slow"));
    FeatureSet variant = template_variant("margaret-slow");
    FeatureSet utterance = extract_utterance(samples.data(), bytes(samples));
    EXPECT_EQ(compare(engine, variant, utterance), 0.0f);
    EXPECT_TRUE(engine.workspace_is_clear());

    // The template's own (minimum-removed) frames as the utterance.
    FeatureSet own = variant.clone();
    own.normalized.reset();
    EXPECT_EQ(compare(engine, variant, own), 0.0f);
}

TEST(Matcher, SameWordSpokenDifferentlyIsCloserThanOtherWords)
{
    SpeechEngine engine;
    FeatureSet margaret = template_variant("margaret-slow");
    auto fast = capture(load("margaret-fast"), 16000, 40);
    FeatureSet utterance = extract_utterance(fast.data(), bytes(fast));
    const float same = compare(engine, margaret, utterance);
    EXPECT_LT(same, 0.05f);
    for (const char* other : { "office-slow", "doctor-lee", "home-phone" })
        EXPECT_GT(compare(engine, template_variant(other), utterance), same + 0.05f) << other;
    EXPECT_TRUE(engine.workspace_is_clear());
}

TEST(Matcher, SilentUtteranceScoresTheTemplatesOwnLength)
{
    SpeechEngine engine;
    // V = 0 everywhere, so each frame costs Σ Tn²: 20 × (200² + 100²).
    FeatureSet variant = flat_variant(20, { 0, 200, 0, 100 });
    EXPECT_EQ(compare(engine, variant, zero_utterance(30)), 1000000.0f / (1 << 20));
    EXPECT_EQ(compare(engine, variant, zero_utterance(5)), 1000000.0f / (1 << 20));
}

TEST(Matcher, CoarseTestRejectsFromHalfTheScale)
{
    SpeechEngine engine;
    // Bands 0 and 2 of a silent utterance cost Σ Tn² over those bands.
    FeatureSet below = flat_variant(20, { 160, 0, 0, 0 }); // 512000
    EXPECT_EQ(compare(engine, below, zero_utterance(20)), 512000.0f / (1 << 20));
    FeatureSet at = flat_variant(32, { 0, 0, 128, 0 }); // exactly 524288
    EXPECT_EQ(compare(engine, at, zero_utterance(20)), 2.0f);
    FeatureSet above = flat_variant(20, { 200, 0, 0, 0 });
    EXPECT_EQ(compare(engine, above, zero_utterance(20)), 2.0f);
    EXPECT_TRUE(engine.workspace_is_clear());
}

TEST(Matcher, UnusableInputGivesThreeAndLeavesTheWorkspaceClear)
{
    SpeechEngine engine;
    FeatureSet good = flat_variant(20, { 0, 200, 0, 100 });
    FeatureSet utterance = zero_utterance(20);

    FeatureSet no_normalized = good.clone();
    no_normalized.normalized.reset();
    FeatureSet no_segments = good.clone();
    no_segments.segment_count = 0;
    FeatureSet four_segments = good.clone();
    four_segments.segment_count = 4;
    FeatureSet outside = good.clone();
    outside.segment_end[0] = 21;
    FeatureSet negative = good.clone();
    negative.segment_start[0] = -1;

    for (const FeatureSet* variant :
        { &no_normalized, &no_segments, &four_segments, &outside, &negative })
        EXPECT_EQ(compare(engine, *variant, utterance), 3.0f);
    EXPECT_EQ(compare(engine, FeatureSet {}, utterance), 3.0f);
    EXPECT_EQ(compare(engine, good, FeatureSet {}), 3.0f);
    EXPECT_TRUE(engine.workspace_is_clear());
}

TEST(Matcher, PaddedUtteranceMustFitTheWorkspace)
{
    SpeechEngine engine;
    FeatureSet variant = flat_variant(20, { 0, 200, 0, 100 });
    const float silent = 1000000.0f / (1 << 20);
    // A longer utterance is padded by 14 frames on each side: 484 + 28 = 512.
    EXPECT_EQ(compare(engine, variant, zero_utterance(484)), silent);
    EXPECT_EQ(compare(engine, variant, zero_utterance(485)), 3.0f);
    EXPECT_TRUE(engine.workspace_is_clear());

    // A longer template pads the utterance to about its own length + 28.
    FeatureSet long_variant = flat_variant(485, { 0, 20, 0, 10 });
    EXPECT_NE(compare(engine, long_variant, zero_utterance(10)), 3.0f);
    FeatureSet longer_variant = flat_variant(486, { 0, 20, 0, 10 });
    EXPECT_EQ(compare(engine, longer_variant, zero_utterance(10)), 3.0f);
    EXPECT_TRUE(engine.workspace_is_clear());
}

TEST(Matcher, EachSegmentMayShiftOnItsOwn)
{
    SpeechEngine engine;
    FeatureSet variant = template_variant("doctor-lee");
    ASSERT_EQ(variant.segment_count, 3);

    // The utterance is the template with extra frames repeated inside the
    // second gap: a small stretch is absorbed, a large one costs.
    auto stretched = [&](int extra) {
        const std::int32_t at = variant.segment_start[2] - 1;
        FeatureSet utterance;
        utterance.allocate(variant.count + extra);
        for (std::int32_t f = 0, source = 0; f < utterance.count; ++f) {
            std::copy_n(variant.frame(source), 4, utterance.frame(f));
            if (!(f >= at && f < at + extra))
                ++source;
        }
        return utterance;
    };
    EXPECT_EQ(compare(engine, variant, stretched(0)), 0.0f);
    const float small = compare(engine, variant, stretched(3));
    const float large = compare(engine, variant, stretched(12));
    EXPECT_LT(small, 0.01f);
    EXPECT_GT(large, small);
}
