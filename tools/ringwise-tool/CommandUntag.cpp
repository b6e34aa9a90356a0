#include "app/Document.h"
#include "platform/Convert.h"
#include "tools/ringwise-tool/ToolFields.h"

#include <algorithm>
#include <cstdio>

namespace tool {

// Deletes the voice tag of the command of contact ID and number PHONE, as
// the settings screen's "Delete" does.
int run_untag(const std::vector<std::string>& arguments)
{
    int id = 0;
    if (arguments.size() != 2 || !parse_id(arguments[0], id)) {
        std::fputs("usage: ringwise-tool untag ID PHONE\n", stderr);
        return 2;
    }
    std::u16string phone = platform::from_utf8(arguments[1]);
    Document document;
    document.sync_contacts();
    document.load_commands();
    document.sort_commands();
    auto found = std::find_if(document.commands().begin(), document.commands().end(),
        [&](const Command& c) { return c.id == id && c.phone == phone && c.has_tag(); });
    if (found == document.commands().end()) {
        std::fprintf(stderr, "ringwise-tool: no voice tag for contact %d with number '%s'\n", id,
            arguments[1].c_str());
        return 1;
    }
    if (!document.delete_tag(*found)) {
        std::fputs(
            "ringwise-tool: the list of voice tags could not be saved; the tag is kept\n", stderr);
        return 1;
    }
    return 0;
}

} // namespace tool
