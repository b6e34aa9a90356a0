#include "app/TrainedTag.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/engine/Recordings.h"
#include "tests/support/TempDirectory.h"

#include "audio/CaptureFormat.h"
#include "audio/FileReaderWAVPCM.h"
#include "engine/TagFile.h"

#include <gtest/gtest.h>

namespace {

TEST(TrainedTag, CapturesWithoutSpeechTrainNothing)
{
    EXPECT_FALSE(TrainedTag::train({}));
    EXPECT_FALSE(TrainedTag::train(std::vector<std::int16_t>(test_recordings::CAPTURE_SAMPLES, 0)));
    EXPECT_FALSE(
        TrainedTag::train(std::vector<std::int16_t>(test_recordings::CAPTURE_SAMPLES, -7)));
    // Signal, but too short for a single analysis frame.
    EXPECT_FALSE(TrainedTag::train(test_recordings::noise(400, 3000, 1u)));
}

TEST(TrainedTag, KeepsTheSpeechBetweenItsExtentAndAThreeVariantTemplate)
{
    // The name starts half a second into the capture.
    std::vector<std::int16_t> samples
        = test_recordings::capture(test_recordings::load("office-slow"), 11025);
    std::optional<TrainedTag> tag = TrainedTag::train(samples);
    ASSERT_TRUE(tag);
    EXPECT_GT(tag->start(), 0);
    EXPECT_LT(tag->start(), 11025 * 2);
    EXPECT_LT(tag->end(), static_cast<std::int32_t>(samples.size() * 2));
    ASSERT_EQ(tag->recording().size(), static_cast<std::size_t>((tag->end() - tag->start()) / 2));
    EXPECT_TRUE(std::equal(
        tag->recording().begin(), tag->recording().end(), samples.begin() + tag->start() / 2));

    EXPECT_FLOAT_EQ(tag->voice_template().threshold(), NEW_TEMPLATE_THRESHOLD);
    for (int v = 0; v < 3; ++v)
        EXPECT_FALSE(tag->voice_template().variant(v).empty()) << v;
}

TEST(TrainedTag, WritesTheTemplateAndTheRecordingInTheCaptureFormat)
{
    TempDirectory temp;
    std::optional<TrainedTag> tag
        = TrainedTag::train(test_recordings::capture(test_recordings::load("margaret-fast")));
    ASSERT_TRUE(tag);
    ASSERT_TRUE(tag->write_tag(temp.wide("001.tag")));
    ASSERT_TRUE(tag->write_recording(temp.wide("001.wav")));

    VoiceTemplate stored = read_template(temp.wide("001.tag"));
    ASSERT_TRUE(stored);
    EXPECT_EQ(serialize_template(stored), serialize_template(tag->voice_template()));

    audio::FileReaderWAVPCM reader(temp.wide("001.wav"));
    ASSERT_TRUE(reader.is_good());
    EXPECT_EQ(reader.get_channels(), audio::CAPTURE_CHANNELS);
    EXPECT_EQ(reader.get_bits_per_sample(), audio::CAPTURE_BITS);
    EXPECT_EQ(reader.get_sample_rate(), audio::CAPTURE_SAMPLE_RATE);
    EXPECT_EQ(audio_test::samples_of(reader.get_data(1 << 24)), tag->recording());

    // A folder that does not exist cannot take either file.
    EXPECT_FALSE(tag->write_tag(temp.wide("missing/001.tag")));
    EXPECT_FALSE(tag->write_recording(temp.wide("missing/001.wav")));
}

} // namespace
