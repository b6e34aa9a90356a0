// ringwise-pim: plays the Contacts application's menu-extension host, so
// that registered add-ins (libRingwiseAssign.so) run as they would on the
// device. It writes nothing to the diagnostic log itself: the add-ins log
// to the same file.

#include "os/Path.h"
#include "os/Registry.h"
#include "platform/ContactsAddIn.h"
#include "platform/Convert.h"
#include "platform/SharedLibrary.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr const char* USAGE
    = "usage: ringwise-pim addins\n"
      "       ringwise-pim assign [CONTACT_ID ...]\n"
      "\n"
      "Plays the Contacts application's menu extensions. addins lists every add-in\n"
      "registered under 'HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\PimApps\\PimExtensions\\\n"
      "Contacts\\AddIns' as KEY, Menu and Dll, separated by tabs. assign picks the menu\n"
      "entry of every add-in that has one, with the given contacts selected (ids as\n"
      "`ringwise-tool contacts` lists them; none selects nothing): it loads the add-in's\n"
      "library and calls its CePimCommand. ringwise-install registers Ringwise's add-in.\n"
      "Exit status: 0 done, 1 an add-in missing, broken or failing, 2 bad usage.\n";

int usage_error(const char* message)
{
    std::fprintf(stderr, "ringwise-pim: %s\n%s", message, USAGE);
    return 2;
}

struct AddIn {
    std::u16string name;
    std::u16string menu;
    std::u16string dll;
};

std::vector<AddIn> registered_add_ins()
{
    std::vector<AddIn> add_ins;
    for (auto& name : os::enumerate_registry_subkeys(platform::CONTACTS_ADD_INS_KEY)) {
        AddIn add_in { name, {}, {} };
        std::u16string key = std::u16string(platform::CONTACTS_ADD_INS_KEY) + u'\\' + name;
        os::read_registry_string(key, platform::ADD_IN_MENU_VALUE, add_in.menu);
        os::read_registry_string(key, platform::ADD_IN_DLL_VALUE, add_in.dll);
        add_ins.push_back(std::move(add_in));
    }
    return add_ins;
}

int list(const std::vector<std::string>& arguments)
{
    if (!arguments.empty())
        return usage_error("addins takes no arguments");
    for (auto& add_in : registered_add_ins())
        std::printf("%s\t%s\t%s\n", platform::to_utf8(add_in.name).c_str(),
            platform::to_utf8(add_in.menu).c_str(), platform::to_utf8(add_in.dll).c_str());
    return 0;
}

bool parse_id(const std::string& text, std::int32_t& id)
{
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0' || value < INT32_MIN || value > INT32_MAX)
        return false;
    id = static_cast<std::int32_t>(value);
    return true;
}

// Loads the add-in and calls it; false, with the reason on standard error,
// when it is missing, lacks the entry point or reports a failure.
bool call(const AddIn& add_in, const std::vector<std::int32_t>& ids)
{
    std::string name = platform::to_utf8(add_in.name);
    if (add_in.dll.empty()) {
        std::fprintf(stderr, "ringwise-pim: %s: no library registered\n", name.c_str());
        return false;
    }
    platform::SharedLibrary library(os::native_path(os::expand_path(add_in.dll)));
    if (!library.is_loaded()) {
        std::fprintf(stderr, "ringwise-pim: %s: can't load %s: %s\n", name.c_str(),
            library.file().c_str(), library.error().c_str());
        return false;
    }
    auto command
        = library.function<platform::CePimCommandFunction>(platform::CE_PIM_COMMAND_SYMBOL);
    if (!command) {
        std::fprintf(stderr, "ringwise-pim: %s: %s has no %s\n", name.c_str(),
            library.file().c_str(), platform::CE_PIM_COMMAND_SYMBOL);
        return false;
    }
    std::int32_t result = command(
        nullptr, 0, static_cast<std::uint32_t>(ids.size()), ids.empty() ? nullptr : ids.data());
    if (result != 0) {
        std::fprintf(stderr, "ringwise-pim: %s: the add-in reported %d\n", name.c_str(),
            static_cast<int>(result));
        return false;
    }
    return true;
}

int assign(const std::vector<std::string>& arguments)
{
    std::vector<std::int32_t> ids;
    for (auto& argument : arguments) {
        std::int32_t id = 0;
        if (!parse_id(argument, id))
            return usage_error(("'" + argument + "' is no contact id").c_str());
        ids.push_back(id);
    }
    bool all_called = true;
    int menus = 0;
    for (auto& add_in : registered_add_ins()) {
        if (add_in.menu.empty())
            continue;
        ++menus;
        all_called = call(add_in, ids) && all_called;
    }
    if (menus == 0) {
        std::fprintf(stderr, "ringwise-pim: no add-in has a menu entry\n");
        return 1;
    }
    return all_called ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage_error("no command");
    std::string command = argv[1];
    std::vector<std::string> arguments(argv + 2, argv + argc);
    if (command == "--help" || command == "-h") {
        std::fputs(USAGE, stdout);
        return 0;
    }
    if (command == "addins")
        return list(arguments);
    if (command == "assign")
        return assign(arguments);
    return usage_error(("unknown command '" + command + "'").c_str());
}
