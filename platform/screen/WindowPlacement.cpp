#include "platform/screen/WindowPlacement.h"

#include <algorithm>
#include <cstdio>

namespace platform::detail {

std::optional<Size> parse_screen_size(const char* text)
{
    int width = 0;
    int height = 0;
    char rest = 0;
    if (!text || std::sscanf(text, "%dx%d%c", &width, &height, &rest) != 2 || width <= 0
        || height <= 0 || width > 8192 || height > 8192)
        return std::nullopt;
    return Size { width, height };
}

WindowPlacement place_window(std::optional<Size> forced, std::optional<Size> display)
{
    if (forced)
        return { *forced, false, false };
    bool known = display && display->width > 0 && display->height > 0;
    if (known && display->width <= PHONE_DISPLAY_WIDTH)
        return { *display, true, true };
    Size size = DESKTOP_WINDOW;
    if (known) {
        // A small desktop display still shows the whole window.
        size.width = std::min(size.width, display->width);
        size.height = std::min(size.height, display->height);
    }
    return { size, false, true };
}

Point window_to_screen(Point point, Size window, Size drawable)
{
    if (window.width <= 0 || window.height <= 0 || window == drawable)
        return point;
    auto scale = [](int value, int from, int to) {
        return static_cast<int>(static_cast<long long>(value) * to / from);
    };
    return { scale(point.x, window.width, drawable.width),
        scale(point.y, window.height, drawable.height) };
}

} // namespace platform::detail
