#include "tools/ringwise-tool/ToolCommand.h"

namespace tool {

// Each subcommand lives in its own file and adds one line here.
int run_skin(const std::vector<std::string>& arguments);

const std::vector<ToolCommand>& tool_commands()
{
    static const std::vector<ToolCommand> commands = {
        { "skin", "skin FILE.skin [--screen WxH] [--platform PocketPC|Smartphone] [--tag TAG] [--kind KIND]",
            "loads a skin as the program would and prints its header, scale, work area and variant choice", run_skin },
    };
    return commands;
}

} // namespace tool
