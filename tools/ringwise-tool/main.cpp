#include "tools/ringwise-tool/ToolCommand.h"

#include <cstdio>
#include <cstring>

namespace {

void print_help(FILE* out)
{
    std::fputs("usage: ringwise-tool COMMAND [ARGUMENTS]\n\n"
               "Works with voice tags, recordings and skins the way Ringwise does.\n\n"
               "Commands:\n",
        out);
    for (auto& command : tool::tool_commands())
        std::fprintf(out, "  %s\n      %s\n", command.usage, command.help);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        print_help(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    for (auto& command : tool::tool_commands()) {
        if (std::strcmp(argv[1], command.name) == 0)
            return command.run(std::vector<std::string>(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "ringwise-tool: unknown command '%s' (see --help)\n", argv[1]);
    return 2;
}
