#pragma once

#include <string>
#include <string_view>

namespace skinner {

// A text as the script player's dump shows it: UTF-8, with line feeds, tabs
// and backslashes written as \n, \t and \\, so that it stays on one line.
std::string dump_text(std::u16string_view text);

} // namespace skinner
