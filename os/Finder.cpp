#include "os/Finder.h"

#include "os/Path.h"
#include "platform/Convert.h"

#include <algorithm>
#include <dirent.h>
#include <fnmatch.h>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <vector>

namespace os {

bool Finder::on_file(const std::u16string&)
{
    return true;
}

bool Finder::on_directory(const std::u16string&)
{
    return true;
}

namespace {

struct Entry {
    std::u16string name;
    bool is_directory;
    bool is_link;
};

struct DirectoryCloser {
    void operator()(DIR* directory) const { closedir(directory); }
};

// The entries of one directory, without "." and "..", sorted by name so
// that every walk of the same folder gives the same order.
std::vector<Entry> read_entries(const std::string& native_directory)
{
    std::vector<Entry> entries;
    std::unique_ptr<DIR, DirectoryCloser> directory(
        opendir(native_directory.empty() ? "." : native_directory.c_str()));
    if (!directory)
        return entries;
    std::string prefix = native_directory.empty() || native_directory.back() == '/'
        ? native_directory
        : native_directory + "/";
    while (dirent* entry = readdir(directory.get())) {
        std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        bool is_link = entry->d_type == DT_LNK;
        bool is_directory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || is_link) {
            struct stat status;
            std::string full = prefix + name;
            if (::lstat(full.c_str(), &status) == 0)
                is_link = S_ISLNK(status.st_mode);
            // A link counts as what it points to.
            is_directory = ::stat(full.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
        }
        entries.push_back({ platform::from_utf8(name), is_directory, is_link });
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        std::u16string la = platform::to_lower(a.name);
        std::u16string lb = platform::to_lower(b.name);
        return la != lb ? la < lb : a.name < b.name;
    });
    return entries;
}

// The entries of a folder over all its layers (see expand_path_layers): an
// entry of an upper layer hides one of the same name below it.
std::vector<Entry> read_layers(const std::u16string& directory)
{
    std::vector<std::u16string> layers = expand_path_layers(directory);
    std::vector<Entry> entries = read_entries(native_path(layers.front()));
    if (layers.size() == 1)
        return entries;
    std::set<std::u16string> names;
    for (const Entry& entry : entries)
        names.insert(entry.name);
    for (std::size_t i = 1; i < layers.size(); ++i) {
        for (Entry& entry : read_entries(native_path(layers[i]))) {
            if (names.insert(entry.name).second)
                entries.push_back(std::move(entry));
        }
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        std::u16string la = platform::to_lower(a.name);
        std::u16string lb = platform::to_lower(b.name);
        return la != lb ? la < lb : a.name < b.name;
    });
    return entries;
}

bool matches(const std::string& pattern, const std::u16string& name)
{
    if (pattern == "*" || pattern == "*.*")
        return true;
    return fnmatch(pattern.c_str(), platform::to_utf8(name).c_str(), FNM_CASEFOLD) == 0;
}

// Walks one directory; false when a callback asked to stop.
bool walk(Finder& finder, const std::u16string& directory, const std::string& file_pattern,
    const std::string& directory_pattern, bool recursive, int depth)
{
    std::vector<Entry> entries = read_layers(directory);
    for (const Entry& entry : entries) {
        if (!entry.is_directory && matches(file_pattern, entry.name)
            && !finder.on_file(join_path(directory, entry.name)))
            return false;
    }
    for (const Entry& entry : entries) {
        if (!entry.is_directory || !matches(directory_pattern, entry.name))
            continue;
        std::u16string path = join_path(directory, entry.name);
        if (!finder.on_directory(path))
            return false;
        // Links are reported but not followed: a link to a parent would never end.
        constexpr int max_depth = 256;
        if (recursive && !entry.is_link && depth < max_depth
            && !walk(finder, path, file_pattern, directory_pattern, recursive, depth + 1))
            return false;
    }
    return true;
}

} // namespace

bool find_files(Finder& finder, const std::u16string& directory, const std::u16string& file_pattern,
    const std::u16string& directory_pattern, bool recursive)
{
    walk(finder, directory, platform::to_utf8(file_pattern), platform::to_utf8(directory_pattern),
        recursive, 0);
    return true;
}

} // namespace os
