#include "skinner/SkinDevice.h"

#include "platform/Screen.h"

#include <algorithm>

namespace skinner {

SkinDevice SkinDevice::current()
{
    SkinDevice device;
    device.smartphone = platform::is_smartphone();
    return device;
}

bool SkinDevice::suits(const std::u16string& devices) const
{
    return devices.empty() || devices.find(smartphone ? u'S' : u'P') != std::u16string::npos;
}

Point SkinDevice::workarea(Point screen) const
{
    int bar = fullscreen ? 0 : platform::system_bar_height({ screen.x, screen.y }, smartphone);
    // A screen lower than its two bars leaves no work area rather than a
    // negative one.
    return { screen.x, std::max(0, screen.y - 2 * bar) };
}

} // namespace skinner
