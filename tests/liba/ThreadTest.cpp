#include "liba/Thread.h"
#include "liba/Event.h"
#include "platform/Tick.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace liba;

namespace {

// Every wait in these tests is bounded, so that a broken thread fails the
// test instead of hanging it.
constexpr unsigned WATCHDOG_MS = 10000;

template<typename Predicate> bool eventually(Predicate predicate)
{
    std::uint32_t start = platform::tick_count();
    while (!predicate()) {
        if (platform::tick_count() - start > WATCHDOG_MS)
            return false;
        platform::sleep(1);
    }
    return true;
}

// Runs until asked to stop, or until released.
class Worker : public Thread {
public:
    ~Worker() override { join(); }

    Event started;
    Event release;
    std::atomic<int> runs { 0 };
    std::atomic<pid_t> id { 0 };

protected:
    void run() override
    {
        ++runs;
        id = static_cast<pid_t>(syscall(SYS_gettid));
        started.set();
        while (!stop_requested() && !release.wait_for(1)) { }
    }
};

} // namespace

TEST(Thread, StartOnARunningThreadReturnsFalseAndStartsNothing)
{
    Worker worker;
    ASSERT_TRUE(worker.start());
    ASSERT_TRUE(worker.started.wait_for(WATCHDOG_MS));
    EXPECT_TRUE(worker.is_running());
    EXPECT_FALSE(worker.start());
    worker.request_stop();
    worker.join();
    EXPECT_EQ(worker.runs.load(), 1);
    EXPECT_FALSE(worker.is_running());
}

TEST(Thread, CanBeStartedAgainAfterItEnded)
{
    Worker worker;
    for (int round = 1; round <= 3; ++round) {
        worker.started.reset();
        ASSERT_TRUE(worker.start()) << "round " << round;
        // start() clears an earlier stop request.
        EXPECT_FALSE(worker.stop_requested());
        ASSERT_TRUE(worker.started.wait_for(WATCHDOG_MS));
        worker.request_stop();
        worker.join();
    }
    EXPECT_EQ(worker.runs.load(), 3);
}

TEST(Thread, ReleasesItselfWhenItEndsBeforeJoin)
{
    Worker worker;
    worker.release.set();
    ASSERT_TRUE(worker.start());
    // Without join, the thread releases its own handle once run() returns.
    EXPECT_TRUE(eventually([&] { return !worker.is_running(); }));
    worker.join();
    EXPECT_TRUE(worker.start());
    worker.join();
    EXPECT_EQ(worker.runs.load(), 2);
}

TEST(Thread, JoinWaitsForTheEndOfRun)
{
    class Slow : public Thread {
    public:
        std::atomic<bool> finished { false };

    protected:
        void run() override
        {
            platform::sleep(30);
            finished = true;
        }
    } slow;
    ASSERT_TRUE(slow.start());
    slow.join();
    EXPECT_TRUE(slow.finished.load());
    EXPECT_FALSE(slow.is_running());
}

TEST(Thread, ManyShortThreadsRaceTheirJoin)
{
    // The thread's own release and join() meet at every possible moment;
    // each handle must be released exactly once (the sanitizers and the
    // thread limit would notice a leak or a double release).
    class Blink : public Thread {
    protected:
        void run() override { }
    };
    for (int i = 0; i < 300; ++i) {
        Blink blink;
        ASSERT_TRUE(blink.start());
        if (i % 3 == 1)
            platform::sleep(0);
        blink.join();
        EXPECT_FALSE(blink.is_running());
    }
}

TEST(Thread, DestroyingAFinishedThreadWithoutJoin)
{
    class Blink : public Thread {
    public:
        Event done;

    protected:
        void run() override { done.set(); }
    };
    auto* blink = new Blink;
    ASSERT_TRUE(blink->start());
    ASSERT_TRUE(blink->done.wait_for(WATCHDOG_MS));
    delete blink;
}

TEST(Thread, PriorityLevelsAreClampedToTheNiceRange)
{
    EXPECT_EQ(Thread::nice_for_level(-9), 10);
    EXPECT_EQ(Thread::nice_for_level(-2), 10);
    EXPECT_EQ(Thread::nice_for_level(-1), 5);
    EXPECT_EQ(Thread::nice_for_level(0), 0);
    EXPECT_EQ(Thread::nice_for_level(1), -5);
    EXPECT_EQ(Thread::nice_for_level(7), -10);
}

TEST(Thread, SetPriorityChangesTheWorkerOnly)
{
    Worker worker;
    EXPECT_FALSE(worker.set_priority(0));
    ASSERT_TRUE(worker.start());
    ASSERT_TRUE(worker.started.wait_for(WATCHDOG_MS));
    int own_before = getpriority(PRIO_PROCESS, 0);

    // Lowering is always allowed.
    EXPECT_TRUE(worker.set_priority(-9));
    EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(worker.id.load())), 10);

    // Raising needs privileges; when refused, the priority stays.
    if (worker.set_priority(7))
        EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(worker.id.load())), -10);
    else
        EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(worker.id.load())), 10);

    EXPECT_EQ(getpriority(PRIO_PROCESS, 0), own_before);
    worker.request_stop();
    worker.join();
    EXPECT_FALSE(worker.set_priority(0));
}
