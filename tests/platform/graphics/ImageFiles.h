#pragma once

// Builders of small image files for tests of the decoders and of skins.

#include "platform/LittleEndian.h"
#include "platform/graphics/Bitmap.h"

#include <cstdint>
#include <vector>

namespace test_images {

// A bottom-up 24-bit BMP file of the bitmap (alpha dropped). The header can
// claim another size than the pixels written, to make damaged files.
inline std::vector<std::uint8_t> make_bmp24(
    const platform::Bitmap& image, int claimed_width = -1, int claimed_height = -1)
{
    int width = claimed_width < 0 ? image.width() : claimed_width;
    int height = claimed_height < 0 ? image.height() : claimed_height;
    std::uint32_t row_bytes = (24 * std::uint32_t(image.width()) + 31) / 32 * 4;
    std::uint32_t pixel_bytes = row_bytes * std::uint32_t(image.height());
    using platform::append_u16le;
    using platform::append_u32le;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    append_u32le(out, 54 + pixel_bytes);
    append_u32le(out, 0);
    append_u32le(out, 54);
    append_u32le(out, 40);
    append_u32le(out, std::uint32_t(width));
    append_u32le(out, std::uint32_t(height));
    append_u16le(out, 1);
    append_u16le(out, 24);
    append_u32le(out, 0);
    append_u32le(out, pixel_bytes);
    append_u32le(out, 2835);
    append_u32le(out, 2835);
    append_u32le(out, 0);
    append_u32le(out, 0);
    for (int y = image.height() - 1; y >= 0; --y) {
        std::uint32_t written = 0;
        for (int x = 0; x < image.width(); ++x, written += 3) {
            platform::Color c = image.pixel(x, y);
            out.push_back(std::uint8_t(platform::blue_of(c)));
            out.push_back(std::uint8_t(platform::green_of(c)));
            out.push_back(std::uint8_t(platform::red_of(c)));
        }
        for (; written < row_bytes; ++written)
            out.push_back(0);
    }
    return out;
}

// A 2 x 1 GIF: a red pixel, then a pixel of the transparent colour index.
inline std::vector<std::uint8_t> make_gif_red_and_transparent()
{
    return { 'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0x80, 0, 0,
        // global colour table: red, black
        0xFF, 0, 0, 0, 0, 0,
        // graphic control extension: transparent colour index 1
        0x21, 0xF9, 4, 0x01, 0, 0, 1, 0,
        // image descriptor
        0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0,
        // LZW data, minimum code size 2: clear, 0, 1, end
        2, 2, 0x44, 0x0A, 0, 0x3B };
}

} // namespace test_images
