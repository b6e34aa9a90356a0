#include "engine/precise/PreciseMatcher.h"

#include "tests/engine/precise/PreciseRecordings.h"

#include <gtest/gtest.h>

using namespace test_recordings;

namespace {

// Tags whose frames are never compared: only their count matters to judge().
std::vector<CepstralFrames> tags_of(const std::vector<const char*>& names)
{
    std::vector<CepstralFrames> tags;
    for (const char* name : names)
        tags.push_back(tag_cepstra(name));
    return tags;
}

class PreciseMatcherOfFourTags : public ::testing::Test {
protected:
    PreciseMatcher matcher { tags_of(
        { "doctor-lee", "margaret-slow", "home-phone", "office-slow" }) };
};

TEST_F(PreciseMatcherOfFourTags, LearnsEachTagsReferenceFromTheOthers)
{
    ASSERT_EQ(matcher.tag_count(), 4);
    WarpingDistance warping;
    const auto tags = tags_of({ "doctor-lee", "margaret-slow", "home-phone", "office-slow" });
    std::vector<float> nearest;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        float best = WarpingDistance::UNUSABLE;
        for (std::size_t j = 0; j < tags.size(); ++j)
            if (i != j)
                best = std::min(best, warping.distance(tags[i], tags[j]));
        nearest.push_back(best);
    }
    std::vector<float> sorted = nearest;
    std::sort(sorted.begin(), sorted.end());
    const float median = (sorted[1] + sorted[2]) / 2.0f;
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(matcher.reference_distance(i), std::min(nearest[i], median)) << i;
        EXPECT_GT(matcher.reference_distance(i), 0.0f);
    }
}

TEST_F(PreciseMatcherOfFourTags, RecognisesAnEnrolledWordSpokenFaster)
{
    const PreciseMatch office = matcher.match(utterance_cepstra("office-fast"));
    EXPECT_EQ(office.index, 3);
    EXPECT_NE(office.verdict, MatchVerdict::None);
    EXPECT_GT(office.accuracy, 0.0f);
    EXPECT_LE(office.accuracy, 100.0f);
    EXPECT_LT(office.best_distance, office.second_distance);
    const PreciseMatch margaret = matcher.match(utterance_cepstra("margaret-fast"));
    EXPECT_EQ(margaret.index, 1);
    EXPECT_NE(margaret.verdict, MatchVerdict::None);
}

TEST_F(PreciseMatcherOfFourTags, AnUtteranceAsFarFromEveryTagIsRejected)
{
    const PreciseMatch match = matcher.judge({ 5.0f, 5.0f, 5.2f, 5.1f });
    EXPECT_EQ(match.verdict, MatchVerdict::None);
    EXPECT_EQ(match.accuracy, 0.0f);
    EXPECT_EQ(match.percentage(), 0);
}

TEST_F(PreciseMatcherOfFourTags, JudgesTheMarginToTheSecondBest)
{
    const float reference = matcher.reference_distance(2);
    const float best = 0.5f * reference;
    // Far ahead of everything: sure, and closer still shows as 100.
    const PreciseMatch sure = matcher.judge({ 2.0f * best, 2.0f * best, best, 2.0f * best });
    EXPECT_EQ(sure.verdict, MatchVerdict::Sure);
    EXPECT_EQ(sure.index, 2);
    EXPECT_FLOAT_EQ(sure.second_distance, 2.0f * best);
    EXPECT_FLOAT_EQ(sure.relative_distance, 0.5f);
    EXPECT_FLOAT_EQ(sure.cohort_ratio, 0.5f);
    EXPECT_GT(sure.percentage(), 50);
    EXPECT_LT(sure.percentage(), 100);
    EXPECT_EQ(matcher.judge({ 9.0f * best, 9.0f * best, best, 9.0f * best }).percentage(), 100);

    // A second best almost as close makes the match doubtful, not rejected.
    const PreciseMatch doubtful = matcher.judge({ 2.0f * best, 1.02f * best, best, 2.0f * best });
    EXPECT_EQ(doubtful.verdict, MatchVerdict::Unsure);
    EXPECT_EQ(doubtful.index, 2);
    EXPECT_GT(doubtful.accuracy, 0.0f);
    EXPECT_LT(doubtful.accuracy, sure.accuracy);
}

TEST_F(PreciseMatcherOfFourTags, ABestFarBeyondTheTagsReferenceIsRejected)
{
    const float far = 1.5f * matcher.reference_distance(0);
    EXPECT_EQ(
        matcher.judge({ far, 10.0f * far, 10.0f * far, 10.0f * far }).verdict, MatchVerdict::None);
}

TEST_F(PreciseMatcherOfFourTags, EqualBestDistancesGoToTheEarlierTag)
{
    const PreciseMatch match = matcher.judge({ 9.0f, 1.0f, 1.0f, 9.0f });
    EXPECT_EQ(match.index, 1);
    EXPECT_EQ(match.verdict, MatchVerdict::Unsure);
}

TEST(PreciseMatcher, NoTagsNoSpeechOrWrongCountsMatchNothing)
{
    PreciseMatcher empty({});
    EXPECT_EQ(empty.match(utterance_cepstra("office-fast")).verdict, MatchVerdict::None);
    EXPECT_EQ(empty.match(utterance_cepstra("office-fast")).index, -1);

    PreciseMatcher two(tags_of({ "office-slow", "home-phone" }));
    EXPECT_EQ(two.match(CepstralFrames()).index, -1);
    EXPECT_EQ(two.judge({ 1.0f }).verdict, MatchVerdict::None);
    EXPECT_EQ(two.judge({ WarpingDistance::UNUSABLE, WarpingDistance::UNUSABLE }).index, -1);
}

TEST(PreciseMatcher, FewerThanThreeTagsAreNeverSure)
{
    // A lone tag's own spread stands in for the distance to another word.
    PreciseMatcher lone(tags_of({ "office-slow" }));
    WarpingDistance warping;
    const float other_word
        = warping.distance(tag_cepstra("office-slow"), tag_cepstra("home-phone"));
    EXPECT_GT(lone.reference_distance(0), 0.5f * other_word);
    EXPECT_LT(lone.reference_distance(0), 1.5f * other_word);
    const PreciseMatch same = lone.match(utterance_cepstra("office-fast"));
    EXPECT_EQ(same.verdict, MatchVerdict::Unsure);
    EXPECT_EQ(same.index, 0);
    EXPECT_GT(same.accuracy, 0.0f);
    EXPECT_EQ(lone.match(utterance_cepstra("home-phone")).verdict, MatchVerdict::None);

    PreciseMatcher pair(tags_of({ "office-slow", "home-phone" }));
    EXPECT_EQ(pair.reference_distance(0), pair.reference_distance(1));
    EXPECT_EQ(pair.judge({ 0.01f, 100.0f }).verdict, MatchVerdict::Unsure);
}

} // namespace
