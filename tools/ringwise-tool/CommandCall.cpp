#include "os/ContactManager.h"
#include "platform/Convert.h"

#include <cstdio>

namespace tool {

// Places a call through the phone library, as a recognition does.
int run_call(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 1) {
        std::fputs("usage: ringwise-tool call NUMBER\n", stderr);
        return 2;
    }
    os::ContactManager manager;
    if (!manager.make_call(platform::from_utf8(arguments[0]))) {
        std::fprintf(stderr, "ringwise-tool: the call to %s failed\n", arguments[0].c_str());
        return 1;
    }
    return 0;
}

} // namespace tool
