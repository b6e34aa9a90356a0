#include "skinner/Capabilities.h"

#include "os/Log.h"
#include "platform/Convert.h"
#include "platform/Screen.h"

#include <cstdlib>

namespace skinner {

bool is_smartphone()
{
    static const bool answer = [] {
        const char* type = std::getenv("RINGWISE_PLATFORM");
        bool smartphone = platform::is_smartphone();
        os::log() << u"static_capability_is_smartphone=" << (smartphone ? 1 : 0) << u" "
                  << platform::from_utf8(type && *type ? type : "PocketPC") << u"\n";
        return smartphone;
    }();
    return answer;
}

bool has_soft_key_menus()
{
    static const bool answer = [] {
        int major = 5;
        if (const char* text = std::getenv("RINGWISE_OS_MAJOR"); text && *text)
            platform::text_to_int(text, major);
        return is_smartphone() || major > 4;
    }();
    return answer;
}

} // namespace skinner
