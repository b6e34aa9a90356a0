#include "platform/MessageQueue.h"

#include "liba/Event.h"
#include "platform/InputPump.h"
#include "platform/Window.h"
#include "platform/WindowTimers.h"
#include "tests/platform/MessageTestSupport.h"

#include <gtest/gtest.h>

#include <thread>

using namespace platform;
using test_support::Recorder;
using test_support::Watchdog;

namespace {

std::vector<std::uint32_t> drain(const MessageFilter& filter = {})
{
    std::vector<std::uint32_t> numbers;
    Message message;
    while (peek_message(message, filter, Peek::Remove))
        numbers.push_back(message.message);
    return numbers;
}

} // namespace

TEST(MessageQueue, PostedMessagesArriveInOrderAndDispatchToTheirWindow)
{
    WindowHandle window = Recorder::create();
    ASSERT_TRUE(window);
    Recorder::instance().take();

    EXPECT_TRUE(post_message(window, WM_USER + 1, 10, 20));
    EXPECT_TRUE(post_message(window, WM_USER + 2, 30, 40));
    EXPECT_TRUE(post_message({}, WM_USER + 3)); // a thread message to ourselves

    Message message;
    ASSERT_EQ(get_message(message), GetResult::Message);
    EXPECT_EQ(message.window, window);
    EXPECT_EQ(message.message, WM_USER + 1u);
    EXPECT_EQ(dispatch_message(message), 30);
    ASSERT_EQ(get_message(message), GetResult::Message);
    EXPECT_EQ(dispatch_message(message), 70);
    ASSERT_EQ(get_message(message), GetResult::Message);
    EXPECT_FALSE(message.window);
    EXPECT_EQ(message.message, WM_USER + 3u);
    EXPECT_EQ(dispatch_message(message), 0);

    auto received = Recorder::instance().take();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].message, WM_USER + 1u);
    EXPECT_EQ(received[0].wparam, 10u);
    EXPECT_EQ(received[1].lparam, 40);

    EXPECT_TRUE(destroy_window(window));
    EXPECT_FALSE(post_message(window, WM_USER));
}

TEST(MessageQueue, FiltersLeaveOtherMessagesQueuedInOrder)
{
    WindowHandle first = Recorder::create();
    WindowHandle second = Recorder::create();
    WindowHandle child = Recorder::create(second, WS_CHILD);
    post_message(first, WM_USER);
    post_message(second, WM_USER + 5);
    post_message(first, WM_USER + 1);
    post_message(child, WM_USER + 5);
    post_message(second, WM_USER + 2);

    // A number range takes only its own numbers, oldest first.
    Message message;
    ASSERT_EQ(get_message(message, { {}, WM_USER + 5, WM_USER + 5 }), GetResult::Message);
    EXPECT_EQ(message.window, second);
    // A window filter takes the window and its children.
    EXPECT_EQ(drain({ second }), (std::vector<std::uint32_t> { WM_USER + 5, WM_USER + 2 }));
    EXPECT_EQ(drain(), (std::vector<std::uint32_t> { WM_USER, WM_USER + 1 }));

    // Peeking without removing sees the same message again.
    post_message(first, WM_USER + 7);
    ASSERT_TRUE(peek_message(message, {}, Peek::Keep));
    ASSERT_TRUE(peek_message(message, {}, Peek::Keep));
    EXPECT_EQ(drain(), (std::vector<std::uint32_t> { WM_USER + 7 }));
    EXPECT_FALSE(peek_message(message));

    destroy_window(first);
    destroy_window(second);
    EXPECT_FALSE(is_window(child));
}

TEST(MessageQueue, QuitEndsGetAfterThePostedMessages)
{
    WindowHandle window = Recorder::create();
    post_message(window, WM_USER);
    post_quit_message(7);
    post_message(window, WM_USER + 1);

    Message message;
    EXPECT_EQ(get_message(message), GetResult::Message);
    EXPECT_EQ(get_message(message), GetResult::Message);
    ASSERT_EQ(get_message(message), GetResult::Quit);
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wparam, 7u);
    // The request is consumed: the queue is empty afterwards.
    EXPECT_FALSE(peek_message(message));

    // Even a filter that excludes everything else reports the quit.
    post_message(window, WM_USER + 1);
    post_quit_message(0);
    EXPECT_EQ(get_message(message, { window, WM_USER + 5, WM_USER + 5 }), GetResult::Quit);
    EXPECT_EQ(drain(), (std::vector<std::uint32_t> { WM_USER + 1 }));
    destroy_window(window);
}

