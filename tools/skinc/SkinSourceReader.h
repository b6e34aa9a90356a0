#pragma once

#include "tools/skinc/SkinSource.h"

#include <string>
#include <string_view>

namespace skinc {

// Reads the XML source of a skin (format in assets/skins/README.md).
// `base_directory` is the folder that relative file paths of <picture file>
// and <file path> are taken from. On failure returns false with a message
// that names the element at fault.
bool read_skin_source(
    std::string_view xml, const std::string& base_directory, SkinSource& skin, std::string& error);

} // namespace skinc
