#pragma once

#include <cstdint>

// The package installer's hook interface: a package's set-up library
// exports these four functions, and the installer calls Install_Init and
// Install_Exit while it installs the package, Uninstall_Init and
// Uninstall_Exit while it removes it. Windows are the installer's (opaque
// handles); folders are zero-terminated UTF-16.
namespace platform {

// Install_Init: 0 lets the installation continue.
using InstallInitFunction = std::int32_t (*)(void* parent_window, std::int32_t first_call,
    std::int32_t previously_installed, const char16_t* install_directory);
// Install_Exit, with what the installer failed to create: 0 when done.
using InstallExitFunction = std::int32_t (*)(void* parent_window, const char16_t* install_directory,
    std::uint16_t failed_directories, std::uint16_t failed_files,
    std::uint16_t failed_registry_keys, std::uint16_t failed_registry_values,
    std::uint16_t failed_shortcuts);
// Uninstall_Init: 0 lets the removal continue.
using UninstallInitFunction
    = std::int32_t (*)(void* parent_window, const char16_t* install_directory);
// Uninstall_Exit: 0 when done.
using UninstallExitFunction = std::int32_t (*)(void* parent_window);

inline constexpr std::int32_t INSTALL_INIT_CONTINUE = 0;
inline constexpr std::int32_t INSTALL_EXIT_DONE = 0;
inline constexpr std::int32_t UNINSTALL_INIT_CONTINUE = 0;
inline constexpr std::int32_t UNINSTALL_EXIT_DONE = 0;

inline constexpr const char* INSTALL_INIT_SYMBOL = "Install_Init";
inline constexpr const char* INSTALL_EXIT_SYMBOL = "Install_Exit";
inline constexpr const char* UNINSTALL_INIT_SYMBOL = "Uninstall_Init";
inline constexpr const char* UNINSTALL_EXIT_SYMBOL = "Uninstall_Exit";

// The installer records the folder of every installed package as the
// string value "InstallDir" of this key's subkey named after the package.
inline constexpr const char16_t* INSTALLED_PACKAGES_KEY = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\APPS";
inline constexpr const char16_t* INSTALL_DIR_VALUE = u"InstallDir";

} // namespace platform
