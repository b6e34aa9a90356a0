#pragma once

#include <string_view>

namespace platform {

// A root of the registry: its full name, which starts every key path, and
// the abbreviation the command line accepts for it.
struct RegistryRootName {
    std::u16string_view name;
    std::string_view abbreviation;
};

// The roots, in the order a key path is matched against them.
inline constexpr RegistryRootName REGISTRY_ROOTS[] = {
    { u"HKEY_CLASSES_ROOT", "HKCR" },
    { u"HKEY_LOCAL_MACHINE", "HKLM" },
    { u"HKEY_USERS", "HKU" },
    { u"HKEY_CURRENT_USER", "HKCU" },
};

} // namespace platform
