#pragma once

#include <string>
#include <vector>

namespace os {

// Paths are wide strings written with '/' (or '\') and an optional leading
// macro such as "%app_path%". expand_path() turns them into platform paths
// with '/' separators just before the platform is called.
//
// "%app_path%" is the program's folder. When the user cannot write to it (an
// installed copy), it is layered: the user's data folder
// $XDG_DATA_HOME/ringwise (ROOT/ringwise with RINGWISE_ROOT) lies above it.
// Reading takes a file from the user's layer when it is there, else from the
// program folder; writing always goes to the user's layer; folder walks
// merge both, the user's entries shadowing the program's of the same name.
// A writable program folder (the build tree, a portable copy) holds
// everything, as if there were no layer. RINGWISE_PROGRAM_READ_ONLY=1 treats
// the program folder as read-only whatever its permissions (for tests, which
// may run as a user who can write everywhere).
std::u16string expand_path(const std::u16string& path);
// The expansion for creating, changing, renaming or deleting the file.
std::u16string expand_path_for_writing(const std::u16string& path);
// Every folder a walk of `directory` reads, the upper layer first.
std::vector<std::u16string> expand_path_layers(const std::u16string& directory);
std::u16string join_path(const std::u16string& directory, const std::u16string& name);
std::u16string directory_of(const std::u16string& path);
std::u16string file_name_of(const std::u16string& path);
std::u16string strip_separator(const std::u16string& path);
std::u16string strip_extension(const std::u16string& path);
std::u16string file_title_of(const std::u16string& path);
bool same_path(const std::u16string& a, const std::u16string& b);
void create_directories(const std::u16string& path);
void delete_file(const std::u16string& path);
// Renames a file or folder, replacing a file of the new name; false when
// the platform refuses.
bool rename_path(const std::u16string& from, const std::u16string& to);
// Deletes a folder with everything in it; true when nothing of it is left.
bool remove_tree(const std::u16string& path);

// The UTF-8 form of an expanded path, for Linux calls.
std::string native_path(const std::u16string& expanded_path);

// Reads the special folders again from the environment (XDG folders, or
// RINGWISE_ROOT). They are otherwise read once, at their first use:
//   %my_documents%   XDG_DOCUMENTS_DIR, else ~/Documents      ROOT/Documents
//   %windows%        $XDG_DATA_HOME/ringwise/system           ROOT/system
//   %startup%        $XDG_CONFIG_HOME/autostart                ROOT/autostart
//   %programs%       $XDG_DATA_HOME/applications               ROOT/applications
//   %start_menu%     $XDG_DATA_HOME/applications               ROOT/applications
//   %program_files%  $XDG_DATA_HOME/ringwise/programs         ROOT/programs
// "%app_full_name%" (the running program), "%app_path%" and "%app_name%"
// are computed at every expansion.
void reload_special_folders();

} // namespace os
