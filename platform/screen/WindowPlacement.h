#pragma once

#include "platform/graphics/Geometry.h"

#include <optional>

namespace platform::detail {

// A display at most this many logical pixels wide is a phone's: the window
// fills it.
inline constexpr int PHONE_DISPLAY_WIDTH = 720;
// The window's size on a desktop, in logical pixels.
inline constexpr Size DESKTOP_WINDOW { 480, 640 };

// How the SDL window opens. The device screen is then the window's drawable
// size in pixels, which on a high-density display is larger than `size`.
struct WindowPlacement {
    // In logical pixels.
    Size size;
    bool full_screen { false };
    // Whether the window may have more pixels than logical pixels. A forced
    // size is a size in pixels, so it opens without.
    bool high_density { true };

    bool operator==(const WindowPlacement&) const = default;
};

// RINGWISE_SCREEN's "WxH" (1 to 8192 each), nothing when unset or malformed.
std::optional<Size> parse_screen_size(const char* text);

// `forced` is RINGWISE_SCREEN; `display` the display's usable size in
// logical pixels, nothing when SDL cannot tell.
WindowPlacement place_window(std::optional<Size> forced, std::optional<Size> display);

// A point in the window's logical coordinates as a point on the device
// screen, which has `drawable` pixels for the window's `window`.
Point window_to_screen(Point point, Size window, Size drawable);

} // namespace platform::detail
