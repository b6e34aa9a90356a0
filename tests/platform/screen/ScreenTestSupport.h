#pragma once

#include "platform/MessageQueue.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "platform/screen/ScreenInput.h"
#include "tests/support/Watchdog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <vector>

namespace test_support {

// The screen under test is always the headless one of the default size.
inline const bool headless_screen = [] {
    setenv("RINGWISE_HEADLESS", "1", 1);
    unsetenv("RINGWISE_SCREEN");
    unsetenv("RINGWISE_PLATFORM");
    unsetenv("RINGWISE_SCRIPT");
    return true;
}();

struct Seen {
    platform::WindowHandle window;
    std::uint32_t message;
    platform::Wparam wparam;
    platform::Lparam lparam;
};

// Windows that fill their client area with their own colour when painted,
// record every message, and may be given a handler of their own. Classes:
// "Plain" and "Clicks" (CS_DBLCLKS).
class ScreenWindows {
public:
    using Handler = std::function<void(const Seen&)>;

    static ScreenWindows& instance()
    {
        static ScreenWindows windows;
        return windows;
    }

    platform::WindowHandle create(platform::Rect rect, platform::Color color,
        std::uint32_t style = platform::WS_POPUP | platform::WS_VISIBLE,
        platform::WindowHandle parent = {}, const std::u16string& title = u"Window",
        const std::u16string& class_name = u"Plain")
    {
        platform::register_window_class({ u"Plain", 0, &procedure });
        platform::register_window_class({ u"Clicks", platform::CS_DBLCLKS, &procedure });
        platform::WindowCreate create;
        create.class_name = class_name;
        create.title = title;
        create.style = style;
        create.parent = parent;
        create.x = rect.left;
        create.y = rect.top;
        create.width = rect.width();
        create.height = rect.height();
        colors_[next_color_key(create)] = color;
        platform::WindowHandle window = platform::create_window(create);
        created_.push_back(window);
        return window;
    }

    void on(platform::WindowHandle window, Handler handler) { handlers_[window.value] = handler; }

    std::vector<Seen> take() { return std::exchange(seen_, {}); }
    // The numbers of the messages in [first, last], in order.
    std::vector<std::uint32_t> take_numbers(std::uint32_t first, std::uint32_t last)
    {
        std::vector<std::uint32_t> numbers;
        for (const Seen& seen : take()) {
            if (seen.message >= first && seen.message <= last)
                numbers.push_back(seen.message);
        }
        return numbers;
    }
    std::vector<Seen> take_of(std::uint32_t number)
    {
        std::vector<Seen> found;
        for (const Seen& seen : take()) {
            if (seen.message == number)
                found.push_back(seen);
        }
        return found;
    }

    void destroy_all()
    {
        for (auto it = created_.rbegin(); it != created_.rend(); ++it)
            platform::destroy_window(*it);
        created_.clear();
        handlers_.clear();
        seen_.clear();
    }

private:
    // The colour travels to WM_CREATE through the creation's param.
    std::uintptr_t next_color_key(platform::WindowCreate& create)
    {
        create.param = reinterpret_cast<void*>(++color_key_);
        return color_key_;
    }

    static platform::Lresult procedure(platform::WindowHandle window, std::uint32_t message,
        platform::Wparam wparam, platform::Lparam lparam)
    {
        ScreenWindows& self = instance();
        if (message == platform::WM_CREATE) {
            auto* create = reinterpret_cast<const platform::WindowCreate*>(lparam);
            auto key = reinterpret_cast<std::uintptr_t>(create->param);
            self.window_colors_[window.value] = self.colors_[key];
        }
        Seen seen { window, message, wparam, lparam };
        self.seen_.push_back(seen);
        if (message == platform::WM_PAINT) {
            platform::PaintSession paint(window);
            paint.canvas().fill_rect(paint.invalid(), self.window_colors_[window.value]);
        }
        auto handler = self.handlers_.find(window.value);
        if (handler != self.handlers_.end())
            handler->second(seen);
        if (message == platform::WM_CLOSE)
            return platform::default_window_procedure(window, message, wparam, lparam);
        return 0;
    }

    std::map<std::uintptr_t, platform::Color> colors_;
    std::map<std::uint32_t, platform::Color> window_colors_;
    std::uintptr_t color_key_ { 0 };
    std::map<std::uint32_t, Handler> handlers_;
    std::vector<Seen> seen_;
    std::vector<platform::WindowHandle> created_;
};

// Handles every message that is ready, then returns.
inline void run_pending()
{
    platform::Message message;
    while (platform::peek_message(message))
        platform::dispatch_message(message);
}

// A test on the headless screen: the windows it made are destroyed and the
// screen's modes restored afterwards.
class ScreenTest : public ::testing::Test {
protected:
    ScreenTest() { EXPECT_TRUE(headless_screen); }

    void TearDown() override
    {
        run_pending();
        ScreenWindows::instance().destroy_all();
        platform::set_fullscreen(false);
        platform::release_capture();
        platform::resize_screen({ 480, 640 });
        run_pending();
    }

    ScreenWindows& windows() { return ScreenWindows::instance(); }
    Watchdog watchdog_;
};

} // namespace test_support
