#include "engine/precise/CepstralAnalysis.h"

#include "tests/engine/precise/PreciseRecordings.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace test_recordings;

namespace {

TEST(CepstralAnalysis, TooFewSamplesGiveNoFrames)
{
    std::vector<std::int16_t> samples = noise(CEPSTRAL_FRAME + 2 * CEPSTRAL_STEP - 1, 1000, 3u);
    EXPECT_TRUE(analyse_cepstra(samples.data(), samples.size()).empty());
    EXPECT_TRUE(analyse_cepstra(nullptr, 100000).empty());
    samples.push_back(0);
    EXPECT_EQ(analyse_cepstra(samples.data(), samples.size()).count, 3);
}

TEST(CepstralAnalysis, StaticCepstraHaveZeroMeanOverTheWord)
{
    const CepstralFrames frames = tag_cepstra("margaret-slow");
    ASSERT_GT(frames.count, 20);
    ASSERT_EQ(
        frames.values.size(), static_cast<std::size_t>(frames.count) * CepstralFrames::DIMENSIONS);
    for (int c = 0; c < CepstralFrames::CEPSTRA; ++c) {
        double sum = 0.0;
        double spread = 0.0;
        for (std::int32_t f = 0; f < frames.count; ++f) {
            sum += frames.frame(f)[c];
            spread += std::abs(frames.frame(f)[c]);
        }
        EXPECT_NEAR(sum / frames.count, 0.0, 1e-3) << c;
        EXPECT_GT(spread, 0.0) << c;
    }
}

TEST(CepstralAnalysis, SilenceAroundTheWordIsLeftOut)
{
    const std::vector<std::int16_t> word = load("office-slow");
    const std::vector<std::int16_t> tight = capture(word, 0, 30);
    std::vector<std::int16_t> padded = noise(22050, 30, 99u);
    padded.insert(padded.end(), word.begin(), word.end());
    const std::vector<std::int16_t> tail = noise(22050, 30, 98u);
    padded.insert(padded.end(), tail.begin(), tail.end());

    const CepstralFrames short_one = analyse_cepstra(tight.data(), word.size() + 2000);
    const CepstralFrames long_one = analyse_cepstra(padded.data(), padded.size());
    const std::int32_t word_frames = static_cast<std::int32_t>(word.size() / CEPSTRAL_STEP);
    // A second of noise on each side adds about 200 frames unless it is cut.
    EXPECT_LT(std::abs(long_one.count - short_one.count), 12);
    EXPECT_LT(long_one.count, word_frames + 12);
}

TEST(CepstralAnalysis, AnUtteranceIsAnalysedFromItsSpeechOnly)
{
    // The same word earlier or later in the capture gives nearly the same frames.
    const CepstralFrames early = utterance_cepstra("home-phone", 3000);
    const CepstralFrames late = utterance_cepstra("home-phone", 20000);
    ASSERT_FALSE(early.empty());
    EXPECT_LT(std::abs(early.count - late.count), 4);

    const std::vector<std::int16_t> silence(CAPTURE_SAMPLES, 0);
    const CepstralFrames none = analyse_utterance_cepstra(silence.data(), 0);
    EXPECT_TRUE(none.empty());
}

TEST(CepstralAnalysis, LoudnessDoesNotChangeTheCepstra)
{
    // Mean normalisation removes a constant gain from every static cepstrum
    // (over a noise floor, as in every capture, so that no band is empty).
    std::vector<std::int16_t> word = capture(load("doctor-lee"), 0, 300);
    word.resize(load("doctor-lee").size() + 4000);
    std::vector<std::int16_t> quiet(word.size());
    for (std::size_t i = 0; i < word.size(); ++i)
        quiet[i] = static_cast<std::int16_t>(word[i] / 2);
    const CepstralFrames loud_frames = analyse_cepstra(word.data(), word.size());
    const CepstralFrames quiet_frames = analyse_cepstra(quiet.data(), quiet.size());
    ASSERT_EQ(loud_frames.count, quiet_frames.count);
    double largest = 0.0;
    double largest_value = 0.0;
    for (std::size_t i = 0; i < loud_frames.values.size(); ++i) {
        largest
            = std::max<double>(largest, std::abs(loud_frames.values[i] - quiet_frames.values[i]));
        largest_value = std::max<double>(largest_value, std::abs(loud_frames.values[i]));
    }
    // What remains is the rounding of the halved samples.
    EXPECT_LT(largest, 0.01 * largest_value);
}

} // namespace
