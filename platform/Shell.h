#pragma once

#include <string>

namespace platform {

// The file that starting `path` runs. Stored data names programs the way the
// device does ("Ringwise.exe"); when "X.exe" does not exist, "X" is started.
std::string program_file(const std::string& path);

// Executes a file with the verb "open", without waiting for what it starts:
// - "iexplore.exe" (the device's browser) opens `parameters`, a web address,
//   in the user's default browser;
// - an executable file starts in a session of its own, with `parameters` as
//   its one argument (none when empty) and this process's environment;
// - any other existing file, or a web address, opens with xdg-open;
// - a bare program name is looked up in PATH.
// True when the program or the opener started.
bool shell_execute(const std::string& file, const std::string& parameters);

// Opens a web address with the user's default browser (through xdg-open).
bool open_in_browser(const std::string& url);

} // namespace platform
