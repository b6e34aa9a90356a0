#include "platform/UserDirectories.h"

#include <cstdio>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace platform {

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::string home_directory()
{
    std::string home = environment("HOME");
    if (!home.empty())
        return home;
    if (passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return {};
}

std::string xdg_directory(const char* variable, const char* fallback)
{
    std::string value = environment(variable);
    if (!value.empty() && value[0] == '/')
        return value;
    std::string home = home_directory();
    return home.empty() ? std::string() : home + "/" + fallback;
}

std::string documents_directory()
{
    std::string value = environment("XDG_DOCUMENTS_DIR");
    if (!value.empty() && value[0] == '/')
        return value;
    std::string home = home_directory();
    std::string config = xdg_directory("XDG_CONFIG_HOME", ".config");
    if (!config.empty()) {
        if (FILE* file = std::fopen((config + "/user-dirs.dirs").c_str(), "re")) {
            char line[4096];
            while (std::fgets(line, sizeof line, file)) {
                std::string text(line);
                while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
                    text.pop_back();
                const std::string key = "XDG_DOCUMENTS_DIR=\"";
                if (text.compare(0, key.size(), key) != 0 || text.size() < key.size() + 1
                    || text.back() != '"')
                    continue;
                std::string path = text.substr(key.size(), text.size() - key.size() - 1);
                if (path.compare(0, 5, "$HOME") == 0 && !home.empty())
                    path = home + path.substr(5);
                if (!path.empty() && path[0] == '/')
                    value = path;
            }
            std::fclose(file);
            if (!value.empty())
                return value;
        }
    }
    return home.empty() ? std::string() : home + "/Documents";
}

} // namespace platform
