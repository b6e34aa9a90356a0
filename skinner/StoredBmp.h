#pragma once

#include "platform/graphics/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace skinner {

// Reads an uncompressed BMP file as skins store it in their archives: the
// 14-byte file header, the information header, the palette for 8 bits per
// pixel or less, then the rows of pixels from the file header's data
// offset, each padded to 4 bytes. 1, 4, 8, 16, 24 and 32 bits per pixel;
// rows bottom-up, or top-down for a negative height; 16 and 32 bits may
// carry bit-field masks. Everything is checked against the bytes at hand;
// sizes above 10000 x 10000 are refused. `pixel_bytes` receives the number
// of pixel bytes read.
std::optional<platform::Bitmap> read_stored_bmp(
    const std::uint8_t* data, std::size_t size, std::uint32_t* pixel_bytes = nullptr);

} // namespace skinner
