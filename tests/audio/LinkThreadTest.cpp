#include "audio/Link.h"
#include "audio/PCMData.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/Watchdog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

using audio::PCMData;
using audio_test::ramp;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto LIMIT = std::chrono::seconds(60);

struct Source : audio::Provider<PCMData> {
    PCMData get_data(std::int32_t) override { return PCMData(); }
};

// Counts what arrives; unlinks first thing in its destructor, as every
// consumer of the program does.
struct Sink : audio::Consumer<PCMData> {
    ~Sink() override { audio::disconnect<PCMData>(*this); }
    void on_data(const PCMData&) override { received.fetch_add(1); }
    std::atomic<int> received { 0 };
};

} // namespace

// The capture thread pushes without pause while the user-interface thread
// links a fresh consumer, waits for a block to reach it, unlinks it and
// destroys it. A push that read the consumer just before the unlink must not
// touch it once it is gone (the sanitizers see the freed lock), and nothing
// arrives after the unlink has returned.
TEST(LinkThreads, AConsumerUnlinkedAndDestroyedWhileBlocksArriveIsLeftAlone)
{
    constexpr int ROUNDS = 3000;
    test_support::Watchdog watchdog(std::chrono::seconds(240));
    Source source;
    std::atomic<bool> stop { false };
    std::thread capture([&] {
        PCMData block = ramp(16);
        auto deadline = Clock::now() + LIMIT;
        while (!stop.load() && Clock::now() < deadline)
            audio::push(source, block);
    });

    auto deadline = Clock::now() + LIMIT;
    int rounds = 0;
    int late = 0;
    for (; rounds < ROUNDS && Clock::now() < deadline; ++rounds) {
        auto sink = std::make_unique<Sink>();
        audio::connect<PCMData>(source, sink.get());
        while (sink->received.load() == 0 && Clock::now() < deadline)
            std::this_thread::yield();
        // Both ways of ending a link: from the provider's side and from the
        // consumer's.
        if (rounds % 2 == 0)
            audio::connect<PCMData>(source, nullptr);
        else
            audio::disconnect<PCMData>(*sink);
        int held = sink->received.load();
        std::this_thread::yield();
        if (sink->received.load() != held)
            ++late;
        sink.reset();
    }
    stop.store(true);
    capture.join();

    EXPECT_EQ(rounds, ROUNDS);
    EXPECT_EQ(late, 0);
    EXPECT_EQ(source.consumer.load(), nullptr);
}
