#pragma once

#include "tools/skinc/SkinSource.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace skinc {

// The bytes of a skin file for a skin: its description, or with `archive` a
// ZIP of stored entries that holds the description as `description_name`
// followed by every file the skin names (read from the file system).
bool build_skin_file(const SkinSource& skin, bool archive, const std::string& description_name,
    std::vector<std::uint8_t>& bytes, std::string& error);

// Compiles the XML source at `source_path` into the skin file `output_path`.
// The description entry of an archive is named after the output file, with
// the extension "skin".
bool compile_skin_file(const std::string& source_path, const std::string& output_path, bool archive,
    std::string& error);

} // namespace skinc
