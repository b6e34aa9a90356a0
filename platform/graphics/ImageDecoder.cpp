#include "platform/graphics/ImageDecoder.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <png.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace platform {

namespace {

bool acceptable_size(long long width, long long height)
{
    return width > 0 && height > 0 && width <= MAX_IMAGE_SIDE && height <= MAX_IMAGE_SIDE;
}

std::optional<Bitmap> decode_png(const std::uint8_t* data, std::size_t size)
{
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size))
        return std::nullopt;
    if (!acceptable_size(image.width, image.height)) {
        png_image_free(&image);
        return std::nullopt;
    }
    // BGRA bytes are our 0xAARRGGBB words; libpng converts palettes, grey,
    // 16-bit samples, tRNS and gAMA on the way.
    image.format = PNG_FORMAT_BGRA;
    Bitmap bitmap(int(image.width), int(image.height));
    if (!png_image_finish_read(&image, nullptr, bitmap.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return bitmap;
}

const char* loader_type(ImageType type)
{
    switch (type) {
    case ImageType::Bmp:
        return "bmp";
    case ImageType::Gif:
        return "gif";
    case ImageType::Jpeg:
        return "jpeg";
    case ImageType::Png:
        break;
    }
    return nullptr;
}

std::uint32_t little16(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8;
}
std::uint32_t little32(const std::uint8_t* p)
{
    return little16(p) | little16(p + 2) << 16;
}

// The BMP loader sizes buffers from the information header before it
// reports the image size, so absurd headers are turned away here.
bool plausible_bmp(const std::uint8_t* data, std::size_t size)
{
    if (size < 26 || data[0] != 'B' || data[1] != 'M')
        return false;
    std::uint32_t header_size = little32(data + 14);
    if (header_size == 12)
        return acceptable_size(little16(data + 18), little16(data + 20));
    if (header_size < 40 || header_size > 124)
        return false;
    long long height = std::int32_t(little32(data + 22));
    return acceptable_size(std::int32_t(little32(data + 18)), height < 0 ? -height : height);
}

// The GIF loader makes a buffer for every frame as its descriptor arrives,
// so every frame and the logical screen are checked before decoding.
bool plausible_gif(const std::uint8_t* data, std::size_t size)
{
    if (size < 13 || std::memcmp(data, "GIF", 3) != 0)
        return false;
    if (!acceptable_size(little16(data + 6), little16(data + 8)))
        return false;
    std::size_t at = 13;
    if (data[10] & 0x80)
        at += 3u << ((data[10] & 7) + 1);
    auto skip_sub_blocks = [&] {
        while (at < size && data[at] != 0)
            at += std::size_t(data[at]) + 1;
        ++at;
    };
    while (at < size) {
        std::uint8_t block = data[at++];
        if (block == 0x3B)
            break;
        if (block == 0x21) {
            ++at;
            skip_sub_blocks();
        } else if (block == 0x2C) {
            if (at + 9 > size)
                break;
            if (!acceptable_size(little16(data + at + 4), little16(data + at + 6)))
                return false;
            std::uint8_t flags = data[at + 8];
            at += 9;
            if (flags & 0x80)
                at += 3u << ((flags & 7) + 1);
            ++at;
            skip_sub_blocks();
        } else {
            break;
        }
    }
    return true;
}

struct LoaderDeleter {
    void operator()(GdkPixbufLoader* loader) const { g_object_unref(loader); }
};

void on_size_prepared(GdkPixbufLoader*, int width, int height, gpointer too_large)
{
    if (!acceptable_size(width, height))
        *static_cast<bool*>(too_large) = true;
}

std::optional<Bitmap> decode_with_pixbuf(const std::uint8_t* data, std::size_t size, ImageType type)
{
    if (type == ImageType::Bmp && !plausible_bmp(data, size))
        return std::nullopt;
    if (type == ImageType::Gif && !plausible_gif(data, size))
        return std::nullopt;
    bool too_large = false;
    std::unique_ptr<GdkPixbufLoader, LoaderDeleter> loader(
        gdk_pixbuf_loader_new_with_type(loader_type(type), nullptr));
    if (!loader)
        return std::nullopt;
    g_signal_connect(loader.get(), "size-prepared", G_CALLBACK(on_size_prepared), &too_large);

    // Feed in pieces so that an oversized header stops the decoding before
    // the loader allocates the image.
    constexpr std::size_t PIECE = 4096;
    bool written = true;
    for (std::size_t offset = 0; offset < size && written && !too_large; offset += PIECE) {
        written = gdk_pixbuf_loader_write(
            loader.get(), data + offset, std::min(PIECE, size - offset), nullptr);
    }
    // Closing is required even after a failure; it reports truncated data.
    bool closed = gdk_pixbuf_loader_close(loader.get(), nullptr);
    if (!written || !closed || too_large)
        return std::nullopt;

    GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader.get());
    if (!pixbuf || gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB
        || gdk_pixbuf_get_bits_per_sample(pixbuf) != 8)
        return std::nullopt;
    int width = gdk_pixbuf_get_width(pixbuf);
    int height = gdk_pixbuf_get_height(pixbuf);
    int channels = gdk_pixbuf_get_n_channels(pixbuf);
    int stride = gdk_pixbuf_get_rowstride(pixbuf);
    if (!acceptable_size(width, height) || (channels != 3 && channels != 4))
        return std::nullopt;

    const guint8* pixels = gdk_pixbuf_read_pixels(pixbuf);
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        const guint8* source = pixels + std::size_t(y) * std::size_t(stride);
        Color* target = bitmap.row(y);
        for (int x = 0; x < width; ++x, source += channels)
            target[x]
                = make_color(source[0], source[1], source[2], channels == 4 ? source[3] : 255);
    }
    return bitmap;
}

} // namespace

std::optional<Bitmap> decode_image(const std::uint8_t* data, std::size_t size, ImageType type)
{
    if (!data || size == 0)
        return std::nullopt;
    if (type == ImageType::Png)
        return decode_png(data, size);
    return decode_with_pixbuf(data, size, type);
}

} // namespace platform
