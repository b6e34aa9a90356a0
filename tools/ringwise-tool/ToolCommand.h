#pragma once

#include <string>
#include <vector>

namespace tool {

// One subcommand of ringwise-tool. `run` gets the arguments after the
// subcommand's name and returns the process exit status: 0 success,
// 1 a negative answer or a failed action, 2 bad usage or unusable input.
struct ToolCommand {
    const char* name;
    const char* usage;
    const char* help;
    int (*run)(const std::vector<std::string>& arguments);
};

// Every subcommand, in the order --help lists them.
const std::vector<ToolCommand>& tool_commands();

} // namespace tool
