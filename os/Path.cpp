#include "os/Path.h"

#include "os/CrashPoint.h"
#include "platform/Convert.h"
#include "platform/UserDirectories.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace os {

namespace {

bool is_separator(char16_t c)
{
    return c == u'/' || c == u'\\';
}

// The shell folders, read from the environment once and then kept.
struct SpecialFolders {
    std::u16string my_documents;
    std::u16string windows;
    std::u16string startup;
    std::u16string programs;
    std::u16string start_menu;
    std::u16string program_files;
};

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

SpecialFolders read_special_folders()
{
    SpecialFolders folders;
    std::string root = environment("RINGWISE_ROOT");
    if (!root.empty()) {
        while (root.size() > 1 && root.back() == '/')
            root.pop_back();
        folders.my_documents = platform::from_utf8(root + "/Documents");
        folders.windows = platform::from_utf8(root + "/system");
        folders.startup = platform::from_utf8(root + "/autostart");
        folders.programs = platform::from_utf8(root + "/applications");
        folders.start_menu = folders.programs;
        folders.program_files = platform::from_utf8(root + "/programs");
        return folders;
    }
    std::string data = platform::xdg_directory("XDG_DATA_HOME", ".local/share");
    std::string config = platform::xdg_directory("XDG_CONFIG_HOME", ".config");
    folders.my_documents = platform::from_utf8(platform::documents_directory());
    if (!data.empty()) {
        folders.windows = platform::from_utf8(data + "/ringwise/system");
        folders.programs = platform::from_utf8(data + "/applications");
        folders.start_menu = folders.programs;
        folders.program_files = platform::from_utf8(data + "/ringwise/programs");
    }
    if (!config.empty())
        folders.startup = platform::from_utf8(config + "/autostart");
    return folders;
}

std::mutex folders_mutex;
bool folders_read = false;
SpecialFolders folders_value;

// The running program's file, resolved; the buffer doubles while the
// link fills it completely.
std::u16string module_file_name()
{
    std::string buffer(1024, '\0');
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(length));
            return platform::from_utf8(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool starts_with(const std::u16string& path, std::u16string_view prefix)
{
    return path.size() >= prefix.size()
        && std::u16string_view(path).substr(0, prefix.size()) == prefix;
}

void create_native_directories(const std::u16string& path)
{
    std::u16string directory = strip_separator(path);
    if (directory.empty())
        return;
    std::string native = native_path(directory);
    struct stat status;
    if (::stat(native.c_str(), &status) == 0)
        return;
    std::u16string parent = directory_of(directory);
    if (!parent.empty() && parent.size() < path.size())
        create_native_directories(parent);
    ::mkdir(native.c_str(), 0755);
}

std::u16string app_directory()
{
    return strip_separator(directory_of(module_file_name()));
}

bool exists(const std::u16string& expanded)
{
    struct stat status;
    return ::lstat(native_path(expanded).c_str(), &status) == 0;
}

// The user's layer above a program folder that cannot be written to; empty
// when the program folder is writable.
std::u16string user_layer(const std::u16string& program)
{
    static std::mutex mutex;
    static std::u16string checked_program;
    static bool checked_writable = true;
    std::string forced = environment("RINGWISE_PROGRAM_READ_ONLY");
    bool writable;
    if (forced == "1") {
        writable = false;
    } else {
        std::lock_guard lock(mutex);
        if (checked_program != program) {
            checked_program = program;
            checked_writable = ::access(native_path(program).c_str(), W_OK) == 0;
        }
        writable = checked_writable;
    }
    if (writable)
        return {};
    std::string root = environment("RINGWISE_ROOT");
    if (!root.empty()) {
        while (root.size() > 1 && root.back() == '/')
            root.pop_back();
        return platform::from_utf8(root + "/ringwise");
    }
    std::string data = platform::xdg_directory("XDG_DATA_HOME", ".local/share");
    return data.empty() ? std::u16string() : platform::from_utf8(data + "/ringwise");
}

// The part of a "%app_path%" path after the macro, with '/' separators;
// nullopt for other paths.
std::optional<std::u16string> app_path_rest(const std::u16string& path)
{
    static constexpr std::u16string_view macro = u"%app_path%";
    if (!starts_with(path, macro))
        return std::nullopt;
    std::u16string rest;
    for (std::size_t i = macro.size(); i < path.size(); ++i)
        rest += path[i] == u'\\' ? u'/' : path[i];
    return rest;
}

} // namespace

void reload_special_folders()
{
    SpecialFolders folders = read_special_folders();
    std::lock_guard lock(folders_mutex);
    folders_value = std::move(folders);
    folders_read = true;
}

namespace {

// Every macro, with no regard to layers.
std::u16string expand_every_macro(const std::u16string& path)
{
    std::u16string result;
    std::size_t position = 0;
    if (starts_with(path, u"%")) {
        enum class Macro {
            app_full_name,
            app_path,
            app_name,
            my_documents,
            windows,
            startup,
            programs,
            start_menu,
            program_files
        };
        static constexpr std::pair<std::u16string_view, Macro> macros[] = {
            { u"%app_full_name%", Macro::app_full_name },
            { u"%app_path%", Macro::app_path },
            { u"%app_name%", Macro::app_name },
            { u"%my_documents%", Macro::my_documents },
            { u"%windows%", Macro::windows },
            { u"%startup%", Macro::startup },
            { u"%programs%", Macro::programs },
            { u"%start_menu%", Macro::start_menu },
            { u"%program_files%", Macro::program_files },
        };
        for (const auto& [text, macro] : macros) {
            if (!starts_with(path, text))
                continue;
            position = text.size();
            if (macro == Macro::app_full_name || macro == Macro::app_path
                || macro == Macro::app_name) {
                std::u16string full_name = module_file_name();
                if (macro == Macro::app_full_name)
                    result = full_name;
                else if (macro == Macro::app_path)
                    result = strip_separator(directory_of(full_name));
                else
                    result = file_name_of(full_name);
                break;
            }
            std::lock_guard lock(folders_mutex);
            if (!folders_read) {
                folders_value = read_special_folders();
                folders_read = true;
            }
            const SpecialFolders& folders = folders_value;
            switch (macro) {
            case Macro::my_documents:
                result = folders.my_documents;
                break;
            case Macro::windows:
                result = folders.windows;
                break;
            case Macro::startup:
                result = folders.startup;
                break;
            case Macro::programs:
                result = folders.programs;
                break;
            case Macro::start_menu:
                result = folders.start_menu;
                break;
            default:
                result = folders.program_files;
                break;
            }
            break;
        }
    }
    result.reserve(result.size() + path.size() - position);
    for (; position < path.size(); ++position)
        result += path[position] == u'\\' ? u'/' : path[position];
    return result;
}

} // namespace

std::u16string expand_path(const std::u16string& path)
{
    if (auto rest = app_path_rest(path); rest && !rest->empty()) {
        std::u16string program = app_directory();
        std::u16string user = user_layer(program);
        if (!user.empty() && (exists(user + *rest) || !exists(program + *rest)))
            return user + *rest;
        return program + *rest;
    }
    return expand_every_macro(path);
}

std::u16string expand_path_for_writing(const std::u16string& path)
{
    if (auto rest = app_path_rest(path)) {
        std::u16string program = app_directory();
        std::u16string user = user_layer(program);
        if (!user.empty()) {
            create_native_directories(user);
            return user + *rest;
        }
        return program + *rest;
    }
    return expand_every_macro(path);
}

std::vector<std::u16string> expand_path_layers(const std::u16string& directory)
{
    if (auto rest = app_path_rest(directory)) {
        std::u16string program = app_directory();
        std::u16string user = user_layer(program);
        if (!user.empty())
            return { user + *rest, program + *rest };
        return { program + *rest };
    }
    return { expand_every_macro(directory) };
}

std::u16string join_path(const std::u16string& directory, const std::u16string& name)
{
    if (directory.empty())
        return name;
    return strip_separator(directory) + u'/' + name;
}

std::u16string directory_of(const std::u16string& path)
{
    std::size_t last = path.find_last_of(u"/\\");
    return last == std::u16string::npos ? std::u16string() : path.substr(0, last + 1);
}

std::u16string file_name_of(const std::u16string& path)
{
    std::size_t last = path.find_last_of(u"/\\");
    return last == std::u16string::npos ? path : path.substr(last + 1);
}

std::u16string strip_separator(const std::u16string& path)
{
    if (!path.empty() && is_separator(path.back()))
        return path.substr(0, path.size() - 1);
    return path;
}

std::u16string strip_extension(const std::u16string& path)
{
    std::size_t dot = path.rfind(u'.');
    if (dot == std::u16string::npos)
        return path;
    std::size_t separator = path.find_last_of(u"/\\");
    if (separator != std::u16string::npos && separator > dot)
        return path;
    return path.substr(0, dot);
}

std::u16string file_title_of(const std::u16string& path)
{
    return strip_extension(file_name_of(path));
}

bool same_path(const std::u16string& a, const std::u16string& b)
{
    return platform::equal_ignoring_case(
        strip_separator(expand_path(a)), strip_separator(expand_path(b)));
}

void create_directories(const std::u16string& path)
{
    create_native_directories(expand_path_for_writing(path));
}

void delete_file(const std::u16string& path)
{
    crash_point();
    ::unlink(native_path(expand_path_for_writing(path)).c_str());
}

bool rename_path(const std::u16string& from, const std::u16string& to)
{
    crash_point();
    return ::rename(native_path(expand_path_for_writing(from)).c_str(),
               native_path(expand_path_for_writing(to)).c_str())
        == 0;
}

bool remove_tree(const std::u16string& path)
{
    std::error_code error;
    std::filesystem::path native(native_path(expand_path_for_writing(path)));
    crash_point();
    std::filesystem::remove_all(native, error);
    return !error && !std::filesystem::exists(native, error);
}

std::string native_path(const std::u16string& expanded_path)
{
    return platform::to_utf8(expanded_path);
}

} // namespace os
