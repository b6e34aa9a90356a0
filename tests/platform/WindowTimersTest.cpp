#include "platform/WindowTimers.h"

#include "platform/MessageQueue.h"
#include "platform/Window.h"
#include "tests/platform/MessageTestSupport.h"

#include <gtest/gtest.h>

using namespace platform;
using test_support::FakeClock;
using test_support::Recorder;
using test_support::Watchdog;

namespace {

// The ids of the timer messages that are due now, in the order they come.
std::vector<Wparam> due_timers(WindowHandle window)
{
    std::vector<Wparam> ids;
    Message message;
    while (peek_message(message, { window }, Peek::Remove)) {
        EXPECT_EQ(message.message, WM_TIMER);
        ids.push_back(message.wparam);
    }
    return ids;
}

} // namespace

TEST(WindowTimers, SeveralIdsExpireInOrderOfDueTime)
{
    FakeClock clock(5000);
    WindowHandle window = Recorder::create();
    ASSERT_TRUE(set_timer(window, 7, 250));
    ASSERT_TRUE(set_timer(window, 3, 100));
    EXPECT_EQ(timer_interval(window, 7), 250u);

    EXPECT_TRUE(due_timers(window).empty());
    clock.advance(100);
    EXPECT_EQ(due_timers(window), (std::vector<Wparam> { 3 }));
    clock.advance(200);
    // Both due; the earlier expiry first, and each only once however late.
    EXPECT_EQ(due_timers(window), (std::vector<Wparam> { 3, 7 }));
    clock.advance(1000);
    EXPECT_EQ(due_timers(window), (std::vector<Wparam> { 3, 7 }));

    // Restarting an id replaces it; killing one leaves the other.
    EXPECT_TRUE(set_timer(window, 7, 50));
    EXPECT_TRUE(kill_timer(window, 3));
    EXPECT_FALSE(kill_timer(window, 3));
    clock.advance(60);
    EXPECT_EQ(due_timers(window), (std::vector<Wparam> { 7 }));
    destroy_window(window);
}

TEST(WindowTimers, PostedMessagesComeBeforeTimerMessages)
{
    FakeClock clock(0);
    WindowHandle window = Recorder::create();
    set_timer(window, 1, 10);
    clock.advance(10);
    post_message(window, WM_USER);

    Message message;
    ASSERT_TRUE(peek_message(message, {}, Peek::Remove));
    EXPECT_EQ(message.message, WM_USER);
    // Peeking without removing leaves the timer due.
    ASSERT_TRUE(peek_message(message, {}, Peek::Keep));
    EXPECT_EQ(message.message, WM_TIMER);
    ASSERT_TRUE(peek_message(message, {}, Peek::Remove));
    EXPECT_EQ(message.wparam, 1u);
    EXPECT_FALSE(peek_message(message, {}, Peek::Remove));
    // A range that leaves out WM_TIMER leaves the timer alone.
    clock.advance(10);
    EXPECT_FALSE(peek_message(message, { {}, WM_USER, WM_USER }, Peek::Remove));
    destroy_window(window);
}

TEST(WindowTimers, TickCountWrapDoesNotDisturbExpiry)
{
    FakeClock clock(0xFFFFFF00u);
    WindowHandle window = Recorder::create();
    set_timer(window, 1, 0x200);
    clock.advance(0x1FF); // past the wrap, one millisecond short
    EXPECT_TRUE(due_timers(window).empty());
    clock.advance(1);
    EXPECT_EQ(due_timers(window), (std::vector<Wparam> { 1 }));
    destroy_window(window);
}

TEST(WindowTimers, BlockingGetSleepsUntilTheTimerIsDue)
{
    Watchdog watchdog;
    WindowHandle window = Recorder::create();
    set_timer(window, 4, 30);
    auto start = std::chrono::steady_clock::now();
    Message message;
    ASSERT_EQ(get_message(message), GetResult::Message);
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(message.message, WM_TIMER);
    EXPECT_EQ(message.wparam, 4u);
    EXPECT_GE(waited, std::chrono::milliseconds(29));
    destroy_window(window);
}