TEST(MessageQueue, ThreadMessagesReachAWorkerUntilItsQuit)
{
    Watchdog watchdog;
    liba::Event ready;
    std::atomic<ThreadId> worker_id { 0 };
    std::vector<std::uint32_t> seen;
    std::thread worker([&] {
        ensure_message_queue();
        worker_id = current_thread_id();
        ready.set();
        Message message;
        while (get_message(message) == GetResult::Message)
            seen.push_back(message.message);
    });
    ready.wait();
    EXPECT_TRUE(has_message_queue(worker_id));
    EXPECT_TRUE(post_thread_message(worker_id, 0x3BE));
    EXPECT_TRUE(post_thread_message(worker_id, 0x3C0, 1, 2));
    EXPECT_TRUE(post_thread_message(worker_id, WM_QUIT));
    worker.join();
    EXPECT_EQ(seen, (std::vector<std::uint32_t> { 0x3BE, 0x3C0 }));
    // The queue ended with its thread.
    EXPECT_FALSE(post_thread_message(worker_id, WM_USER));
}

TEST(MessageQueue, SendOnTheOwningThreadCallsTheProcedureDirectly)
{
    WindowHandle window = Recorder::create();
    Recorder::instance().take();
    EXPECT_EQ(send_message(window, WM_USER, 2, 3), 5);
    EXPECT_EQ(Recorder::instance().take().size(), 1u);
    Message message;
    EXPECT_FALSE(peek_message(message));
    EXPECT_EQ(send_message(WindowHandle { 0x7FFFFFF0 }, WM_USER, 2, 3), 0);
    destroy_window(window);
}

namespace {

// Owns a window on a thread of its own and pumps its messages until quit.
class WindowThread {
public:
    WindowThread()
        : thread_([this] {
            window_ = Recorder::create();
            id_ = current_thread_id();
            ready_.set();
            Message message;
            while (get_message(message) == GetResult::Message)
                dispatch_message(message);
            destroy_window(window_);
        })
    {
        ready_.wait();
    }
    ~WindowThread()
    {
        post_thread_message(id_, WM_QUIT);
        thread_.join();
    }
    WindowHandle window() const { return window_; }
    ThreadId id() const { return id_; }

private:
    liba::Event ready_;
    WindowHandle window_;
    ThreadId id_ { 0 };
    std::thread thread_;
};

WindowHandle reply_target;

Lresult reply_procedure(WindowHandle window, std::uint32_t message, Wparam wparam, Lparam lparam)
{
    // Sends back to the sender's thread while that thread waits for us.
    if (message == WM_USER + 9)
        return send_message(reply_target, WM_USER + 1, wparam, 100) + 1;
    return default_window_procedure(window, message, wparam, lparam);
}

} // namespace

TEST(MessageQueue, FilterOnAWindowOfNoneOrAnotherThreadIsAnError)
{
    Watchdog watchdog;
    Message message;
    EXPECT_EQ(get_message(message, { WindowHandle { 0x7FFFFFF0 } }), GetResult::Error);
    EXPECT_FALSE(peek_message(message, { WindowHandle { 0x7FFFFFF0 } }));

    WindowHandle foreign;
    {
        WindowThread other;
        foreign = other.window();
        EXPECT_EQ(get_message(message, { foreign }), GetResult::Error);
        EXPECT_FALSE(destroy_window(foreign));
        EXPECT_FALSE(set_timer(foreign, 1, 10));
    }
    // The window ended with its thread.
    EXPECT_FALSE(is_window(foreign));
}

TEST(MessageQueue, SendAcrossThreadsRunsOnTheOwnerAndWaitsForTheResult)
{
    Watchdog watchdog;
    Recorder::instance().take();
    {
        WindowThread other;
        EXPECT_EQ(send_message(other.window(), WM_USER + 4, 40, 2), 42);
        auto received = Recorder::instance().take();
        ASSERT_FALSE(received.empty());
        EXPECT_EQ(received.back().message, WM_USER + 4u);
        EXPECT_EQ(received.back().thread, other.id());
    }

    // Two threads that send to each other do not wait for ever.
    register_window_class({ u"ReplyWindow", 0, &reply_procedure });
    reply_target = Recorder::create();
    Recorder::instance().take();
    liba::Event ready;
    WindowHandle replier;
    std::thread thread([&] {
        WindowCreate create;
        create.class_name = u"ReplyWindow";
        replier = create_window(create);
        ready.set();
        Message message;
        while (get_message(message) == GetResult::Message)
            dispatch_message(message);
        destroy_window(replier);
    });
    ready.wait();
    EXPECT_EQ(send_message(replier, WM_USER + 9, 5), 106);
    auto received = Recorder::instance().take();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].thread, current_thread_id());
    post_thread_message(window_thread(replier), WM_QUIT);
    thread.join();
    destroy_window(reply_target);
}

