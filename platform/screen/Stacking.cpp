#include "platform/screen/Stacking.h"

#include <algorithm>
#include <functional>

namespace platform::detail {

std::vector<WindowHandle> stacking_order(
    const std::vector<StackedWindow>& windows, WindowHandle active)
{
    std::vector<StackedWindow> sorted = windows;
    std::stable_sort(sorted.begin(), sorted.end(),
        [](const StackedWindow& a, const StackedWindow& b) { return a.raised < b.raised; });
    auto listed = [&](WindowHandle window) {
        return window && std::any_of(sorted.begin(), sorted.end(), [&](const StackedWindow& entry) {
            return entry.window == window;
        });
    };
    auto owner_of = [&](WindowHandle window) {
        for (const StackedWindow& entry : sorted) {
            if (entry.window == window)
                return listed(entry.owner) ? entry.owner : WindowHandle {};
        }
        return WindowHandle {};
    };
    // Whether `window` or something it owns, however deep, is the active one.
    std::function<bool(WindowHandle)> holds_active = [&](WindowHandle window) {
        for (WindowHandle at = active; at; at = owner_of(at)) {
            if (at == window)
                return true;
        }
        return false;
    };

    std::vector<WindowHandle> order;
    std::function<void(WindowHandle)> emit_family = [&](WindowHandle owner) {
        std::vector<WindowHandle> members;
        for (const StackedWindow& entry : sorted) {
            if (owner_of(entry.window) == owner && entry.window != owner)
                members.push_back(entry.window);
        }
        // The branch that holds the active window goes last, on top.
        std::stable_partition(members.begin(), members.end(),
            [&](WindowHandle member) { return !holds_active(member); });
        for (WindowHandle member : members) {
            order.push_back(member);
            emit_family(member);
        }
    };
    emit_family({});
    return order;
}

} // namespace platform::detail
