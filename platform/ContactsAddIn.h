#pragma once

#include <cstdint>

// The Contacts application's menu extensions: every subkey of
// CONTACTS_ADD_INS_KEY registers one add-in library, named by its string
// value "Dll", whose menu entry is its string value "Menu". When the user
// picks the entry, the application loads the library and calls its
// CePimCommand with the selected contacts' object ids.
namespace platform {

inline constexpr const char16_t* CONTACTS_ADD_INS_KEY
    = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\PimApps\\PimExtensions\\Contacts\\AddIns";
inline constexpr const char16_t* ADD_IN_DLL_VALUE = u"Dll";
inline constexpr const char16_t* ADD_IN_MENU_VALUE = u"Menu";

// window: the application's window (an opaque handle); command: the menu
// command; `item_ids` holds `item_count` object ids. 0 reports success.
using CePimCommandFunction = std::int32_t (*)(
    void* window, std::uint32_t command, std::uint32_t item_count, const std::int32_t* item_ids);

inline constexpr const char* CE_PIM_COMMAND_SYMBOL = "CePimCommand";

} // namespace platform
