#include "platform/MessageQueue.h"
#include "platform/Tick.h"
#include "platform/screen/DeviceScreen.h"

#include <cstdlib>

namespace platform {

using namespace detail;

namespace {

constexpr std::uint32_t HOLD_MILLISECONDS = 500;
// How far the pointer may wander while held.
constexpr int HOLD_DISTANCE = 5;

bool is_pointer_message(std::uint32_t message)
{
    return message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK;
}

bool lies_within(WindowHandle window, WindowHandle ancestor)
{
    std::lock_guard lock(window_system().mutex);
    return is_within_locked(window, ancestor);
}

} // namespace

bool recognize_tap_and_hold(WindowHandle window, Point point)
{
    DeviceScreen& screen = DeviceScreen::instance();
    if (!screen.on_ui_thread() || !is_window(window))
        return false;
    std::uint32_t deadline = tick_count() + HOLD_MILLISECONDS;
    Point origin = screen_origin_of(window);
    MessageFilter pointer_messages { window, WM_MOUSEMOVE, WM_MBUTTONDBLCLK };
    for (;;) {
        Message message;
        // The window's own pointer messages decide; a release or a move too
        // far stays queued for the window to handle as usual.
        while (peek_message(message, pointer_messages, Peek::Keep)) {
            if (message.message != WM_MOUSEMOVE)
                return false;
            int x = origin.x + low_word(message.lparam);
            int y = origin.y + high_word(message.lparam);
            if (std::abs(x - point.x) > HOLD_DISTANCE || std::abs(y - point.y) > HOLD_DISTANCE)
                return false;
            peek_message(message, pointer_messages, Peek::Remove);
        }
        auto remaining = static_cast<std::int32_t>(deadline - tick_count());
        if (remaining <= 0) {
            screen.swallow_left_release();
            return true;
        }
        // Everything else is handled meanwhile.
        if (peek_message(message, {}, Peek::Keep)) {
            // Pointer input for another window ends the hold; the window's
            // own arrived just now and is looked at above.
            if (message.window && is_pointer_message(message.message)) {
                if (lies_within(message.window, window))
                    continue;
                return false;
            }
            peek_message(message, {}, Peek::Remove);
            if (message.message == WM_QUIT) {
                post_quit_message(static_cast<int>(message.wparam));
                return false;
            }
            dispatch_message(message);
            continue;
        }
        screen.wait(static_cast<std::uint32_t>(remaining));
    }
}

} // namespace platform
