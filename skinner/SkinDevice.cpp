#include "skinner/SkinDevice.h"

#include "liba/Convert.h"

#include <cstdlib>

namespace skinner {

SkinDevice SkinDevice::current()
{
    SkinDevice device;
    const char* type = std::getenv("RINGWISE_PLATFORM");
    device.smartphone = type && liba::to_lower(liba::from_utf8(type)) == u"smartphone";
    return device;
}

} // namespace skinner
