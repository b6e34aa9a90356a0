#include "platform/Convert.h"
#include "platform/Screen.h"

#include <cstdlib>

// The device's fixed measures, apart from the screen itself, so that code
// without a display (the skin framework) shares the one rule.
namespace platform {

int system_bar_height(int screen_width, bool smartphone)
{
    if (!smartphone)
        return screen_width == 480 || screen_width == 640 ? 52 : 26;
    switch (screen_width) {
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
