#include "engine/Scoring.h"

#include "engine/FeatureExtraction.h"
#include "engine/TemplatePreparation.h"

#include "tests/engine/Recordings.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace test_recordings;

namespace {

// The accuracy with every step rounded to float, as the run computes it.
float stepwise_accuracy(float distance, float threshold)
{
    volatile float ratio = distance / threshold;
    volatile float percent = ratio * 100.0f;
    return 100.0f - percent;
}

VoiceTemplate trained(const std::string& name)
{
    auto samples = capture(load(name));
    TemplateAnalysis analysis = create_template(samples.data(), bytes(samples));
    return VoiceTemplate(NEW_TEMPLATE_THRESHOLD, std::move(analysis.variants));
}

} // namespace

TEST(Scoring, AccuracyIsSinglePrecisionStepByStep)
{
    EXPECT_EQ(accuracy_of(0.0f, 0.2f), 100.0f);
    EXPECT_EQ(accuracy_of(0.2f, 0.2f), 0.0f);
    EXPECT_EQ(accuracy_of(3.0f, 0.2f), stepwise_accuracy(3.0f, 0.2f));
    EXPECT_NEAR(accuracy_of(3.0f, 0.2f), -1400.0f, 1e-3f);
    // Distances are multiples of 2^-20; every one of them must round alike.
    for (std::int32_t units : { 1, 3, 12345, 98765, 104857, 209715, 209716, 209717, 1048575 }) {
        const float distance = static_cast<float>(units) * (1.0f / (1 << 20));
        EXPECT_EQ(accuracy_of(distance, 0.2f), stepwise_accuracy(distance, 0.2f)) << units;
    }
    // With threshold 0.2 a distance of 209716 units is the first to fail.
    EXPECT_GT(accuracy_of(209715.0f / (1 << 20), 0.2f), 0.0f);
    EXPECT_LE(accuracy_of(209716.0f / (1 << 20), 0.2f), 0.0f);
}

TEST(Scoring, ThresholdZeroNeverWins)
{
    RecognitionScore score;
    score.offer_accuracy(0, accuracy_of(3.0f, 0.0f));
    score.offer_accuracy(1, accuracy_of(0.0f, 0.0f));
    EXPECT_FALSE(score.recognized());
    EXPECT_EQ(score.winner(), -1);

    SpeechEngine engine;
    FeatureSet utterance;
    utterance.allocate(20);
    EXPECT_LT(score.offer(2, engine, VoiceTemplate {}, utterance), 0.0f);
    EXPECT_FALSE(score.recognized());
}

TEST(Scoring, EarlierEntryKeepsATieAndOnlyPositiveScoresWin)
{
    RecognitionScore score;
    score.offer_accuracy(0, 0.0f);
    EXPECT_FALSE(score.recognized());
    score.offer_accuracy(1, 57.9f);
    score.offer_accuracy(2, 57.9f);
    score.offer_accuracy(3, 12.0f);
    EXPECT_TRUE(score.recognized());
    EXPECT_EQ(score.winner(), 1);
    EXPECT_EQ(score.percentage(), 57);
    score.offer_accuracy(4, 57.90001f);
    EXPECT_EQ(score.winner(), 4);
}

TEST(Scoring, TiesBetweenVariantsGoToTheLowerOne)
{
    SpeechEngine engine;
    std::array<FeatureSet, 3> variants;
    for (FeatureSet& set : variants) {
        set.allocate(10);
        set.allocate_normalized();
        for (std::int32_t i = 0; i < 40; ++i)
            set.normalized[i] = i % 4 == 1 ? 100 : 0;
        set.segment_count = 1;
        set.segment_end[0] = 10;
    }
    variants[0].segment_count = 0; // unusable: 3.0
    VoiceTemplate tag(NEW_TEMPLATE_THRESHOLD, std::move(variants));
    FeatureSet utterance;
    utterance.allocate(12);
    int variant = -1;
    EXPECT_EQ(template_distance(engine, tag, utterance, &variant), 100000.0f / (1 << 20));
    EXPECT_EQ(variant, 1);
}

TEST(Scoring, RecognitionRunPicksTheSpokenName)
{
    SpeechEngine engine;
    const std::vector<std::string> names
        = { "office-slow", "margaret-slow", "doctor-lee", "home-phone" };
    std::vector<VoiceTemplate> tags;
    for (const std::string& name : names)
        tags.push_back(trained(name));
    // A list with an entry whose tag file is missing.
    tags.insert(tags.begin() + 1, VoiceTemplate {});

    struct Spoken {
        const char* recording;
        int entry;
    };
    for (Spoken spoken : { Spoken { "margaret-fast", 2 }, Spoken { "office-fast", 0 },
             Spoken { "doctor-lee", 3 } }) {
        auto samples = capture(load(spoken.recording), 18000, 50);
        FeatureSet utterance = extract_utterance(samples.data(), bytes(samples));
        ASSERT_GT(utterance.count, 0);
        RecognitionScore score;
        for (std::size_t entry = 0; entry < tags.size(); ++entry)
            score.offer(static_cast<int>(entry), engine, tags[entry], utterance);
        EXPECT_TRUE(score.recognized()) << spoken.recording;
        EXPECT_EQ(score.winner(), spoken.entry) << spoken.recording;
        EXPECT_GT(score.percentage(), 80) << spoken.recording;
        EXPECT_TRUE(engine.workspace_is_clear());
    }
}

TEST(Scoring, SilenceIsNotRecognised)
{
    std::vector<std::int16_t> silence(CAPTURE_SAMPLES, 0);
    FeatureSet utterance = extract_utterance(silence.data(), bytes(silence));
    SpeechEngine engine;
    RecognitionScore score;
    score.offer(0, engine, trained("margaret-slow"), utterance);
    score.offer(1, engine, trained("home-phone"), utterance);
    EXPECT_FALSE(score.recognized());
}
