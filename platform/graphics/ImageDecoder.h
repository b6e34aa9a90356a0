#pragma once

#include "platform/graphics/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace platform {

enum class ImageType { Png, Bmp, Gif, Jpeg };

// Largest width and height that decoding accepts.
constexpr int MAX_IMAGE_SIDE = 10000;

// Decodes an image file held in memory. Only the decoder of the given type
// is tried, whatever the bytes look like. Fails on damaged or truncated
// data and on images wider or taller than MAX_IMAGE_SIDE. The result keeps
// the image's alpha (opaque when the format has none).
std::optional<Bitmap> decode_image(const std::uint8_t* data, std::size_t size, ImageType type);

} // namespace platform
