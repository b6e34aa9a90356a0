#pragma once

#include "platform/graphics/Geometry.h"

#include <cstdint>
#include <vector>

namespace platform {

// Colours and pixels are 0xAARRGGBB; in memory on a little-endian machine a
// pixel's bytes are blue, green, red, alpha, the layout of Cairo's ARGB32
// and of libpng's BGRA. Pixels are not premultiplied.
using Color = std::uint32_t;

constexpr Color make_color(int red, int green, int blue, int alpha = 255)
{
    return (Color(alpha & 0xFF) << 24) | (Color(red & 0xFF) << 16) | (Color(green & 0xFF) << 8)
        | Color(blue & 0xFF);
}
constexpr int red_of(Color color)
{
    return int((color >> 16) & 0xFF);
}
constexpr int green_of(Color color)
{
    return int((color >> 8) & 0xFF);
}
constexpr int blue_of(Color color)
{
    return int(color & 0xFF);
}
constexpr int alpha_of(Color color)
{
    return int(color >> 24);
}

// A 32-bit ARGB image, rows top to bottom without padding.
class Bitmap {
public:
    Bitmap() = default;
    // Negative sizes give an empty bitmap.
    Bitmap(int width, int height, Color fill = make_color(0, 0, 0));

    int width() const { return width_; }
    int height() const { return height_; }
    Size size() const { return { width_, height_ }; }
    bool is_empty() const { return width_ == 0 || height_ == 0; }

    Color pixel(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }
    void set_pixel(int x, int y, Color color) { pixels_[std::size_t(y) * width_ + x] = color; }
    Color* row(int y) { return pixels_.data() + std::size_t(y) * width_; }
    const Color* row(int y) const { return pixels_.data() + std::size_t(y) * width_; }
    Color* data() { return pixels_.data(); }
    const Color* data() const { return pixels_.data(); }

    void fill(Color color);
    // Whether some pixel is not fully opaque.
    bool has_transparency() const;
    // Each pixel becomes a factor × factor block (nearest neighbour).
    Bitmap enlarged(int factor) const;

private:
    int width_ { 0 };
    int height_ { 0 };
    std::vector<Color> pixels_;
};

// A transparency plane beside a colour bitmap. Each value is an opacity: a
// 1-bit mask holds 0 (transparent) or 1 (opaque), an 8-bit mask holds an
// alpha from 0 (transparent) to 255 (opaque).
class Mask {
public:
    Mask() = default;
    Mask(int width, int height, int depth);

    // A mask made from an image by brightness: for depth 1 a light pixel
    // (brightness 128 or more) is opaque, for depth 8 the grey level is the alpha.
    static Mask from_brightness(const Bitmap& image, int depth);
    // An 8-bit mask holding the image's own alpha channel.
    static Mask from_alpha(const Bitmap& image);

    int width() const { return width_; }
    int height() const { return height_; }
    int depth() const { return depth_; }
    bool is_empty() const { return width_ == 0 || height_ == 0; }

    std::uint8_t value(int x, int y) const { return values_[std::size_t(y) * width_ + x]; }
    void set_value(int x, int y, std::uint8_t value)
    {
        values_[std::size_t(y) * width_ + x] = value;
    }
    // Whether the pixel is drawn at all.
    bool is_visible(int x, int y) const { return value(x, y) != 0; }

    Mask enlarged(int factor) const;

private:
    int width_ { 0 };
    int height_ { 0 };
    int depth_ { 1 };
    std::vector<std::uint8_t> values_;
};

// Brightness of a colour, 0 to 255; a grey level maps to itself.
int brightness_of(Color color);

} // namespace platform
