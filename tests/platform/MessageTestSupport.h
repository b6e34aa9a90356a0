#pragma once

#include "platform/MessageQueue.h"
#include "platform/Tick.h"
#include "platform/Window.h"
#include "tests/support/Watchdog.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

namespace test_support {

// A tick count that only moves when the test moves it.
class FakeClock {
public:
    explicit FakeClock(std::uint32_t start)
    {
        now().store(start);
        previous_ = platform::set_tick_source(&ticks);
    }
    ~FakeClock() { platform::set_tick_source(previous_); }

    void advance(std::uint32_t milliseconds) { now().fetch_add(milliseconds); }
    std::uint32_t current() const { return now().load(); }

private:
    static std::atomic<std::uint32_t>& now()
    {
        static std::atomic<std::uint32_t> value { 0 };
        return value;
    }
    static std::uint32_t ticks() { return now().load(); }

    platform::TickSource previous_;
};

// A message as a window procedure received it, with the thread it ran on.
struct Received {
    platform::WindowHandle window;
    std::uint32_t message;
    platform::Wparam wparam;
    platform::Lparam lparam;
    platform::ThreadId thread;
};

// Windows of the class "TestWindow" record every message they receive and
// answer wparam + lparam.
class Recorder {
public:
    static Recorder& instance()
    {
        static Recorder recorder;
        return recorder;
    }

    static platform::WindowHandle create(
        platform::WindowHandle parent = {}, std::uint32_t style = platform::WS_POPUP)
    {
        register_class();
        platform::WindowCreate create;
        create.class_name = u"TestWindow";
        create.style = style;
        create.parent = parent;
        return platform::create_window(create);
    }

    static void register_class()
    {
        platform::register_window_class({ u"TestWindow", 0, &procedure });
    }

    std::vector<Received> take()
    {
        std::lock_guard lock(mutex_);
        return std::exchange(received_, {});
    }

    std::vector<std::uint32_t> take_numbers(std::uint32_t first, std::uint32_t last)
    {
        std::vector<std::uint32_t> numbers;
        for (const Received& received : take()) {
            if (received.message >= first && received.message <= last)
                numbers.push_back(received.message);
        }
        return numbers;
    }

private:
    static platform::Lresult procedure(platform::WindowHandle window, std::uint32_t message,
        platform::Wparam wparam, platform::Lparam lparam)
    {
        {
            std::lock_guard lock(instance().mutex_);
            instance().received_.push_back(
                { window, message, wparam, lparam, platform::current_thread_id() });
        }
        if (message == platform::WM_CREATE || message == platform::WM_CLOSE)
            return platform::default_window_procedure(window, message, wparam, lparam);
        return static_cast<platform::Lresult>(wparam) + lparam;
    }

    std::mutex mutex_;
    std::vector<Received> received_;
};

} // namespace test_support
