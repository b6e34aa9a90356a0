// The Contacts add-in's export: starts the main program's settings mode
// from the package's folder, with the first selected contact's object id,
// or with "s" when nothing is selected.

#include "os/Execute.h"
#include "os/Package.h"
#include "os/Registry.h"
#include "platform/ContactsAddIn.h"
#include "platform/Convert.h"
#include "platform/InstallerHook.h"

#include <cstdio>
#include <type_traits>

extern "C" __attribute__((visibility("default"))) std::int32_t CePimCommand(void* /*window*/,
    std::uint32_t /*command*/, std::uint32_t item_count, const std::int32_t* item_ids)
{
    // Without a recorded folder the program is looked for in the root
    // folder, and the start fails there silently.
    std::u16string directory;
    os::read_registry_string(os::package_key(), platform::INSTALL_DIR_VALUE, directory);
    std::u16string program = directory + u'\\' + os::MAIN_PROGRAM;

    std::u16string arguments;
    if (item_count != 0 && item_ids) {
        char id[16];
        std::snprintf(id, sizeof id, "%d", static_cast<int>(item_ids[0]));
        arguments = platform::from_utf8(id);
    }
    if (arguments.empty())
        arguments = u"s";

    os::execute_file(program, arguments);
    return 0;
}

static_assert(std::is_same_v<decltype(&CePimCommand), platform::CePimCommandFunction>);
