#include "audio/Link.h"
#include "audio/PCMData.h"
#include "audio/Processor.h"
#include "tests/audio/AudioTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using audio::PCMData;
using audio_test::ramp;

namespace {

struct Sink : audio::Consumer<PCMData> {
    void on_data(const PCMData& block) override { received.push_back(block); }
    std::vector<PCMData> received;
};

struct Source : audio::Provider<PCMData> {
    PCMData get_data(std::int32_t count) override
    {
        requested.push_back(count);
        return ramp(count);
    }
    std::vector<std::int32_t> requested;
};

// Marks every block it passes by doubling the sample rate.
struct Doubler : audio::Processor<PCMData, PCMData> {
    PCMData process(const PCMData& in) override
    {
        PCMData out = in;
        out.sample_rate *= 2;
        return out;
    }
};

} // namespace

TEST(Link, PushAndPullWithoutAPartnerDoNothing)
{
    Source source;
    audio::push(source, ramp(10));

    Sink sink;
    PCMData pulled = audio::pull(sink, 100);
    EXPECT_EQ(pulled.length(), 0);
    EXPECT_EQ(pulled.sample_rate, 0);
}

TEST(Link, ConnectingAProviderAgainDropsItsOldLink)
{
    Source source;
    Sink first;
    Sink second;
    audio::connect<PCMData>(source, &first);
    audio::connect<PCMData>(source, &second);
    audio::push(source, ramp(10));

    EXPECT_TRUE(first.received.empty());
    EXPECT_EQ(first.provider.load(), nullptr);
    ASSERT_EQ(second.received.size(), 1u);
    EXPECT_EQ(second.received[0].length(), 20);

    audio::connect<PCMData>(source, nullptr);
    audio::push(source, ramp(10));
    EXPECT_EQ(second.received.size(), 1u);
    EXPECT_EQ(second.provider.load(), nullptr);
    EXPECT_EQ(audio::pull(second, 5).length(), 0);
}

TEST(Link, AConsumerFollowsOnlyItsNewestProvider)
{
    Source old_source;
    Source new_source;
    Sink sink;
    audio::connect<PCMData>(old_source, &sink);
    audio::connect<PCMData>(new_source, &sink);

    audio::push(old_source, ramp(3));
    audio::push(new_source, ramp(4));
    ASSERT_EQ(sink.received.size(), 1u);
    EXPECT_EQ(sink.received[0].frames(), 4);
}

TEST(Link, AProcessorTransformsBlocksInBothDirections)
{
    Source source;
    Doubler doubler;
    Sink sink;
    audio::connect<PCMData>(source, &doubler);
    audio::connect<PCMData>(doubler, &sink);

    // Pushed through: the processor re-enters its own lock inside push().
    audio::push(source, ramp(8, 11025));
    ASSERT_EQ(sink.received.size(), 1u);
    EXPECT_EQ(sink.received[0].sample_rate, 22050);
    EXPECT_EQ(sink.received[0].frames(), 8);
    EXPECT_EQ(audio_test::sample_at(sink.received[0], 7), 7);

    // Pulled through: the count reaches the source unchanged.
    PCMData pulled = audio::pull(sink, 6);
    EXPECT_EQ(source.requested, std::vector<std::int32_t> { 6 });
    EXPECT_EQ(pulled.sample_rate, 44100);
    EXPECT_EQ(pulled.frames(), 6);
}

TEST(Link, DestroyingEitherSideEndsTheLink)
{
    Sink sink;
    {
        Source source;
        audio::connect<PCMData>(source, &sink);
    }
    EXPECT_EQ(sink.provider.load(), nullptr);
    EXPECT_EQ(audio::pull(sink, 10).length(), 0);

    Source source;
    {
        auto doomed = std::make_unique<Sink>();
        audio::connect<PCMData>(source, doomed.get());
    }
    EXPECT_EQ(source.consumer.load(), nullptr);
    audio::push(source, ramp(10));
}

TEST(PCMData, DerivesSizesFromItsFormat)
{
    PCMData stereo8(liba::Buffer(10), 2, 8, 8000);
    EXPECT_EQ(stereo8.block_size(), 2);
    EXPECT_EQ(stereo8.frames(), 5);

    PCMData odd(liba::Buffer(7), 1, 12, 8000);
    EXPECT_EQ(odd.bytes_per_sample(), 2);
    EXPECT_EQ(odd.frames(), 3);

    PCMData unformatted(liba::Buffer(7), 0, 0, 0);
    EXPECT_EQ(unformatted.frames(), 0);
    EXPECT_TRUE(PCMData().same_format(PCMData(liba::Buffer(4), 0, 0, 0)));
    EXPECT_FALSE(ramp(1, 22050).same_format(ramp(1, 11025)));
}
