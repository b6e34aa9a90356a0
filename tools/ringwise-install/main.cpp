// ringwise-install: plays the device's package installer for the program
// folder it sits in, so that the installer hook (libsetup.so) runs as it
// would on the device. It writes nothing to the diagnostic log itself: the
// hook logs to the same file.

#include "os/Package.h"
#include "os/Path.h"
#include "os/Registry.h"
#include "platform/Convert.h"
#include "platform/InstallerHook.h"
#include "platform/SharedLibrary.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <strings.h>

namespace {

constexpr const char* USAGE
    = "usage: ringwise-install [--remove] [--platform PocketPC|Smartphone]\n"
      "\n"
      "Installs the Ringwise package of the folder this program sits in, as the\n"
      "device's package installer would: records the folder as \"InstallDir\" under\n"
      "'HKEY_LOCAL_MACHINE\\SOFTWARE\\APPS\\Tarn Ring Wise', copies the Contacts add-in\n"
      "libRingwiseAssign.so into the system folder (%windows%) and runs the installer\n"
      "hook libsetup.so, which registers the add-in (not on a Smartphone).\n"
      "--remove runs the hook's removal, then deletes the copy and \"InstallDir\".\n"
      "--platform chooses the device the hook sees (default RINGWISE_PLATFORM, else\n"
      "PocketPC). The registry is per user: run it once for every user.\n"
      "Exit status: 0 done, 1 failed, 2 bad usage.\n";

int usage_error(const char* message)
{
    std::fprintf(stderr, "ringwise-install: %s\n%s", message, USAGE);
    return 2;
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "ringwise-install: %s\n", message.c_str());
    return 1;
}

struct Hooks {
    platform::InstallInitFunction install_init;
    platform::InstallExitFunction install_exit;
    platform::UninstallInitFunction uninstall_init;
    platform::UninstallExitFunction uninstall_exit;
};

bool find_hooks(const platform::SharedLibrary& library, Hooks& hooks)
{
    hooks.install_init
        = library.function<platform::InstallInitFunction>(platform::INSTALL_INIT_SYMBOL);
    hooks.install_exit
        = library.function<platform::InstallExitFunction>(platform::INSTALL_EXIT_SYMBOL);
    hooks.uninstall_init
        = library.function<platform::UninstallInitFunction>(platform::UNINSTALL_INIT_SYMBOL);
    hooks.uninstall_exit
        = library.function<platform::UninstallExitFunction>(platform::UNINSTALL_EXIT_SYMBOL);
    return hooks.install_init && hooks.install_exit && hooks.uninstall_init && hooks.uninstall_exit;
}

// The add-in's file beside this program and where the package places it.
struct AddInFiles {
    std::string source;
    std::string target;
};

AddInFiles add_in_files(const std::u16string& folder)
{
    std::string source
        = platform::library_file(os::native_path(os::join_path(folder, os::ADD_IN_LIBRARY)));
    std::string name = std::filesystem::path(source).filename().string();
    std::string system = os::native_path(os::expand_path(u"%windows%"));
    return { source, system + "/" + name };
}

// Copies beside the target and renames it into place, so that a process
// that has the old copy loaded keeps an intact file.
bool place(const AddInFiles& files)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(files.target).parent_path(), error);
    std::string part = files.target + ".part";
    if (!std::filesystem::copy_file(
            files.source, part, std::filesystem::copy_options::overwrite_existing, error))
        return false;
    std::filesystem::rename(part, files.target, error);
    if (error) {
        std::filesystem::remove(part, error);
        return false;
    }
    return true;
}

int install(const std::u16string& folder, const Hooks& hooks)
{
    os::RegistryKey package;
    if (!package.create(os::package_key())
        || !package.set_string(platform::INSTALL_DIR_VALUE, folder))
        return fail("can't record the program folder in the registry");
    package.close();
    AddInFiles files = add_in_files(folder);
    if (!place(files))
        return fail("can't copy " + files.source + " to " + files.target);
    if (hooks.install_init(nullptr, 1, 0, folder.c_str()) != platform::INSTALL_INIT_CONTINUE)
        return fail("the installer hook stopped the installation");
    if (hooks.install_exit(nullptr, folder.c_str(), 0, 0, 0, 0, 0) != platform::INSTALL_EXIT_DONE)
        return fail("the installer hook failed to finish the installation");
    return 0;
}

int remove(const std::u16string& folder, const Hooks& hooks)
{
    if (hooks.uninstall_init(nullptr, folder.c_str()) != platform::UNINSTALL_INIT_CONTINUE)
        return fail("the installer hook stopped the removal");
    if (hooks.uninstall_exit(nullptr) != platform::UNINSTALL_EXIT_DONE)
        return fail("the installer hook failed to finish the removal");
    std::error_code error;
    std::filesystem::remove(add_in_files(folder).target, error);
    os::delete_registry_key(os::package_key());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    bool removing = false;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(USAGE, stdout);
            return 0;
        }
        if (argument == "--remove") {
            removing = true;
        } else if (argument == "--platform" && i + 1 < argc) {
            const char* device = argv[++i];
            if (::strcasecmp(device, "PocketPC") != 0 && ::strcasecmp(device, "Smartphone") != 0)
                return usage_error("the platform is PocketPC or Smartphone");
            ::setenv("RINGWISE_PLATFORM", device, 1);
        } else {
            return usage_error(("unknown argument '" + argument + "'").c_str());
        }
    }

    std::u16string folder = os::strip_separator(os::expand_path(u"%app_path%"));
    platform::SharedLibrary library(os::native_path(os::join_path(folder, u"setup.dll")));
    if (!library.is_loaded())
        return fail("can't load the installer hook: " + library.error());
    Hooks hooks;
    if (!find_hooks(library, hooks))
        return fail(library.file() + " lacks the installer hook's functions");
    return removing ? remove(folder, hooks) : install(folder, hooks);
}
