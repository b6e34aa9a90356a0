#include "audio/PlayerPCM.h"
#include "audio/FileReaderWAVPCM.h"
#include "audio/FileWriterWAVPCM.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

using audio::PCMData;
using audio::PlayerPCM;
using namespace audio_test;

namespace {

// The speaker writes into a file of this test's own.
class PlayerPCMTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("RINGWISE_SPEAKER", dir.native("speaker.wav").c_str(), 1); }
    void TearDown() override { unsetenv("RINGWISE_SPEAKER"); }

    std::u16string recording(const std::string& name, std::int32_t frames)
    {
        audio::FileWriterWAVPCM writer(dir.wide(name));
        writer.on_data(ramp(frames));
        return dir.wide(name);
    }

    // What the speaker file holds once the player is gone.
    PCMData played()
    {
        audio::FileReaderWAVPCM reader(dir.wide("speaker.wav"));
        return reader.get_data(1 << 24);
    }

    TempDirectory dir;
};

} // namespace

TEST_F(PlayerPCMTest, PlaysAFileShorterThanOneBufferToTheEnd)
{
    {
        PlayerPCM player;
        EXPECT_TRUE(player.is_finished());
        audio::FileReaderWAVPCM reader(recording("short.wav", 1000));
        audio::connect<PCMData>(reader, &player);
        ASSERT_TRUE(player.play());
        EXPECT_TRUE(player.wait_until_finished(reader.total_seconds()));
    }
    PCMData all = played();
    ASSERT_EQ(all.frames(), 1000);
    EXPECT_EQ(all.sample_rate, 22050);
    for (std::int32_t i = 0; i < 1000; ++i)
        ASSERT_EQ(sample_at(all, i), i);
}

TEST_F(PlayerPCMTest, PlayingAgainWhilePlayingDoesNotRestart)
{
    {
        PlayerPCM player;
        audio::FileReaderWAVPCM reader(recording("long.wav", 11025));
        audio::connect<PCMData>(reader, &player);
        ASSERT_TRUE(player.play());
        ASSERT_TRUE(player.play());
        EXPECT_FALSE(player.is_finished());
        EXPECT_TRUE(player.wait_until_finished(reader.total_seconds()));

        // Once finished, another request at the end of the file ends at once.
        ASSERT_TRUE(player.play());
        EXPECT_TRUE(player.wait_until_finished(0));
    }
    PCMData all = played();
    ASSERT_EQ(all.frames(), 11025);
    EXPECT_EQ(sample_at(all, 11024), 11024);
}

TEST_F(PlayerPCMTest, LosingItsReaderEndsPlaybackAfterTheQueuedBuffers)
{
    {
        PlayerPCM player;
        auto reader = std::make_unique<audio::FileReaderWAVPCM>(recording("long.wav", 22050 * 3));
        audio::connect<PCMData>(*reader, &player);
        ASSERT_TRUE(player.play());
        // Gone once the player has taken its first audio.
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (reader->position() == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        reader.reset();
        EXPECT_TRUE(player.wait_until_finished(1.5));
    }
    // What was queued (six 200 ms buffers at most, past the first pull) played in order.
    PCMData all = played();
    EXPECT_GT(all.frames(), 0);
    EXPECT_LT(all.frames(), 22050 * 3);
    for (std::int32_t i = 0; i < all.frames(); ++i)
        ASSERT_EQ(sample_at(all, i), i & 0xFFFF);
}

TEST_F(PlayerPCMTest, WithoutADeviceNothingPlaysAndTheWaitIsBounded)
{
    setenv("RINGWISE_SPEAKER", (dir.native("no/such/folder/x.wav")).c_str(), 1);
    PlayerPCM player;
    audio::FileReaderWAVPCM reader(recording("short.wav", 100));
    audio::connect<PCMData>(reader, &player);
    ASSERT_TRUE(player.play());
    EXPECT_FALSE(player.wait_until_finished(0.1 - PlayerPCM::WAIT_MARGIN_SECONDS));
    EXPECT_FALSE(player.is_finished());
}

TEST_F(PlayerPCMTest, PlaysOneReaderAfterAnotherIntoOneSpeakerFile)
{
    {
        PlayerPCM player;
        player.set_volume(7.0);
        EXPECT_EQ(player.volume(), 1.0);
        audio::FileReaderWAVPCM first(recording("first.wav", 3000));
        audio::connect<PCMData>(first, &player);
        ASSERT_TRUE(player.play());
        ASSERT_TRUE(player.wait_until_finished(first.total_seconds()));

        // A prompt inside a larger file: the reader starts at the image's offset.
        std::vector<std::uint8_t> archive(21, 0);
        std::vector<std::uint8_t> image = read_bytes(dir.native("first.wav"));
        archive.insert(archive.end(), image.begin(), image.end());
        write_bytes(dir.native("archive.bin"), archive);
        audio::FileReaderWAVPCM second(dir.wide("archive.bin"));
        ASSERT_TRUE(second.rewind(21));
        second.seek(2000 * 2);
        audio::connect<PCMData>(second, &player);
        ASSERT_TRUE(player.play());
        ASSERT_TRUE(player.wait_until_finished(second.total_seconds()));
    }
    PCMData all = played();
    ASSERT_EQ(all.frames(), 4000);
    EXPECT_EQ(sample_at(all, 2999), 2999);
    EXPECT_EQ(sample_at(all, 3000), 2000);
    EXPECT_EQ(sample_at(all, 3999), 2999);
}
