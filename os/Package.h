#pragma once

#include "platform/InstallerHook.h"

#include <string>

// How the installed package names itself to the device: the package whose
// folder the installer records, the Contacts add-in's library as the
// package places it in the system folder, and the main program that the
// add-in starts from the package's folder.
namespace os {

inline constexpr const char16_t* PACKAGE_NAME = u"Tarn Ring Wise";
inline constexpr const char16_t* ADD_IN_LIBRARY = u"RingwiseAssign.dll";
inline constexpr const char16_t* MAIN_PROGRAM = u"Ringwise.exe";

// The key that holds the package's "InstallDir".
inline std::u16string package_key()
{
    return std::u16string(platform::INSTALLED_PACKAGES_KEY) + u'\\' + PACKAGE_NAME;
}

} // namespace os
