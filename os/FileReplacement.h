#pragma once

#include "liba/Nocopy.h"

#include <cstddef>
#include <string>

namespace os {

// A file that is replaced whole or not at all. Its new content is written to
// a temporary file beside the target (the target's name, a dot, six random
// characters and ".tmp"); commit() syncs it to the disk, renames it over the
// target and syncs the folder. A crash or a full disk at any moment leaves
// either the previous file or the new one, never a part of either; what is
// left at most is the temporary, which start-up code may remove
// (is_temporary_name()). Used by one thread.
class FileReplacement : liba::Nocopy {
public:
    // Creates the temporary at once (the target's folder must exist).
    explicit FileReplacement(const std::u16string& target);
    // Removes the temporary unless it was committed.
    ~FileReplacement();

    bool is_open() const { return !temporary_.empty(); }
    // The temporary file's expanded path, for writers that open a path.
    const std::u16string& temporary_path() const { return temporary_; }
    // False, with the temporary removed and the target untouched, when the
    // temporary cannot be synced or renamed.
    bool commit();

private:
    std::string target_;
    std::u16string temporary_;
    bool committed_ { false };
};

// Replaces the file at `path` with `size` bytes, as FileReplacement does.
bool replace_file(const std::u16string& path, const void* bytes, std::size_t size);

// Whether a file name is one that FileReplacement gives its temporaries.
bool is_temporary_name(const std::u16string& name);

// Syncs the folder itself (its entries), so that a rename or a new file in
// it survives a crash. The path is expanded for writing.
bool sync_directory(const std::u16string& path);

// Syncs every file directly in a folder, then the folder.
bool sync_directory_files(const std::u16string& path);

} // namespace os
