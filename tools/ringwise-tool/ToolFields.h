#pragma once

#include "skinner/SkinValues.h"

#include <optional>
#include <string>
#include <vector>

namespace tool {

// Prints one record as a line of tab-separated UTF-8 fields. Tabs and line
// breaks inside a field become spaces, so that every record stays one line.
void print_fields(const std::vector<std::u16string>& fields);

// A whole decimal integer (optional sign), as ids are given on the command line.
bool parse_id(const std::string& text, int& id);

// A size written "WxH" with non-negative decimal width and height.
std::optional<skinner::Point> parse_size(const std::string& text);

} // namespace tool
