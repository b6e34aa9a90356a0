#include "platform/graphics/ImageDecoder.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <png.h>

#include <algorithm>
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
