#include "tests/app/DocumentFixture.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/engine/Recordings.h"

#include "app/TrainedTag.h"
#include "audio/CaptureFormat.h"
#include "audio/FileReaderWAVPCM.h"
#include "engine/TagFile.h"

#include <optional>

namespace {

class TrainTag : public DocumentFixture {
protected:
    // A 2.7 s capture as the recorder delivers it: the lead-in, then the rest.
    static std::vector<std::int16_t> with_lead_in(const std::vector<std::int16_t>& rest)
    {
        std::vector<std::int16_t> samples
            = test_recordings::noise(audio::LEAD_IN_BYTES / 2, 30, 7u);
        samples.insert(samples.end(), rest.begin(), rest.end());
        return samples;
    }

    static std::string serialized(const VoiceTemplate& voice)
    {
        std::vector<std::uint8_t> bytes = serialize_template(voice);
        return std::string(bytes.begin(), bytes.end());
    }

    void capture(const std::vector<std::int16_t>& samples)
    {
        document->audio().capture_buffer().set_duration(audio::MAX_RECORD_SECONDS);
        document->audio().capture_buffer().on_data(audio_test::sample_block(samples));
    }

    Command entry() const
    {
        Command command;
        command.id = 3;
        command.name = u"Margaret";
        command.phone = u"555";
        return command;
    }
};

TEST_F(TrainTag, ACaptureWithoutSignalIsNoSpeechAndChangesNothing)
{
    for (std::int16_t level : { 0, -7 }) {
        std::vector<std::int16_t> flat(test_recordings::CAPTURE_SAMPLES, level);
        capture(with_lead_in(flat));
        Command command = entry();
        EXPECT_FALSE(document->train_tag(command));
        EXPECT_TRUE(command.voice.empty());
        EXPECT_FALSE(command.voice_template);
    }
    // Too short for a single frame after the lead-in.
    capture(with_lead_in(test_recordings::noise(400, 3000, 1u)));
    Command command = entry();
    EXPECT_FALSE(document->train_tag(command));
    // Nothing at all.
    capture({});
    EXPECT_FALSE(document->train_tag(command));
    EXPECT_FALSE(temp.exists("app/commands"));
}

TEST_F(TrainTag, FaintNoiseIsNoSpeechButQuietSpeechIs)
{
    // The hiss of an idle microphone, at several levels and seeds.
    for (int amplitude : { 30, 100, 250 }) {
        for (std::uint32_t seed : { 1u, 2u, 3u }) {
            capture(with_lead_in(
                test_recordings::noise(test_recordings::CAPTURE_SAMPLES, amplitude, seed)));
            Command command = entry();
            EXPECT_FALSE(document->train_tag(command)) << amplitude << " " << seed;
            EXPECT_TRUE(command.voice.empty());
        }
    }
    Command command = entry();
    EXPECT_FALSE(temp.exists("app/commands"));

    // A name spoken twenty times quieter than the recordings (peaks near 1000).
    std::vector<std::int16_t> quiet = test_recordings::load("margaret-slow");
    for (std::int16_t& sample : quiet)
        sample = static_cast<std::int16_t>(sample / 20);
    capture(with_lead_in(test_recordings::capture(quiet)));
    EXPECT_TRUE(document->train_tag(command));
    EXPECT_TRUE(temp.exists("app/commands/001.tag"));
}

TEST_F(TrainTag, StoresTheTemplateAndTheRecordingOfTheSpeechAfterTheLeadIn)
{
    std::vector<std::int16_t> speech
        = test_recordings::capture(test_recordings::load("margaret-slow"));
    capture(with_lead_in(speech));
    Command command = entry();
    ASSERT_TRUE(document->train_tag(command));
    EXPECT_EQ(command.voice, u"001");
    ASSERT_TRUE(command.voice_template);
    EXPECT_FLOAT_EQ(command.voice_template.threshold(), 0.2f);
    EXPECT_EQ(temp.read("app/commands/001.tag"), serialized(command.voice_template));

    // The recording is the speech as the capture held it after the lead-in.
    std::optional<TrainedTag> expected = TrainedTag::train(speech);
    ASSERT_TRUE(expected);
    audio::FileReaderWAVPCM reader(temp.wide("app/commands/001.wav"));
    ASSERT_TRUE(reader.is_good());
    EXPECT_EQ(reader.get_channels(), audio::CAPTURE_CHANNELS);
    EXPECT_EQ(reader.get_sample_rate(), audio::CAPTURE_SAMPLE_RATE);
    EXPECT_EQ(audio_test::samples_of(reader.get_data(1 << 24)), expected->recording());
    EXPECT_LT(expected->recording().size(), speech.size());

    // The capture was used up.
    EXPECT_EQ(document->audio().capture_buffer().count(), 0);
    // Training does not save the list; the caller sorts and saves.
    EXPECT_FALSE(temp.exists("app/commands/commands.xml"));
}

TEST_F(TrainTag, RetrainingOverwritesTheSameFilesAndNewTagsTakeTheNextName)
{
    auto speech = test_recordings::capture(test_recordings::load("margaret-slow"));
    Command margaret = entry();
    capture(with_lead_in(speech));
    ASSERT_TRUE(document->train_tag(margaret));

    capture(with_lead_in(test_recordings::capture(test_recordings::load("margaret-fast"))));
    ASSERT_TRUE(document->train_tag(margaret));
    EXPECT_EQ(margaret.voice, u"001");
    EXPECT_EQ(temp.read("app/commands/001.tag"), serialized(margaret.voice_template));

    Command office = entry();
    office.phone = u"556";
    capture(with_lead_in(test_recordings::capture(test_recordings::load("office-slow"))));
    ASSERT_TRUE(document->train_tag(office));
    EXPECT_EQ(office.voice, u"002");

    document->add_command(margaret);
    document->add_command(office);
    document->sort_commands();
    document->save_commands();
    EXPECT_TRUE(read_template(document->tag_path(u"002")));
    EXPECT_EQ(document->tag_count(), 2);
}

TEST_F(TrainTag, FinishingARecordingAnalysesTheCaptureAfterTheLeadIn)
{
    FeatureSet features;
    capture(with_lead_in(test_recordings::capture(test_recordings::load("office-fast"))));
    EXPECT_TRUE(document->finish_recording(features));
    EXPECT_GT(features.count, 0);
    EXPECT_EQ(document->audio().capture_buffer().count(), 0);

    // Only the lead-in was captured: nothing to analyse.
    capture(test_recordings::noise(audio::LEAD_IN_BYTES / 2, 3000, 2u));
    EXPECT_FALSE(document->finish_recording(features));
}

} // namespace
