#pragma once

#include <string>

namespace skinner {

// A text as the script player's dump shows it: UTF-8 with line feeds, tabs
// and backslashes escaped as \n, \t and \\, so that it stays on one line.
std::string dump_text(const std::u16string& text);

} // namespace skinner
