#include "liba/Atomic.h"
#include "liba/Buffer.h"
#include "liba/CriticalSection.h"
#include "liba/Event.h"
#include "platform/Tick.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace liba;

namespace {

constexpr unsigned WATCHDOG_MS = 10000;

} // namespace

TEST(CriticalSection, IsReentrantAndExcludesOtherThreads)
{
    CriticalSection section;
    long counter = 0;
    auto work = [&] {
        for (int i = 0; i < 20000; ++i) {
            Lock outer(section);
            Lock inner(section);
            ++counter;
        }
    };
    std::thread a(work);
    std::thread b(work);
    a.join();
    b.join();
    EXPECT_EQ(counter, 40000);
}

TEST(CriticalSection, HeldByOneThreadBlocksAnother)
{
    CriticalSection section;
    std::atomic<bool> entered { false };
    Event trying;
    Event inside;
    section.enter();
    section.enter();
    std::thread other([&] {
        trying.set();
        Lock lock(section);
        entered = true;
        inside.set();
    });
    ASSERT_TRUE(trying.wait_for(WATCHDOG_MS));
    section.leave();
    // Still held once: the other thread must not get in, however long it is
    // given. The wait only bounds how long a broken lock has to show itself.
    EXPECT_FALSE(inside.wait_for(20));
    EXPECT_FALSE(entered.load());
    section.leave();
    EXPECT_TRUE(inside.wait_for(WATCHDOG_MS));
    other.join();
    EXPECT_TRUE(entered.load());
}

TEST(Event, IsManualResetAndWakesEveryWaiter)
{
    Event event;
    EXPECT_FALSE(event.wait_for(1));
    std::atomic<int> woken { 0 };
    std::vector<std::thread> waiters;
    for (int i = 0; i < 4; ++i) {
        waiters.emplace_back([&] {
            if (event.wait_for(WATCHDOG_MS))
                ++woken;
        });
    }
    event.set();
    for (auto& waiter : waiters)
        waiter.join();
    EXPECT_EQ(woken.load(), 4);

    // It stays set until reset.
    event.wait();
    EXPECT_TRUE(event.is_set());
    event.reset();
    EXPECT_FALSE(event.is_set());
    std::uint32_t before = platform::tick_count();
    EXPECT_FALSE(event.wait_for(30));
    EXPECT_GE(platform::tick_count() - before, 29u);
}

TEST(Atomic, CountsFromManyThreadsWithoutLoss)
{
    std::int32_t counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 10000; ++i) {
                if (t % 2 == 0)
                    atomic_increment(&counter);
                else
                    atomic_increment(&counter), atomic_decrement(&counter);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(counter, 20000);
    EXPECT_EQ(atomic_decrement(&counter), 19999);
    EXPECT_EQ(atomic_increment(&counter), 20000);
}

TEST(Buffer, ViewsOfOneStorageMayLiveOnDifferentThreads)
{
    Buffer shared(4096);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([shared, t]() mutable {
            for (int i = 0; i < 2000; ++i) {
                Buffer view(shared, t, 16);
                Buffer copy = view;
                copy.writable_data()[0] = static_cast<std::uint8_t>(i);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_FALSE(shared.is_shared());
}
