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

namespace {

class Random {
public:
    explicit Random(std::uint64_t seed)
        : state_(seed)
    {
    }
    std::uint64_t next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }
    std::int64_t in(std::int64_t low, std::int64_t high) // inclusive
    {
        return low + static_cast<std::int64_t>(next() % static_cast<std::uint64_t>(high - low + 1));
    }

private:
    std::uint64_t state_;
};

// Frames of band amplitudes with a rough spectral shape that wanders, so
// that prepared templates get one to three segments.
FeatureSet random_frames(Random& random, std::int32_t count, std::int64_t scale)
{
    FeatureSet set;
    set.allocate(count);
    std::int64_t level = random.in(1, scale);
    for (std::int32_t f = 0; f < count; ++f) {
        if (random.in(0, 9) == 0)
            level = random.in(0, scale);
        for (int b = 0; b < 4; ++b)
            set.frame(f)[b]
                = static_cast<std::int32_t>(level / (b + 1) + random.in(0, scale / 8 + 1));
    }
    return set;
}

// The utterance: the template's frames, stretched, shifted and disturbed.
FeatureSet disturbed(Random& random, const FeatureSet& source, std::int64_t noise)
{
    const std::int32_t count
        = std::max<std::int32_t>(1, source.count + static_cast<std::int32_t>(random.in(-15, 40)));
    const std::int64_t offset = random.in(-5, 5);
    FeatureSet set;
    set.allocate(count);
    for (std::int32_t f = 0; f < count; ++f) {
        const std::int64_t from
            = std::clamp<std::int64_t>((f + offset) * source.count / count, 0, source.count - 1);
        for (int b = 0; b < 4; ++b) {
            const std::int64_t value = source.frame(static_cast<std::int32_t>(from))[b]
                + random.in(0, noise) + random.in(0, 3) * 1000;
            set.frame(f)[b] = static_cast<std::int32_t>(std::min<std::int64_t>(value, INT32_MAX));
        }
    }
    return set;
}

} // namespace

TEST(MatcherFastPath, AgreesWithTheLiteralFormOnRecordings)
{
    SpeechEngine engine;
    const char* names[] = { "margaret-slow", "margaret-fast", "office-slow", "office-fast",
        "doctor-lee", "home-phone" };
    std::vector<FeatureSet> variants;
    std::vector<FeatureSet> utterances;
    for (const char* name : names) {
        auto training = capture(load(name));
        for (FeatureSet& set : extract_template(3, training.data(), bytes(training)))
            variants.push_back(std::move(set));
        for (int offset : { 3000, 14000, 30000 }) {
            auto spoken = capture(load(name), offset, 60);
            utterances.push_back(extract_utterance(spoken.data(), bytes(spoken)));
        }
    }
    int passed = 0;
    for (const FeatureSet& variant : variants) {
        for (const FeatureSet& utterance : utterances) {
            const float fast = compare(engine, variant, utterance);
            EXPECT_EQ(fast, compare_reference(engine, variant, utterance));
            passed += fast < 2.0f;
        }
    }
    // Most pairs of different words are rejected; the same words are not.
    EXPECT_GT(passed, 6 * 3 * 3);
    EXPECT_TRUE(engine.workspace_is_clear());
}

TEST(MatcherFastPath, AgreesWithTheLiteralFormOnRandomInput)
{
    SpeechEngine engine;
    Random random(0x5eed1234abcdULL);
    int close = 0;
    for (int round = 0; round < 1500; ++round) {
        const std::int64_t scale = std::int64_t { 1 } << random.in(4, 30);
        FeatureSet variant
            = random_frames(random, static_cast<std::int32_t>(random.in(1, 160)), scale);
        prepare_template(variant);
        FeatureSet utterance = round % 5 == 0
            ? random_frames(random, static_cast<std::int32_t>(random.in(1, 200)), scale)
            : disturbed(random, variant, scale >> random.in(2, 12));
        if (round % 7 == 0) {
            // Arbitrary segments inside the variant, possibly overlapping or reversed.
            variant.segment_count = static_cast<std::int32_t>(random.in(1, 3));
            for (int k = 0; k < 3; ++k) {
                variant.segment_start[k] = static_cast<std::int32_t>(random.in(0, variant.count));
                variant.segment_end[k] = static_cast<std::int32_t>(random.in(0, variant.count));
            }
        }
        if (round % 11 == 0) {
            // The widest differences a window can hold.
            for (std::int32_t i = 0; i < 4 * utterance.count;
                 i += static_cast<std::int32_t>(random.in(1, 9)))
                utterance.frames[i] = random.in(0, 1) ? INT32_MAX : 0;
        }
        const float fast = compare(engine, variant, utterance);
        ASSERT_EQ(fast, compare_reference(engine, variant, utterance)) << "round " << round;
        close += fast < 0.5f;
    }
    // Enough inputs get past the coarse test to exercise the full match.
    EXPECT_GT(close, 300);
    EXPECT_TRUE(engine.workspace_is_clear());
}

TEST(MatcherFastPath, ValuesOutsideTheScaleWrapLikeSixteenBitDifferences)
{
    SpeechEngine engine;
    Random random(77);
    for (int round = 0; round < 50; ++round) {
        FeatureSet variant
            = random_frames(random, static_cast<std::int32_t>(random.in(5, 60)), 1 << 20);
        prepare_template(variant);
        // A damaged file can hold any 16-bit value.
        for (std::int32_t i = 0; i < 4 * variant.count; ++i) {
            if (random.in(0, 3) == 0)
                variant.normalized[i] = static_cast<std::int16_t>(random.in(-32768, 32767));
        }
        FeatureSet utterance = disturbed(random, variant, 1000);
        const float fast = compare(engine, variant, utterance);
        EXPECT_EQ(fast, compare_reference(engine, variant, utterance));
        EXPECT_GE(fast, 0.0f);
        EXPECT_LE(fast, 2.0f);
    }
    // Negative band values are never extracted but must not upset the match.
    FeatureSet negative = random_frames(random, 30, 1 << 24);
    prepare_template(negative);
    FeatureSet below_zero = disturbed(random, negative, 1000);
    below_zero.frames[5] = INT32_MIN;
    below_zero.frames[17] = -12345;
    EXPECT_EQ(
        compare(engine, negative, below_zero), compare_reference(engine, negative, below_zero));

    // The largest wrapped difference: 0 − (−32768) is −32768 in 16 bits.
    FeatureSet extreme = flat_variant(4, { -32768, -32768, -32768, -32768 });
    FeatureSet utterance = zero_utterance(4);
    EXPECT_EQ(compare(engine, extreme, utterance), 2.0f);
    FeatureSet quiet = flat_variant(4, { 0, -32768, 0, -32768 });
    EXPECT_EQ(compare(engine, quiet, utterance), compare_reference(engine, quiet, utterance));
}

TEST(Matcher, KnownRecordingsKeepTheirDistances)
{
    SpeechEngine engine;
    auto spoken = capture(load("margaret-fast"), 16000, 40);
    FeatureSet utterance = extract_utterance(spoken.data(), bytes(spoken));
    const std::int32_t units[] = { 29806, 25966, 38099 };
    for (int v = 0; v < 3; ++v)
        EXPECT_EQ(compare(engine, template_variant("margaret-slow", v), utterance),
            static_cast<float>(units[v]) / (1 << 20))
            << v;
}
