#include "platform/Convert.h"
#include "platform/Screen.h"

#include <algorithm>
#include <cstdlib>

// The device's fixed measures, apart from the screen itself, so that code
// without a display (the skin framework) shares the one rule.
namespace platform {

int system_bar_height(Size screen, bool smartphone)
{
    if (!smartphone) {
        constexpr int BAR = 26;
        constexpr int PER = 240;
        int shorter = std::min(screen.width, screen.height);
        return std::max(BAR, BAR * shorter / PER);
    }
    switch (screen.width) {
    case 176:
        return 20;
    case 240:
        return 27;
    case 352:
        return 40;
    case 480:
        return 54;
    default:
        return 0;
    }
}

bool is_smartphone()
{
    const char* type = std::getenv("RINGWISE_PLATFORM");
    return type && to_lower(from_utf8(type)) == u"smartphone";
}

} // namespace platform
