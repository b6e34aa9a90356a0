#include "platform/graphics/Bitmap.h"

#include <algorithm>
#include <bit>

namespace platform {

static_assert(std::endian::native == std::endian::little,
    "pixels are shared with Cairo and libpng as little-endian 32-bit words");

Bitmap::Bitmap(int width, int height, Color fill)
{
    if (width <= 0 || height <= 0)
        return;
    width_ = width;
    height_ = height;
    pixels_.assign(std::size_t(width) * std::size_t(height), fill);
}

void Bitmap::fill(Color color)
{
    std::fill(pixels_.begin(), pixels_.end(), color);
}

bool Bitmap::has_transparency() const
{
    return std::any_of(pixels_.begin(), pixels_.end(), [](Color c) { return alpha_of(c) != 255; });
}

Bitmap Bitmap::enlarged(int factor) const
{
    if (factor <= 1 || is_empty())
        return *this;
    Bitmap result(width_ * factor, height_ * factor);
    for (int y = 0; y < result.height_; ++y) {
        const Color* source = row(y / factor);
        Color* target = result.row(y);
        for (int x = 0; x < result.width_; ++x)
            target[x] = source[x / factor];
    }
    return result;
}

int brightness_of(Color color)
{
    // Weights sum to 256, so r = g = b gives back the grey level exactly.
    return (red_of(color) * 77 + green_of(color) * 150 + blue_of(color) * 29) >> 8;
}

Mask::Mask(int width, int height, int depth)
    : depth_(depth == 8 ? 8 : 1)
{
    if (width <= 0 || height <= 0)
        return;
    width_ = width;
    height_ = height;
    values_.assign(std::size_t(width) * std::size_t(height), 0);
}

Mask Mask::from_brightness(const Bitmap& image, int depth)
{
    Mask mask(image.width(), image.height(), depth);
    for (int y = 0; y < mask.height_; ++y) {
        const Color* source = image.row(y);
        for (int x = 0; x < mask.width_; ++x) {
            int level = brightness_of(source[x]);
            mask.set_value(x, y, std::uint8_t(mask.depth_ == 8 ? level : (level >= 128 ? 1 : 0)));
        }
    }
    return mask;
}

Mask Mask::from_alpha(const Bitmap& image)
{
    Mask mask(image.width(), image.height(), 8);
    for (int y = 0; y < mask.height_; ++y) {
        const Color* source = image.row(y);
        for (int x = 0; x < mask.width_; ++x)
            mask.set_value(x, y, std::uint8_t(alpha_of(source[x])));
    }
    return mask;
}

Mask Mask::enlarged(int factor) const
{
    if (factor <= 1 || is_empty())
        return *this;
    Mask result(width_ * factor, height_ * factor, depth_);
    for (int y = 0; y < result.height_; ++y) {
        for (int x = 0; x < result.width_; ++x)
            result.set_value(x, y, value(x / factor, y / factor));
    }
    return result;
}

} // namespace platform
