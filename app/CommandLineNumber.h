#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The decimal number a command line starts with: leading white space, one
// optional "+" or "-", then the longest run of decimal digits (at least
// one); whatever follows is ignored. Values beyond 32 bits are held at the
// nearest limit. None when there are no digits there.
std::optional<std::int32_t> parse_command_line_number(const std::u16string& text);
