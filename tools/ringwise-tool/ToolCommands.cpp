#include "tools/ringwise-tool/ToolCommand.h"

namespace tool {

// Each subcommand lives in its own file and adds one line here.

const std::vector<ToolCommand>& tool_commands()
{
    static const std::vector<ToolCommand> commands = {
    };
    return commands;
}

} // namespace tool
