#include "app/Document.h"
#include "platform/Convert.h"
#include "tools/ringwise-tool/ToolFields.h"

#include <cstdio>

namespace tool {

// Lists the commands as the settings screen shows them after a refresh:
// the contacts merged with the stored tags, tagged ones first.
int run_commands(const std::vector<std::string>& arguments)
{
    if (!arguments.empty()) {
        std::fputs("usage: ringwise-tool commands\n", stderr);
        return 2;
    }
    Document document;
    document.sync_contacts();
    document.load_commands();
    document.sort_commands();
    for (const Command& command : document.commands()) {
        print_fields({ platform::from_utf8(platform::to_text(command.id)), command.name, command.full_name,
            command.phone, command.phone_type, command.voice });
    }
    return 0;
}

} // namespace tool
