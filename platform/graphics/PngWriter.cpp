#include "platform/graphics/PngWriter.h"

#include <png.h>

#include <cstdio>

namespace platform {

namespace {

png_image describe(const Bitmap& bitmap)
{
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(bitmap.width());
    image.height = png_uint_32(bitmap.height());
    image.format = PNG_FORMAT_BGRA;
    return image;
}

} // namespace

std::vector<std::uint8_t> encode_png(const Bitmap& bitmap)
{
    if (bitmap.is_empty())
        return {};
    png_image image = describe(bitmap);
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, bitmap.data(), 0, nullptr))
        return {};
    std::vector<std::uint8_t> bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, bitmap.data(), 0, nullptr))
        return {};
    bytes.resize(size);
    return bytes;
}

bool write_png(const Bitmap& bitmap, const std::string& path)
{
    std::vector<std::uint8_t> bytes = encode_png(bitmap);
    if (bytes.empty())
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

} // namespace platform
