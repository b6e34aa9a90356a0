#pragma once

#include "skinner/SkinDevice.h"
#include "skinner/SkinValues.h"

#include <cstdint>
#include <string>

namespace skinner {

// The fixed header at the start of a skin description: magic, version tag,
// devices text, the roots of the two trees, the name list and the design
// sizes. It reads the bytes in place; whoever holds them checks them with
// well_formed() before making a SkinHeader of them, and keeps them alive.
class SkinHeader {
public:
    explicit SkinHeader(const std::uint8_t* bytes)
        : bytes_(bytes)
    {
    }

    // Whether `header` can be read: `length` is the size of the whole
    // description, of which `header` holds at least the first 540 bytes
    // when `length` is 540 or more. Checks the magic, that both text fields
    // are terminated and zero-padded, and that the tree roots lie inside.
    static bool well_formed(const std::uint8_t* header, std::uint32_t length);

    std::u16string version() const;
    std::u16string devices() const;
    // Design size entry `index` (0 to 31) as stored, unscaled.
    Point design_size(int index) const;
    std::uint32_t variant_tree() const;
    std::uint32_t kind_tree() const;
    std::uint32_t picture_count() const;
    std::uint32_t font_count() const;
    // The offset of the first name of the list that follows the header.
    std::uint32_t name_list() const;

    // Whether the skin suits the device, carries `tag` (any tag when empty)
    // and was designed for `screen` at a scale of 1 to 4 (any screen when
    // `screen` is 0 x 0 or the skin names no design size).
    bool check_version(const SkinDevice& device, const std::u16string& tag, Point screen) const;

    // The scale (1 to 4) at which the skin is shown on `screen`. A skin that
    // suits the device takes the first scale at which a design size fills
    // the screen exactly; otherwise the scaled design size that fits and
    // leaves the least of the screen unused wins. 1 when none fits, when the
    // screen is 0 x 0 and when the first design size is empty.
    int scale_for(Point screen, const SkinDevice& device) const;

private:
    const std::uint8_t* bytes_;
};

} // namespace skinner
