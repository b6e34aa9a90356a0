#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace skinner {

class ImageEntry; // the decoded image of a picture, defined by the picture code

// A point or size read from a skin, already multiplied by the skin's scale.
struct Point {
    int x { 0 };
    int y { 0 };
    bool operator==(const Point&) const = default;
};

// Four bytes of color in file order: red, green, blue and a fourth byte that
// drawing does not use.
struct Color {
    std::array<std::uint8_t, 4> bytes {};
    std::uint8_t red() const { return bytes[0]; }
    std::uint8_t green() const { return bytes[1]; }
    std::uint8_t blue() const { return bytes[2]; }
    bool operator==(const Color&) const = default;
};

// A picture property: a rectangle of one of the skin's images with its
// middle part. (x0, y0)-(x3, y3) is the outer rectangle inside the image,
// (x1, y1)-(x2, y2) the middle part; the bands between them keep their size
// when the picture is drawn larger. An empty picture (no name) draws
// nothing. `image` is what the picture loader made of the name; it is null
// where no loader is installed.
struct SkinPicture {
    std::u16string name;
    std::shared_ptr<ImageEntry> image;
    std::array<std::uint16_t, 8> coordinates {}; // x0, y0, x1, y1, x2, y2, x3, y3
    bool stretch { false }; // true: the middle stretches; false: it repeats

    bool empty() const { return name.empty(); }
};

// One automatic control of a form variant.
struct AutoControl {
    std::u16string id;
    std::u16string type;
};

} // namespace skinner
