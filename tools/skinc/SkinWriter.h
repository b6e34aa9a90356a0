#pragma once

#include "tools/skinc/SkinSource.h"

#include <cstdint>
#include <string>
#include <vector>

namespace skinc {

// Lays a skin out in the binary description format: the header, then the
// strings that 16-bit offsets reach (property names, string values, auto
// control ids and types), node names, the picture names and font
// specifications, and the nodes with their property arrays. Both trees are
// balanced binary search trees; every property array is sorted by name.
// Fails with a message when the skin cannot be expressed: duplicate names,
// a version tag or devices field longer than 31 units, or 16-bit strings
// beyond the first 64 KiB.
bool write_skin(const SkinSource& skin, std::vector<std::uint8_t>& description, std::string& error);

// The 540-byte header alone, for a description whose other parts are
// written elsewhere; variant tree, kind tree and name list are given.
std::vector<std::uint8_t> write_header(const SkinSource& skin, std::uint32_t variant_tree,
    std::uint32_t kind_tree, std::uint32_t name_list);

} // namespace skinc
