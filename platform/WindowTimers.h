#pragma once

#include "platform/Message.h"

#include <cstdint>
#include <optional>

namespace platform {

// Starts timer `id` of a window of the calling thread, or restarts it with a
// new interval. Every `milliseconds` (at least 1) the window's thread gets a
// WM_TIMER message with the id in wparam, generated when its queue holds no
// posted message for the filter; an expiry that waits is never doubled. False
// for a window of another thread or no window.
bool set_timer(WindowHandle window, Wparam id, std::uint32_t milliseconds);
// False when the window has no timer of that id.
bool kill_timer(WindowHandle window, Wparam id);
// The interval of a running timer.
std::optional<std::uint32_t> timer_interval(WindowHandle window, Wparam id);

} // namespace platform
