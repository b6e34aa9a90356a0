#include "skinner/Capabilities.h"

#include "platform/Convert.h"

#include <cstdlib>

namespace skinner {

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
