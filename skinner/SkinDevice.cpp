#include "skinner/SkinDevice.h"

#include "platform/Convert.h"

#include <algorithm>
#include <cstdlib>

namespace skinner {

SkinDevice SkinDevice::current()
{
    SkinDevice device;
    const char* type = std::getenv("RINGWISE_PLATFORM");
    device.smartphone = type && platform::to_lower(platform::from_utf8(type)) == u"smartphone";
    return device;
}

bool SkinDevice::suits(const std::u16string& devices) const
{
    return devices.empty() || devices.find(smartphone ? u'S' : u'P') != std::u16string::npos;
}

Point SkinDevice::workarea(Point screen) const
{
    int bar = 0;
    if (smartphone) {
        switch (screen.x) {
        case 176:
            bar = 20;
            break;
        case 240:
            bar = 27;
            break;
        case 352:
            bar = 40;
            break;
        case 480:
            bar = 54;
            break;
        default:
            bar = 0;
            break;
        }
    } else {
        bar = screen.x == 480 || screen.x == 640 ? 52 : 26;
    }
    if (fullscreen)
        bar = 0;
    // A screen lower than its two bars leaves no work area rather than a
    // negative one.
    return { screen.x, std::max(0, screen.y - 2 * bar) };
}

} // namespace skinner
