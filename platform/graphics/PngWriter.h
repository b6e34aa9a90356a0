#pragma once

#include "platform/graphics/Bitmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Encodes a bitmap as a PNG with alpha; an empty result on failure.
std::vector<std::uint8_t> encode_png(const Bitmap& bitmap);
// Writes a bitmap as a PNG file (UTF-8 path); false on failure.
bool write_png(const Bitmap& bitmap, const std::string& path);

} // namespace platform
