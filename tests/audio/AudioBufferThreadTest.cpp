#include "audio/AudioBuffer.h"
#include "tests/audio/AudioTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using audio::PCMData;
using audio_test::ramp;

namespace {

struct Recorder : audio::Provider<PCMData> {
    PCMData get_data(std::int32_t) override { return PCMData(); }
};

using Clock = std::chrono::steady_clock;
constexpr auto WATCHDOG = std::chrono::seconds(60);

} // namespace

// The capture thread pushes while the user-interface thread takes: every
// sample comes out once, in order.
TEST(AudioBufferThreads, PushingWhileTakingLosesAndRepeatsNothing)
{
    constexpr std::int32_t BLOCK = 441;
    constexpr std::int32_t BLOCKS = 200;
    audio::AudioBuffer buffer;
    buffer.set_duration(10.0); // never full: all audio must pass through
    Recorder recorder;
    audio::connect<PCMData>(recorder, &buffer);

    std::thread capture([&] {
        for (std::int32_t i = 0; i < BLOCKS; ++i)
            audio::push(recorder, ramp(BLOCK, 22050, i * BLOCK));
    });

    std::vector<std::int32_t> samples;
    auto deadline = Clock::now() + WATCHDOG;
    while (samples.size() < std::size_t { BLOCK * BLOCKS } && Clock::now() < deadline) {
        PCMData block = buffer.take(0.003);
        for (std::int32_t i = 0; i < block.frames(); ++i)
            samples.push_back(audio_test::sample_at(block, i));
    }
    capture.join();

    ASSERT_EQ(samples.size(), std::size_t { BLOCK * BLOCKS });
    for (std::size_t i = 0; i < samples.size(); ++i)
        ASSERT_EQ(samples[i], static_cast<std::int32_t>(i & 0xFFFF)) << "at sample " << i;
    EXPECT_EQ(buffer.recorded_seconds(), 0);
}

// Unlinking from another thread while blocks arrive neither crashes nor
// lets a block in after the unlink has returned.
TEST(AudioBufferThreads, UnlinkingWhilePushingIsSafe)
{
    audio::AudioBuffer buffer;
    buffer.set_duration(100.0);
    Recorder recorder;
    audio::connect<PCMData>(recorder, &buffer);

    std::atomic<bool> stop { false };
    std::atomic<int> pushes { 0 };
    std::thread capture([&] {
        auto deadline = Clock::now() + WATCHDOG;
        while (!stop.load() && Clock::now() < deadline) {
            audio::push(recorder, ramp(64));
            pushes.fetch_add(1);
        }
    });
    // Waits until the capture thread has pushed `count` more blocks.
    auto wait_for_pushes = [&](int count) {
        int target = pushes.load() + count;
        auto deadline = Clock::now() + WATCHDOG;
        while (pushes.load() < target && Clock::now() < deadline)
            std::this_thread::yield();
        return pushes.load() >= target;
    };

    auto deadline = Clock::now() + WATCHDOG;
    while (buffer.count() == 0 && Clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_GT(buffer.count(), 0);
    audio::connect<PCMData>(recorder, nullptr);
    std::int32_t held = buffer.count();
    EXPECT_TRUE(wait_for_pushes(100));
    EXPECT_EQ(buffer.count(), held);
    stop.store(true);
    capture.join();
    EXPECT_EQ(buffer.provider.load(), nullptr);
}
