#pragma once

#include "liba/Active.h"
#include "liba/ActiveScheduler.h"
#include "platform/MessageQueue.h"
#include "platform/WindowTimers.h"
#include "tests/platform/MessageTestSupport.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace test_support {

// The order in which completions, listeners and window messages ran.
inline std::vector<std::string>& journal()
{
    static std::vector<std::string> entries;
    return entries;
}

// An active object whose request completes when the test says so.
class TestActive : public CActive {
public:
    explicit TestActive(std::string name)
        : CActive(0)
        , name(std::move(name))
    {
    }
    ~TestActive() override
    {
        // Tests end with nothing outstanding; make sure of it for a failed one.
        if (is_active())
            cancel();
    }

    void request()
    {
        completed = false;
        set_active();
    }
    // Reports the request complete, once, as a worker would.
    void complete()
    {
        if (!completed.exchange(true))
            notify();
    }

    std::string name;
    int runs { 0 };
    int cancels { 0 };
    // What do_cancel() does: post the completion at once (like a timer), or
    // leave it to a worker.
    bool complete_on_cancel { true };
    // Run by run(), after the journal entry.
    std::function<void()> on_run;
    std::atomic<bool> completed { false };

protected:
    void run() override
    {
        ++runs;
        journal().push_back(name);
        if (on_run)
            on_run();
    }
    void do_cancel() override
    {
        ++cancels;
        if (complete_on_cancel)
            complete();
    }
};

// A scheduler on a fake clock, with a registry that keeps the log off.
class SchedulerTest : public ::testing::Test {
protected:
    SchedulerTest()
    {
        setenv("RINGWISE_REGISTRY", registry_folder.native("registry.db").c_str(), 1);
        journal().clear();
        drain();
    }
    ~SchedulerTest() override { drain(); }

    // Gets and dispatches every message that is due now.
    static int drain()
    {
        int count = 0;
        platform::Message message;
        while (platform::peek_message(message, {}, platform::Peek::Remove)) {
            platform::dispatch_message(message);
            ++count;
        }
        return count;
    }

    // Lets `milliseconds` pass and runs what fell due.
    void advance(std::uint32_t milliseconds)
    {
        clock.advance(milliseconds);
        drain();
    }

    std::optional<std::uint32_t> platform_timer() const
    {
        return platform::timer_interval(scheduler.window(), CActiveScheduler::TIMER_ID);
    }

    TempDirectory registry_folder;
    FakeClock clock { 1000 };
    CActiveScheduler scheduler;
};

} // namespace test_support
