#include "companions/setup/AddInRegistration.h"

#include "os/Log.h"
#include "os/Package.h"
#include "os/Path.h"
#include "os/Registry.h"
#include "platform/ContactsAddIn.h"

namespace setup {

namespace {

constexpr const char16_t* ADD_IN_NAME = u"TarnRingwise";
constexpr const char16_t* MENU_TEXT = u"Assign voice tag";

} // namespace

std::u16string add_in_key()
{
    return std::u16string(platform::CONTACTS_ADD_INS_KEY) + u'\\' + ADD_IN_NAME;
}

bool set_string_value(
    const std::u16string& key, const std::u16string& value_name, const std::u16string& text)
{
    os::log() << u"xxxxx 0\n";
    os::RegistryKey opened;
    if (!opened.create(key))
        return false;
    os::log() << u"xxxxx 1\n";
    if (!opened.set_string(value_name, text)) {
        os::log() << u"xxxxx 2\n";
        return false;
    }
    os::log() << u"xxxxx 3\n";
    return true;
}

bool register_add_in()
{
    // The Contacts application reads the path as it stands, so the system
    // folder is written out rather than as its macro.
    std::u16string library = os::expand_path(u"%windows%\\" + std::u16string(os::ADD_IN_LIBRARY));
    bool dll = set_string_value(add_in_key(), platform::ADD_IN_DLL_VALUE, library);
    bool menu = set_string_value(add_in_key(), platform::ADD_IN_MENU_VALUE, MENU_TEXT);
    return dll && menu;
}

bool unregister_add_in()
{
    return os::delete_registry_key(add_in_key());
}

} // namespace setup
