#include "tests/app/DocumentFixture.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/engine/Recordings.h"

#include "audio/CaptureFormat.h"
#include "audio/FileReaderWAVPCM.h"
#include "audio/FileWriterWAVPCM.h"
#include "platform/Tick.h"

#include <cstdlib>

namespace {

// Recording and playback through the file-backed devices, in real time.
class DocumentAudio : public DocumentFixture {
protected:
    void TearDown() override
    {
        DocumentFixture::TearDown();
        ::unsetenv("RINGWISE_MIC");
        ::unsetenv("RINGWISE_SPEAKER");
    }

    void write_wav(const std::string& name, const std::vector<std::int16_t>& samples)
    {
        audio::FileWriterWAVPCM writer(temp.wide(name));
        writer.on_data(audio_test::sample_block(samples));
    }

    std::vector<std::int16_t> read_wav(const std::string& name)
    {
        audio::FileReaderWAVPCM reader(temp.wide(name));
        return audio_test::samples_of(reader.get_data(1 << 24));
    }

    // Waits, as the recognition run does, until more than 2.7 s have passed
    // and the capture buffer is full; false after a generous bound.
    bool record_full_capture()
    {
        std::uint32_t started = platform::tick_count();
        while (platform::tick_count() - started < 15000) {
            if (document->elapsed() > audio::MAX_RECORD_SECONDS
                && document->audio().capture_buffer().count() == 119070)
                return true;
            platform::sleep(100);
        }
        return false;
    }
};

TEST_F(DocumentAudio, TrainingFromTheMicrophoneMatchesTheTool)
{
    // 3 s: the lead-in, the spoken name, background noise after it.
    std::vector<std::int16_t> samples = test_recordings::noise(4410, 30, 7u);
    auto speech = test_recordings::capture(test_recordings::load("margaret-slow"));
    samples.insert(samples.end(), speech.begin(), speech.end());
    auto tail = test_recordings::noise(66150 - samples.size(), 30, 9u);
    samples.insert(samples.end(), tail.begin(), tail.end());
    write_wav("mic.wav", samples);
    ::setenv("RINGWISE_MIC", temp.native("mic.wav").c_str(), 1);

    std::string tool = std::string(RINGWISE_BINARY_DIR) + "/bin/ringwise-tool train "
        + temp.native("mic.wav") + " " + temp.native("tool") + " > /dev/null";
    ASSERT_EQ(std::system(tool.c_str()), 0);

    ASSERT_TRUE(document->start_recording());
    ASSERT_TRUE(record_full_capture());
    Command command;
    command.id = 1;
    ASSERT_TRUE(document->train_tag(command));
    EXPECT_FALSE(document->audio().has_recorder());
    EXPECT_EQ(temp.read("app/commands/001.tag"), temp.read("tool.tag"));
    EXPECT_EQ(temp.read("app/commands/001.wav"), temp.read("tool.wav"));
}

TEST_F(DocumentAudio, RecordingWithoutAnInputDeviceFails)
{
    ::setenv("RINGWISE_MIC", temp.native("missing.wav").c_str(), 1);
    EXPECT_FALSE(document->start_recording());
    FeatureSet features;
    EXPECT_FALSE(document->finish_recording(features));
}

TEST_F(DocumentAudio, PlayingAFileWaitsForItsEnd)
{
    auto samples = test_recordings::noise(4000, 2000, 3u);
    write_wav("prompt.wav", samples);
    ::setenv("RINGWISE_SPEAKER", temp.native("speaker.wav").c_str(), 1);
    document->play_file(temp.wide("prompt.wav"), 0, true);
    EXPECT_TRUE(document->audio().player().is_finished());
    document->stop_audio();
    EXPECT_FALSE(document->audio().has_file_source());

    // The speaker file is complete once the device has closed.
    std::uint32_t started = platform::tick_count();
    while (
        read_wav("speaker.wav").size() < samples.size() && platform::tick_count() - started < 5000)
        platform::sleep(50);
    auto played = read_wav("speaker.wav");
    ASSERT_GE(played.size(), samples.size());
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), played.begin()));
}

} // namespace
