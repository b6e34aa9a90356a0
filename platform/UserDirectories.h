#pragma once

#include <string>

namespace platform {

// The user's folders as Linux names them, in UTF-8, looked up again at every
// call so that tests and launchers may change the environment.

// $HOME, else the home folder of the user's password entry; empty when
// neither names one.
std::string home_directory();

// An XDG base folder: the variable when it holds an absolute path, otherwise
// the home folder followed by `fallback` ("XDG_CONFIG_HOME", ".config");
// empty without a home folder.
std::string xdg_directory(const char* variable, const char* fallback);

// The documents folder: XDG_DOCUMENTS_DIR from the environment or from the
// user's "user-dirs.dirs" (lines such as XDG_DOCUMENTS_DIR="$HOME/Docs"),
// else "Documents" in the home folder; empty without a home folder.
std::string documents_directory();

} // namespace platform
