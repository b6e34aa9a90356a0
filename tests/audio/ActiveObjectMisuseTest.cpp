#include "audio/AudioBuffer.h"
#include "audio/PlayerPCM.h"
#include "audio/RecorderPCM.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>

using audio::PCMData;

// The recorder only pushes and the player only pulls: the other direction is
// a broken rule that ends the process through the assertion reporter.
TEST(AudioActiveObjects, PullingFromTheRecorderOrPushingToThePlayerIsFatal)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDirectory dir;
    setenv("RINGWISE_REGISTRY", dir.native("registry.db").c_str(), 1);
    setenv("RINGWISE_MIC", dir.native("missing.wav").c_str(), 1);

    EXPECT_EXIT(
        {
            audio::RecorderPCM recorder(1, 22050, 16);
            audio::AudioBuffer buffer;
            audio::connect<PCMData>(recorder, &buffer);
            audio::pull<PCMData>(buffer, 1);
        },
        ::testing::ExitedWithCode(70),
        "RecorderPCM::get_data: get_data unexpected - recorder is active object");

    EXPECT_EXIT(
        {
            struct Source : audio::Provider<PCMData> {
                PCMData get_data(std::int32_t) override { return PCMData(); }
            } source;
            audio::PlayerPCM player;
            audio::connect<PCMData>(source, &player);
            audio::push(source, audio_test::ramp(10));
        },
        ::testing::ExitedWithCode(70),
        "PlayerPCM::on_data: on_data unexpected - player is active object");

    unsetenv("RINGWISE_MIC");
    unsetenv("RINGWISE_REGISTRY");
}
