#include "platform/WindowTimers.h"

#include "platform/Tick.h"
#include "platform/WindowSystem.h"

#include <algorithm>

namespace platform {

using namespace detail;

bool set_timer(WindowHandle window, Wparam id, std::uint32_t milliseconds)
{
    std::lock_guard lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    if (!record || record->queue != own_queue_locked())
        return false;
    // An interval of 0 would make every look at the queue find a timer
    // message, and a waiting thread would never sleep.
    milliseconds = std::max<std::uint32_t>(milliseconds, 1);
    std::uint32_t due = platform::tick_count() + milliseconds;
    std::vector<WindowTimer>& timers = record->queue->timers;
    auto found = std::find_if(timers.begin(), timers.end(),
        [&](const WindowTimer& timer) { return timer.window == window && timer.id == id; });
    if (found != timers.end()) {
        found->interval = milliseconds;
        found->due = due;
    } else {
        timers.push_back(WindowTimer { window, id, milliseconds, due });
    }
    return true;
}

bool kill_timer(WindowHandle window, Wparam id)
{
    std::lock_guard lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    if (!record)
        return false;
    return std::erase_if(record->queue->timers, [&](const WindowTimer& timer) {
        return timer.window == window && timer.id == id;
    }) != 0;
}

std::optional<std::uint32_t> timer_interval(WindowHandle window, Wparam id)
{
    std::lock_guard lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    if (!record)
        return std::nullopt;
    for (const WindowTimer& timer : record->queue->timers) {
        if (timer.window == window && timer.id == id)
            return timer.interval;
    }
    return std::nullopt;
}

} // namespace platform
