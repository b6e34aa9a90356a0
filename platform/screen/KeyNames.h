#pragma once

#include <optional>
#include <string_view>

namespace platform::detail {

// The virtual key of a key name of the script format: Left, Return, Shift,
// SoftLeft, Back and the others the README lists, A to Z and 0 to 9.
std::optional<int> virtual_key_named(std::string_view name);

// The character a key types, 0 for none: letters (capitals with shift
// held), digits and space.
char16_t character_of_key(int virtual_key, bool shift);

} // namespace platform::detail
