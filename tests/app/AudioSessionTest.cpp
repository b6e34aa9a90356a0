#include "app/AudioSession.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/engine/Recordings.h"
#include "tests/support/TempDirectory.h"

#include "audio/CaptureFormat.h"
#include "audio/FileWriterWAVPCM.h"
#include "platform/Tick.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(AudioSession, TheCaptureIsTakenAfterTheLeadInAndOnlyInTheCaptureFormat)
{
    AudioSession session;
    std::vector<std::int16_t> samples = test_recordings::noise(20000, 3000, 5u);
    session.capture_buffer().set_duration(audio::MAX_RECORD_SECONDS);
    session.capture_buffer().on_data(audio_test::sample_block(samples, 2));
    EXPECT_TRUE(session.take_capture().empty());

    session.capture_buffer().on_data(audio_test::sample_block(samples));
    std::vector<std::int16_t> taken = session.take_capture();
    EXPECT_EQ(taken,
        std::vector<std::int16_t>(samples.begin() + audio::LEAD_IN_BYTES / 2, samples.end()));
    EXPECT_EQ(session.capture_buffer().count(), 0);
}

// The microphone is a file-backed device that delivers in real time.
TEST(AudioSession, ElapsedCountsFromTheStartOfEachCapture)
{
    TempDirectory temp;
    {
        audio::FileWriterWAVPCM writer(temp.wide("mic.wav"));
        writer.on_data(audio_test::sample_block(test_recordings::noise(66150, 30, 7u)));
    }
    ::setenv("RINGWISE_MIC", temp.native("mic.wav").c_str(), 1);
    {
        AudioSession session;
        // Time before the capture starts does not count.
        platform::sleep(500);
        ASSERT_TRUE(session.start_recording());
        EXPECT_LT(session.elapsed(), 0.4);
        platform::sleep(300);
        EXPECT_GE(session.elapsed(), 0.29);

        ASSERT_TRUE(session.start_recording());
        EXPECT_LT(session.elapsed(), 0.29);
        session.stop_audio();
        EXPECT_FALSE(session.has_recorder());
    }
    ::unsetenv("RINGWISE_MIC");
}

} // namespace
