#pragma once

#include <string>

// The program's command line as one string: the arguments after the
// program's name joined by single blanks, with nothing split, trimmed or
// unquoted. Arguments cross from Linux as UTF-8.
std::u16string join_command_line(int argc, const char* const* argv);
