#include "os/Capabilities.h"

#include "os/Log.h"
#include "platform/Convert.h"
#include "platform/Screen.h"

#include <cstdlib>

namespace os {

bool is_smartphone()
{
    static const bool answer = [] {
        const char* type = std::getenv("RINGWISE_PLATFORM");
        bool smartphone = platform::is_smartphone();
        log() << u"static_capability_is_smartphone=" << (smartphone ? 1 : 0) << u" "
              << platform::from_utf8(type && *type ? type : "PocketPC") << u"\n";
        return smartphone;
    }();
    return answer;
}

} // namespace os
