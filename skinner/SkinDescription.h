#pragma once

#include "platform/LittleEndian.h"
#include "skinner/SkinFormat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace skinner {

// The bytes of one skin description and the reads that every lookup shares:
// strings, name comparisons, nodes, tree walks and the binary search of a
// node's sorted property arrays. Nodes are named by their offset, 0 meaning
// none.
//
// Nothing here trusts an offset: a string, node or record that does not lie
// inside the bytes reads as missing (nullopt, 0 or null), and a tree walk
// takes at most as many steps as the bytes can hold nodes, so that a link
// leading back up the tree cannot make it endless.
class SkinDescription {
public:
    // Reads the description of the skin file at `path`: the ".skin" entry of
    // a ZIP archive, or else the whole file. False, with nothing held and
    // the failure logged, when it cannot be read whole.
    bool load(const std::u16string& path);

    const std::uint8_t* data() const { return bytes_.data(); }
    std::uint32_t size() const { return static_cast<std::uint32_t>(bytes_.size()); }
    // The 32-bit value at `offset`, which the caller has checked.
    std::uint32_t u32(std::uint32_t offset) const { return platform::read_u32le(&bytes_[offset]); }

    std::optional<std::u16string> string_at(std::uint32_t offset) const;
    // Compares `name` with the string at `offset` (<0, 0, >0); nullopt when
    // the string is not inside the description.
    std::optional<int> compare_at(const std::u16string& name, std::uint32_t offset) const;

    bool node_ok(std::uint32_t node) const;
    // The most nodes the description can hold (at least 1).
    std::uint32_t node_limit() const;
    // A node's name, empty for a bad node or name.
    std::u16string node_name(std::uint32_t node) const;
    // The node named `name` in the tree below `root`, 0 when there is none.
    std::uint32_t find_in_tree(std::uint32_t root, const std::u16string& name) const;
    // The record of property `name` in the node's array of `type`, null when
    // the property is missing or the array does not lie inside.
    const std::uint8_t* find_record(
        std::uint32_t node, format::PropertyType type, const std::u16string& name) const;

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace skinner
