#include "audio/AudioBuffer.h"
#include "tests/audio/AudioTestSupport.h"

#include <gtest/gtest.h>

using audio::AudioBuffer;
using audio::PCMData;
using audio_test::ramp;
using audio_test::sample_at;

namespace {

struct Recorder : audio::Provider<PCMData> {
    PCMData get_data(std::int32_t) override { return PCMData(); }
};

// A buffer fed by pushes, the way the capture thread fills it.
struct Capture {
    Capture(double seconds)
    {
        buffer.set_duration(seconds);
        audio::connect<PCMData>(recorder, &buffer);
    }
    void push(const PCMData& block) { audio::push(recorder, block); }

    AudioBuffer buffer;
    Recorder recorder;
};

} // namespace

TEST(AudioBuffer, KeepsOnlyTheFirstDurationAndDropsTheRest)
{
    Capture capture(2.7);
    // Three seconds in blocks of 0.1 s, as the recorder delivers them.
    for (int i = 0; i < 30; ++i)
        capture.push(ramp(2205, 22050, i * 2205));

    EXPECT_EQ(capture.buffer.count(), 119070);
    EXPECT_DOUBLE_EQ(capture.buffer.recorded_seconds(), 2.7);

    PCMData all = capture.buffer.take(capture.buffer.recorded_seconds());
    ASSERT_EQ(all.length(), 119070);
    EXPECT_EQ(all.channels, 1);
    EXPECT_EQ(all.bits_per_sample, 16);
    EXPECT_EQ(all.sample_rate, 22050);
    EXPECT_EQ(sample_at(all, 0), 0);
    EXPECT_EQ(sample_at(all, 59534), 59534 & 0xFFFF);
    EXPECT_EQ(capture.buffer.count(), 0);
    EXPECT_EQ(capture.buffer.recorded_seconds(), 0);
}

TEST(AudioBuffer, AppendsBlocksOfOneFormatAndRestartsOnAnother)
{
    Capture capture(1.0);
    capture.push(ramp(100, 22050, 0));
    capture.push(ramp(100, 22050, 100));
    EXPECT_EQ(capture.buffer.count(), 400);

    // Another rate: what was held is gone and the capacity follows the new format.
    capture.push(ramp(50, 8000, 1000));
    EXPECT_EQ(capture.buffer.count(), 100);
    for (int i = 0; i < 100; ++i)
        capture.push(ramp(100, 8000));
    EXPECT_EQ(capture.buffer.count(), 16000);
    EXPECT_DOUBLE_EQ(capture.buffer.recorded_seconds(), 1.0);

    PCMData front = capture.buffer.take(0.5);
    EXPECT_EQ(front.length(), 8000);
    EXPECT_EQ(front.sample_rate, 8000);
    EXPECT_EQ(sample_at(front, 0), 1000);
}

TEST(AudioBuffer, SetDurationEmptiesButKeepsTheCapacityUntilTheFormatChanges)
{
    Capture capture(0.01); // 220 frames at 22050 Hz
    capture.push(ramp(300));
    EXPECT_EQ(capture.buffer.count(), 440);

    capture.buffer.set_duration(1.0);
    EXPECT_EQ(capture.buffer.count(), 0);
    capture.push(ramp(300));
    EXPECT_EQ(capture.buffer.count(), 440);

    capture.push(ramp(300, 11025));
    EXPECT_EQ(capture.buffer.count(), 600);
}

TEST(AudioBuffer, GetDataHandsOutTheFrontAndKeepsTheRestInOrder)
{
    Capture capture(1.0);
    capture.push(ramp(10));

    PCMData first = capture.buffer.get_data(6);
    ASSERT_EQ(first.length(), 6);
    EXPECT_EQ(sample_at(first, 2), 2);

    PCMData rest = capture.buffer.get_data(1000);
    ASSERT_EQ(rest.length(), 14);
    EXPECT_EQ(sample_at(rest, 0), 3);
    EXPECT_EQ(sample_at(rest, 6), 9);

    PCMData none = capture.buffer.get_data(100);
    EXPECT_EQ(none.length(), 0);
    EXPECT_EQ(none.sample_rate, 22050);
    EXPECT_EQ(none.bits_per_sample, 16);
    EXPECT_EQ(none.channels, 1);

    // A block handed out is a copy: later audio does not show through it.
    capture.push(ramp(10, 22050, 500));
    EXPECT_EQ(sample_at(first, 0), 0);
}

TEST(AudioBuffer, ANewBufferHoldsNothing)
{
    AudioBuffer buffer;
    EXPECT_EQ(buffer.recorded_seconds(), 0);
    EXPECT_EQ(buffer.take(2.7).length(), 0);
    // Without a duration every pushed block is dropped.
    buffer.on_data(ramp(100));
    EXPECT_EQ(buffer.count(), 0);
    EXPECT_EQ(buffer.get_data(-5).length(), 0);
}
