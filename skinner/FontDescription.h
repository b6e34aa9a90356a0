#pragma once

#include <string>

namespace skinner {

// A font of a skin's font list, parsed from its specification: the size in
// points, then the bold, italic and underline flags (nonzero = on), as
// signed decimal integers separated by white space, then white space and the
// face name to the end. A specification that ends early keeps the defaults
// for the rest.
struct FontDescription {
    int size { 12 };
    int scale { 1 };
    bool bold { false };
    bool italic { false };
    bool underline { false };
    std::u16string face { u"Tahoma" };

    static FontDescription parse(const std::u16string& specification, int scale);
    bool operator==(const FontDescription&) const = default;
};

} // namespace skinner
