// The installer hook's exports. Nothing of what the installer passes is
// needed: the add-in is registered on install and unregistered on removal,
// except on a Smartphone, whose Contacts application takes no add-ins.
// Every hook lets the installer go on, whatever the registry did.

#include "companions/setup/AddInRegistration.h"
#include "os/Capabilities.h"
#include "platform/InstallerHook.h"

#include <type_traits>

#define SETUP_EXPORT extern "C" __attribute__((visibility("default")))

SETUP_EXPORT std::int32_t Install_Init(void* /*parent_window*/, std::int32_t /*first_call*/,
    std::int32_t /*previously_installed*/, const char16_t* /*install_directory*/)
{
    if (!os::is_smartphone())
        setup::register_add_in();
    return platform::INSTALL_INIT_CONTINUE;
}

SETUP_EXPORT std::int32_t Install_Exit(void* /*parent_window*/,
    const char16_t* /*install_directory*/, std::uint16_t /*failed_directories*/,
    std::uint16_t /*failed_files*/, std::uint16_t /*failed_registry_keys*/,
    std::uint16_t /*failed_registry_values*/, std::uint16_t /*failed_shortcuts*/)
{
    return platform::INSTALL_EXIT_DONE;
}

SETUP_EXPORT std::int32_t Uninstall_Init(
    void* /*parent_window*/, const char16_t* /*install_directory*/)
{
    if (!os::is_smartphone())
        setup::unregister_add_in();
    return platform::UNINSTALL_INIT_CONTINUE;
}

SETUP_EXPORT std::int32_t Uninstall_Exit(void* /*parent_window*/)
{
    return platform::UNINSTALL_EXIT_DONE;
}

static_assert(std::is_same_v<decltype(&Install_Init), platform::InstallInitFunction>);
static_assert(std::is_same_v<decltype(&Install_Exit), platform::InstallExitFunction>);
static_assert(std::is_same_v<decltype(&Uninstall_Init), platform::UninstallInitFunction>);
static_assert(std::is_same_v<decltype(&Uninstall_Exit), platform::UninstallExitFunction>);
