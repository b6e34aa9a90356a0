#include "platform/graphics/ImageDecoder.h"

#include "platform/LittleEndian.h"

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

// The BMP loader sizes its work from the headers before it reports the
// image size: it buffers everything between the headers and the pixel data
// (the palette and the colour masks), then one row at a time from the width
// and the bit count. A header that promises more than the file holds, or
// that the loader would refuse later anyway, is turned away before any byte
// reaches it.
bool plausible_bmp(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t FILE_HEADER = 14;
    if (size < FILE_HEADER + 12 || data[0] != 'B' || data[1] != 'M')
        return false;
    std::uint32_t header_size = read_u32le(data + 14);
    bool core = header_size == 12;
    switch (header_size) {
    case 12:
    case 40:
    case 52:
    case 56:
    case 64:
    case 108:
    case 124:
        break;
    default:
        return false;
    }
    if (FILE_HEADER + header_size > size)
        return false;
    // Everything before the pixels is buffered at once, so the pixels must
    // start inside the bytes we have, after the headers.
    std::uint32_t pixel_offset = read_u32le(data + 10);
    if (pixel_offset > size || pixel_offset < FILE_HEADER + header_size)
        return false;
    std::size_t gap = pixel_offset - FILE_HEADER - header_size;

    long long width = 0, height = 0;
    std::uint32_t planes = 0, bit_count = 0, compression = 0, image_size = 0, colours = 0;
    if (core) {
        width = read_u16le(data + 18);
        height = read_u16le(data + 20);
        planes = read_u16le(data + 22);
        bit_count = read_u16le(data + 24);
    } else {
        width = read_i32le(data + 18);
        height = read_i32le(data + 22);
        planes = read_u16le(data + 26);
        bit_count = read_u16le(data + 28);
        compression = read_u32le(data + 30);
        image_size = read_u32le(data + 34);
        colours = read_u32le(data + 46);
    }
    if (!acceptable_size(width, height < 0 ? -height : height) || planes != 1)
        return false;
    switch (bit_count) {
    case 1:
    case 4:
    case 8:
    case 24:
        break;
    case 16:
    case 32:
        if (core)
            return false;
        break;
    default:
        return false;
    }
    constexpr std::uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;
    switch (compression) {
    case BI_RGB:
        break;
    case BI_RLE8:
    case BI_RLE4:
        // Run-length data is drawn bottom-up and only at its own depth.
        if (bit_count != (compression == BI_RLE8 ? 8u : 4u) || height < 0)
            return false;
        break;
    case BI_BITFIELDS:
        // The three masks follow a 40-byte header inside the gap.
        if ((bit_count != 16 && bit_count != 32) || (header_size == 40 && gap < 12))
            return false;
        break;
    default:
        return false;
    }
    // A stored pixel size is not a buffer size, but one beyond the file is a
    // damaged header.
    if (image_size > size)
        return false;
    // A palette holds at most one entry per index, and all of it must lie in
    // the gap that the loader buffers.
    if (bit_count <= 8) {
        std::uint64_t entries = colours ? colours : 1u << bit_count;
        if (entries > (1u << bit_count) || entries * (core ? 3 : 4) > gap)
            return false;
    } else if (std::uint64_t(colours) * 4 > size) {
        return false;
    }
    return true;
}

// The GIF loader makes a buffer for every frame as its descriptor arrives,
// so every frame, all frames together and the logical screen are checked
// before decoding.
bool plausible_gif(const std::uint8_t* data, std::size_t size)
{
    if (size < 13 || std::memcmp(data, "GIF", 3) != 0)
        return false;
    if (!acceptable_size(read_u16le(data + 6), read_u16le(data + 8)))
        return false;
    std::size_t at = 13;
    std::uint64_t frame_pixels = 0;
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
            // Only the extensions of the format, each with the block sizes
            // it prescribes: the loader reads some of them by their fixed
            // layout, and a walk that read them otherwise would lose step
            // with it and miss a frame's descriptor.
            if (at + 2 > size)
                return false;
            std::uint8_t label = data[at];
            std::uint8_t first = data[at + 1];
            if (label == 0xF9) {
                if (first != 4 || at + 7 > size || data[at + 6] != 0)
                    return false;
                at += 7;
                continue;
            }
            if ((label == 0x01 && first != 12) || (label == 0xFF && first != 11)
                || (label != 0x01 && label != 0xFF && label != 0xFE))
                return false;
            ++at;
            skip_sub_blocks();
        } else if (block == 0x2C) {
            if (at + 9 > size)
                return false;
            std::uint32_t width = read_u16le(data + at + 4), height = read_u16le(data + at + 6);
            if (!acceptable_size(width, height))
                return false;
            // Every frame of an animation keeps its own buffer, so all of
            // them together must fit in one largest picture.
            frame_pixels += std::uint64_t(width) * height;
            if (frame_pixels > std::uint64_t(MAX_IMAGE_SIDE) * MAX_IMAGE_SIDE)
                return false;
            std::uint8_t flags = data[at + 8];
            at += 9;
            if (flags & 0x80)
                at += 3u << ((flags & 7) + 1);
            ++at;
            skip_sub_blocks();
        } else {
            // The loader skips bytes it does not know and reads on, so a
            // frame after them would escape the checks above.
            return false;
        }
    }
    return true;
}

struct LoaderDeleter {
    void operator()(GdkPixbufLoader* loader) const { g_object_unref(loader); }
};

void on_size_prepared(GdkPixbufLoader* loader, int width, int height, gpointer too_large)
{
    if (acceptable_size(width, height))
        return;
    *static_cast<bool*>(too_large) = true;
    // Asking for an empty image makes every loader stop here, before it
    // allocates the image or, for JPEG, the decompressor's buffers.
    gdk_pixbuf_loader_set_size(loader, 0, 0);
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