TEST(MessageQueue, SendToAThreadThatEndsWithoutAnsweringReturnsZero)
{
    Watchdog watchdog;
    liba::Event ready;
    WindowHandle window;
    std::thread thread([&] {
        window = Recorder::create();
        ready.set();
        // Ends a little later, so that the send most likely waits for it;
        // sent before or after the end, it answers 0 alike.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    });
    ready.wait();
    EXPECT_EQ(send_message(window, WM_USER, 1, 1), 0);
    thread.join();
}

TEST(MessageQueue, BlockingGetWakesForAPostFromAnotherThread)
{
    Watchdog watchdog;
    WindowHandle window = Recorder::create();
    std::thread poster([&] {
        // Posts a little later, so that the get most likely sleeps first; a
        // post that comes first is taken alike.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        post_message(window, WM_USER + 3);
    });
    Message message;
    ASSERT_EQ(get_message(message), GetResult::Message);
    EXPECT_EQ(message.message, WM_USER + 3u);
    poster.join();
    destroy_window(window);
}

TEST(MessageQueue, DestroyingAWindowDropsItsMessagesAndTimersAndItsChildren)
{
    WindowHandle keep = Recorder::create();
    WindowHandle window = Recorder::create();
    WindowHandle child = Recorder::create(window, WS_CHILD);
    WindowHandle owned = Recorder::create(window);
    post_message(window, WM_USER);
    post_message(keep, WM_USER + 1);
    post_message(child, WM_USER + 2);
    ASSERT_TRUE(set_timer(window, 3, 1));
    Recorder::instance().take();

    EXPECT_TRUE(destroy_window(window));
    EXPECT_FALSE(destroy_window(window));
    auto destroyed = Recorder::instance().take();
    ASSERT_EQ(destroyed.size(), 3u);
    EXPECT_EQ(destroyed[0].window, window); // the window first, then what depends on it
    for (const auto& received : destroyed)
        EXPECT_EQ(received.message, WM_DESTROY);
    EXPECT_FALSE(is_window(child));
    EXPECT_FALSE(is_window(owned));
    EXPECT_FALSE(timer_interval(window, 3));

    // Time for the 1 ms timer to fall due, had it outlived its window.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(drain(), (std::vector<std::uint32_t> { WM_USER + 1 }));
    destroy_window(keep);
}

namespace {

class FakePump : public InputPump {
public:
    void pump() override
    {
        if (pending_input) {
            pending_input = false;
            post_message(target, WM_LBUTTONDOWN, 0, make_lparam(3, 4));
        }
    }
    void wait(std::optional<std::uint32_t> timeout) override
    {
        ++waits;
        last_timeout = timeout;
        // Input arrives while the queue sleeps.
        pending_input = true;
    }
    void wake() override { ++wakes; }

    WindowHandle target;
    bool pending_input { false };
    int waits { 0 };
    int wakes { 0 };
    std::optional<std::uint32_t> last_timeout;
};

} // namespace

TEST(MessageQueue, InputPumpDeliversDisplayInputAndSleepsForTheQueue)
{
    test_support::FakeClock clock(1000);
    FakePump pump;
    pump.target = Recorder::create();
    set_timer(pump.target, 1, 250);
    set_input_pump(&pump);

    Message message;
    ASSERT_EQ(get_message(message), GetResult::Message);
    EXPECT_EQ(message.message, WM_LBUTTONDOWN);
    EXPECT_EQ(low_word(message.lparam), 3);
    EXPECT_EQ(high_word(message.lparam), 4);
    EXPECT_EQ(pump.waits, 1);
    EXPECT_EQ(pump.last_timeout, 250u); // the sleep ends at the next timer
    EXPECT_GE(pump.wakes, 1); // the pump's own post woke the queue

    set_input_pump(nullptr);
    destroy_window(pump.target);
}
