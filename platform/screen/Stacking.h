#pragma once

#include "platform/Message.h"

#include <cstdint>
#include <vector>

namespace platform::detail {

// A top-level window as the z-order sees it: `raised` grows each time the
// window is brought to the top.
struct StackedWindow {
    WindowHandle window;
    WindowHandle owner;
    std::uint64_t raised { 0 };
};

// The windows bottom to top: every owned window above its owner, and the
// active window's family (its owner chain's root and everything it owns)
// above the other families; otherwise the later raised above the earlier.
std::vector<WindowHandle> stacking_order(
    const std::vector<StackedWindow>& windows, WindowHandle active);

} // namespace platform::detail
