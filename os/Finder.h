#pragma once

#include <string>

namespace os {

// Callbacks of a directory walk. Returning false from either stops the
// whole walk.
class Finder {
public:
    virtual bool on_file(const std::u16string& path);
    virtual bool on_directory(const std::u16string& path);
    virtual ~Finder() = default;
};

// Walks `directory` (macros allowed; empty means the current directory):
// first every file whose name matches `file_pattern`, then every
// subdirectory whose name matches `directory_pattern`, descending into each
// when `recursive`. Patterns use '*' and '?' and ignore letter case; "*.*"
// matches every name. Reported paths are join_path(directory, name), in
// name order; "." and ".." are never reported. Returns true.
bool find_files(Finder& finder, const std::u16string& directory, const std::u16string& file_pattern,
    const std::u16string& directory_pattern, bool recursive);

} // namespace os
