#include "liba/Timer.h"

#include "tests/liba/SchedulerTestSupport.h"

#include <gtest/gtest.h>

using test_support::journal;
using test_support::Recorder;
using test_support::SchedulerTest;

namespace {

class Listener : public liba::Timer::Listener {
public:
    explicit Listener(std::string name)
        : name(std::move(name))
    {
    }
    void on_timer(liba::Timer& timer) override
    {
        ++fired;
        active_during_call = timer.is_active();
        journal().push_back(name);
        if (restart_with)
            timer.start(*restart_with);
    }

    std::string name;
    int fired { 0 };
    std::optional<bool> active_during_call;
    std::optional<double> restart_with;
};

} // namespace

using TimerTest = SchedulerTest;

TEST_F(TimerTest, HalfASecondFiresOnceInactiveDuringTheCall)
{
    Listener listener("half");
    liba::Timer timer(&listener);
    EXPECT_FALSE(timer.is_active());
    timer.start(0.5);
    EXPECT_TRUE(timer.is_active());
    EXPECT_EQ(platform_timer(), 500u);

    advance(499);
    EXPECT_EQ(listener.fired, 0);
    advance(1);
    EXPECT_EQ(listener.fired, 1);
    EXPECT_EQ(listener.active_during_call, false);
    EXPECT_FALSE(timer.is_active());
    EXPECT_FALSE(platform_timer());
    advance(5000);
    EXPECT_EQ(listener.fired, 1);
}

TEST_F(TimerTest, ThePlatformTimerCarriesTheNearestExpiry)
{
    Listener slow("slow"), fast("fast");
    liba::Timer one_second(&slow), fifth(&fast);
    one_second.start(1.0);
    EXPECT_EQ(platform_timer(), 1000u);
    fifth.start(0.2);
    EXPECT_EQ(platform_timer(), 200u);

    advance(200);
    EXPECT_EQ(journal(), (std::vector<std::string> { "fast" }));
    EXPECT_EQ(platform_timer(), 800u);
    advance(800);
    EXPECT_EQ(journal(), (std::vector<std::string> { "fast", "slow" }));
    EXPECT_FALSE(platform_timer());
}

TEST_F(TimerTest, RestartingCancelsTheRunningInterval)
{
    Listener listener("restarted");
    liba::Timer timer(&listener);
    timer.start(0.5);
    advance(300);
    timer.start(0.5);
    advance(300); // the first interval would have ended here
    EXPECT_EQ(listener.fired, 0);
    advance(200);
    EXPECT_EQ(listener.fired, 1);

    // Cancelling a running timer: no call, nothing left pending.
    timer.start(0.1);
    timer.cancel();
    EXPECT_FALSE(timer.is_active());
    advance(1000);
    EXPECT_EQ(listener.fired, 1);
    EXPECT_FALSE(platform_timer());
}

TEST_F(TimerTest, CancelOrRestartAfterTheExpiryWasPostedLeavesNoStaleCompletion)
{
    Listener listener("late");
    liba::Timer timer(&listener);
    platform::Message message;

    // The platform timer's message runs the scan, which posts the completion;
    // the timer is cancelled before that completion is dispatched.
    timer.start(0.1);
    clock.advance(100);
    ASSERT_TRUE(platform::peek_message(
        message, { scheduler.window(), platform::WM_TIMER, platform::WM_TIMER }));
    platform::dispatch_message(message);
    timer.cancel();
    EXPECT_FALSE(timer.is_active());
    EXPECT_EQ(drain(), 0); // a second completion would be dispatched here, and be fatal
    EXPECT_EQ(listener.fired, 0);

    // The same, restarted: the new interval runs its full length.
    timer.start(0.1);
    clock.advance(100);
    ASSERT_TRUE(platform::peek_message(
        message, { scheduler.window(), platform::WM_TIMER, platform::WM_TIMER }));
    platform::dispatch_message(message);
    timer.start(0.3);
    drain();
    EXPECT_EQ(listener.fired, 0);
    advance(299);
    EXPECT_EQ(listener.fired, 0);
    advance(1);
    EXPECT_EQ(listener.fired, 1);

    // Scans that find the timer due again before its completion runs (here:
    // other timers starting) post it once, so the restarted period is whole.
    Listener other_listener("other");
    liba::Timer other(&other_listener), third(&other_listener);
    listener.restart_with = 0.2; // a periodic timer
    timer.start(0.1);
    clock.advance(100);
    other.start(5.0);
    third.start(5.0);
    drain();
    EXPECT_EQ(listener.fired, 2);
    advance(199);
    EXPECT_EQ(listener.fired, 2);
    advance(1);
    EXPECT_EQ(listener.fired, 3);
    listener.restart_with.reset();
    timer.cancel();
    other.cancel();
    third.cancel();
}

TEST_F(TimerTest, ZeroSecondsFiresAfterMessagesAlreadyQueued)
{
    platform::WindowHandle window = Recorder::create();
    Recorder::instance().take();
    Listener listener("zero");
    liba::Timer timer(&listener);
    platform::post_message(window, platform::WM_USER + 1);
    timer.start(0);
    EXPECT_EQ(listener.fired, 0); // never from inside start
    platform::post_message(window, platform::WM_USER + 2);

    platform::Message message;
    std::vector<std::uint32_t> order;
    while (platform::peek_message(message)) {
        order.push_back(message.message);
        platform::dispatch_message(message);
    }
    EXPECT_EQ(order,
        (std::vector<std::uint32_t> {
            platform::WM_USER + 1, CActiveScheduler::COMPLETION_MESSAGE, platform::WM_USER + 2 }));
    EXPECT_EQ(listener.fired, 1);
    platform::destroy_window(window);
}

TEST_F(TimerTest, TheTickCountWrapNeitherDelaysNorAdvancesTheExpiry)
{
    Listener listener("wrap");
    liba::Timer timer(&listener);
    clock.advance(0xFFFFFF00u - clock.current()); // 256 ms before the wrap
    timer.start(0.5);
    EXPECT_EQ(platform_timer(), 500u);
    advance(300);
    // A scan after the wrap still sees 200 ms left, not about 49 days.
    Listener other_listener("other");
    liba::Timer other(&other_listener);
    other.start(1.0);
    EXPECT_EQ(platform_timer(), 200u);
    advance(199);
    EXPECT_EQ(listener.fired, 0);
    advance(1);
    EXPECT_EQ(listener.fired, 1);
    other.cancel();
}

TEST_F(TimerTest, LongAndNegativeIntervals)
{
    Listener listener("long");
    liba::Timer timer(&listener);
    // Beyond the longest wait: the platform timer waits that long, then rescans.
    timer.start(4 * 3600.0);
    EXPECT_EQ(platform_timer(), static_cast<std::uint32_t>(CActiveScheduler::NO_TIMER));
    advance(CActiveScheduler::NO_TIMER);
    EXPECT_EQ(platform_timer(), 4 * 3600000u - CActiveScheduler::NO_TIMER);
    advance(4 * 3600000u - CActiveScheduler::NO_TIMER);
    EXPECT_EQ(listener.fired, 1);

    // A negative interval is already over: it fires on the next turn.
    timer.start(-2.0);
    EXPECT_FALSE(platform_timer());
    drain();
    EXPECT_EQ(listener.fired, 2);
}

TEST_F(TimerTest, DestroyingARunningTimerCancelsIt)
{
    Listener listener("gone");
    {
        liba::Timer timer(&listener);
        timer.start(0.1);
    }
    advance(200);
    EXPECT_EQ(listener.fired, 0);
    EXPECT_FALSE(platform_timer()); // the stray expiry found nothing to wait for
}
