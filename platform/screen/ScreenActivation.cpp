#include "platform/MessageQueue.h"
#include "platform/Window.h"
#include "platform/screen/DeviceScreen.h"

// Activation, focus and capture: which window the user works in, which one
// takes keys and which one takes the pointer.
namespace platform::detail {

WindowHandle DeviceScreen::activate(WindowHandle window, Wparam how)
{
    if (window) {
        window = top_level_of(window);
        if (!surfaces_.contains(window.value))
            return active_;
    }
    WindowHandle old = active_;
    if (window == old)
        return old;
    active_ = window;
    dirty_ = true;
    if (old && is_window(old))
        send_message(old, WM_ACTIVATE, WA_INACTIVE, static_cast<Lparam>(window.value));
    if (!window) {
        focus({});
        return old;
    }
    send_message(window, WM_ACTIVATE, how, static_cast<Lparam>(old.value));
    // The window may have given the focus to one of its children itself.
    if (active_ == window && top_level_of(focus_) != window)
        focus(window);
    return old;
}

void DeviceScreen::activate_next(WindowHandle leaving)
{
    auto candidate = [&](WindowHandle window) {
        if (!window || window == leaving || !surfaces_.contains(window.value))
            return false;
        std::lock_guard lock(window_system().mutex);
        WindowRecord* record = find_window_locked(window);
        return record && record->visible && !record->destroying;
    };
    WindowHandle next = window_owner(leaving);
    if (!candidate(next)) {
        next = {};
        std::vector<WindowHandle> order = stacking();
        for (auto it = order.rbegin(); it != order.rend(); ++it) {
            if (candidate(*it)) {
                next = *it;
                break;
            }
        }
    }
    activate(next, WA_ACTIVE);
}

WindowHandle DeviceScreen::focus(WindowHandle window)
{
    WindowHandle old = focus_;
    if (window && !is_window(window))
        return old;
    if (window) {
        WindowHandle top = top_level_of(window);
        if (top != active_ && surfaces_.contains(top.value))
            activate(top, WA_ACTIVE);
    }
    WindowHandle before = focus_;
    if (window == before)
        return old;
    focus_ = window;
    if (before && is_window(before))
        send_message(before, WM_KILLFOCUS, window.value, 0);
    if (window)
        send_message(window, WM_SETFOCUS, before.value, 0);
    return old;
}

WindowHandle DeviceScreen::capture(WindowHandle window)
{
    if (window && !is_window(window))
        return capture_;
    WindowHandle old = capture_;
    if (window == old)
        return old;
    capture_ = window;
    if (old && is_window(old))
        send_message(old, WM_CAPTURECHANGED, 0, static_cast<Lparam>(window.value));
    return old;
}

} // namespace platform::detail

namespace platform {

using detail::DeviceScreen;

WindowHandle set_active_window(WindowHandle window)
{
    return DeviceScreen::instance().activate(window, WA_ACTIVE);
}

WindowHandle active_window()
{
    return DeviceScreen::instance().active();
}

bool set_foreground_window(WindowHandle window)
{
    DeviceScreen& screen = DeviceScreen::instance();
    if (!screen.raise(detail::top_level_of(window)))
        return false;
    screen.activate(window, WA_ACTIVE);
    return true;
}

WindowHandle set_focus(WindowHandle window)
{
    return DeviceScreen::instance().focus(window);
}

WindowHandle focus_window()
{
    return DeviceScreen::instance().focused();
}

WindowHandle set_capture(WindowHandle window)
{
    return DeviceScreen::instance().capture(window);
}

bool release_capture()
{
    DeviceScreen::instance().capture({});
    return true;
}

WindowHandle capture_window()
{
    return DeviceScreen::instance().captured();
}

void set_cursor(SystemCursor cursor)
{
    DeviceScreen::instance().set_cursor(cursor);
}

SystemCursor current_cursor()
{
    return DeviceScreen::instance().cursor();
}

} // namespace platform
