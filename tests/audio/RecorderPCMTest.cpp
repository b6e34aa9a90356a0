#include "audio/RecorderPCM.h"
#include "audio/AudioBuffer.h"
#include "audio/FileWriterWAVPCM.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>

using audio::PCMData;
using audio::RecorderPCM;
using namespace audio_test;

namespace {

using Clock = std::chrono::steady_clock;

// The microphone plays a file of this test's own.
class RecorderPCMTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        {
            audio::FileWriterWAVPCM writer(dir.wide("mic.wav"));
            writer.on_data(ramp(22050 * 3));
        }
        setenv("RINGWISE_MIC", dir.native("mic.wav").c_str(), 1);
    }
    void TearDown() override { unsetenv("RINGWISE_MIC"); }

    TempDirectory dir;
};

} // namespace

TEST_F(RecorderPCMTest, RecordsTheFirstDurationOfWhatTheDeviceDelivers)
{
    audio::AudioBuffer buffer;
    buffer.set_duration(2.7);
    auto recorder = std::make_unique<RecorderPCM>(1, 22050, 16);
    audio::connect<PCMData>(*recorder, &buffer);
    ASSERT_TRUE(recorder->is_open());
    EXPECT_EQ(recorder->get_bit_rate(), 352800);
    ASSERT_TRUE(recorder->start());

    auto deadline = Clock::now() + std::chrono::seconds(20);
    while (buffer.count() < 119070 && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    audio::connect<PCMData>(*recorder, nullptr);
    recorder.reset();

    PCMData all = buffer.take(buffer.recorded_seconds());
    ASSERT_EQ(all.length(), 119070);
    for (std::int32_t i = 0; i < 59535; ++i)
        ASSERT_EQ(sample_at(all, i), i & 0xFFFF) << "at sample " << i;
}

TEST_F(RecorderPCMTest, DestroyingItWhileBuffersAreQueuedReturns)
{
    audio::AudioBuffer buffer;
    buffer.set_duration(2.7);
    auto recorder = std::make_unique<RecorderPCM>(1, 22050, 16);
    audio::connect<PCMData>(*recorder, &buffer);
    ASSERT_TRUE(recorder->start());
    // Once the first buffer has come back, the others are still queued.
    auto deadline = Clock::now() + std::chrono::seconds(20);
    while (buffer.count() == 0 && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));

    // Destroyed while still linked: what the reset hands back still arrives.
    auto done = std::async(std::launch::async, [&] { recorder.reset(); });
    ASSERT_EQ(done.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_GT(buffer.count(), 0);
    EXPECT_EQ(buffer.count() % 2, 0);

    // Never started: nothing arrives, and it goes away just as well.
    RecorderPCM idle(1, 22050, 16);
    EXPECT_TRUE(idle.is_open());
    EXPECT_FALSE(idle.is_stopped());
}

TEST_F(RecorderPCMTest, WithoutADeviceItIsNotOpenAndCannotStart)
{
    setenv("RINGWISE_MIC", dir.native("missing.wav").c_str(), 1);
    RecorderPCM missing(1, 22050, 16);
    EXPECT_FALSE(missing.is_open());
    EXPECT_FALSE(missing.start());

    // The microphone file only serves the capture format.
    setenv("RINGWISE_MIC", dir.native("mic.wav").c_str(), 1);
    RecorderPCM stereo(2, 22050, 16);
    EXPECT_FALSE(stereo.is_open());

    // No microphone file and a sound system without a usable driver.
    unsetenv("RINGWISE_MIC");
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    RecorderPCM none(1, 22050, 16);
    EXPECT_FALSE(none.is_open());
    EXPECT_FALSE(none.start());
    unsetenv("SDL_AUDIODRIVER");
}
