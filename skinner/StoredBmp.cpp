#include "skinner/StoredBmp.h"

#include "platform/LittleEndian.h"
#include "platform/graphics/ImageDecoder.h"

#include <algorithm>
#include <bit>

namespace skinner {

namespace {

constexpr std::size_t FILE_HEADER_SIZE = 14;
constexpr std::size_t INFO_HEADER_SIZE = 40;
constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_BITFIELDS = 3;

// One colour channel taken out of a pixel word by its bit-field mask and
// widened to 8 bits.
struct Field {
    std::uint32_t mask { 0 };
    int shift { 0 };
    int bits { 0 };

    explicit Field(std::uint32_t field_mask)
        : mask(field_mask)
    {
        if (mask) {
            shift = std::countr_zero(mask);
            bits = std::popcount(mask >> shift);
        }
    }

    int value(std::uint32_t word) const
    {
        if (!mask)
            return 0;
        std::uint32_t v = (word & mask) >> shift;
        if (bits >= 8)
            return int(v >> (bits - 8));
        std::uint32_t largest = (1u << bits) - 1;
        return int((v * 255 + largest / 2) / largest);
    }
};

} // namespace

std::optional<platform::Bitmap> read_stored_bmp(
    const std::uint8_t* data, std::size_t size, std::uint32_t* pixel_bytes)
{
    if (!data || size < FILE_HEADER_SIZE + INFO_HEADER_SIZE || data[0] != 'B' || data[1] != 'M')
        return std::nullopt;
    std::uint32_t pixel_offset = platform::read_u32le(data + 10);
    const std::uint8_t* info = data + FILE_HEADER_SIZE;
    std::uint32_t info_size = platform::read_u32le(info);
    long long width = platform::read_i32le(info + 4);
    long long signed_height = platform::read_i32le(info + 8);
    std::uint32_t bit_count = platform::read_u16le(info + 14);
    std::uint32_t compression = platform::read_u32le(info + 16);
    bool top_down = signed_height < 0;
    long long height = top_down ? -signed_height : signed_height;
    if (info_size < INFO_HEADER_SIZE || info_size > size - FILE_HEADER_SIZE)
        return std::nullopt;
    if (width <= 0 || height <= 0 || width > platform::MAX_IMAGE_SIDE
        || height > platform::MAX_IMAGE_SIDE)
        return std::nullopt;

    Field red(0x00FF0000), green(0x0000FF00), blue(0x000000FF);
    switch (bit_count) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (compression != BI_RGB)
            return std::nullopt;
        break;
    case 16:
    case 32:
        if (compression == BI_BITFIELDS) {
            // The three masks follow the 40-byte header.
            if (size < FILE_HEADER_SIZE + INFO_HEADER_SIZE + 12)
                return std::nullopt;
            const std::uint8_t* masks = info + INFO_HEADER_SIZE;
            red = Field(platform::read_u32le(masks));
            green = Field(platform::read_u32le(masks + 4));
            blue = Field(platform::read_u32le(masks + 8));
        } else if (compression != BI_RGB) {
            return std::nullopt;
        } else if (bit_count == 16) {
            red = Field(0x7C00);
            green = Field(0x03E0);
            blue = Field(0x001F);
        }
        break;
    default:
        return std::nullopt;
    }

    std::size_t palette_start = FILE_HEADER_SIZE + info_size;
    std::size_t palette_count = bit_count <= 8 ? std::size_t(1) << bit_count : 0;
    if (palette_count && palette_start + palette_count * 4 > size)
        return std::nullopt;
    std::uint64_t row_bytes = (std::uint64_t(bit_count) * std::uint64_t(width) + 31) / 32 * 4;
    std::uint64_t total = row_bytes * std::uint64_t(height);
    if (pixel_offset < palette_start + palette_count * 4 || pixel_offset > size
        || total > size - pixel_offset)
        return std::nullopt;

    platform::Bitmap bitmap { static_cast<int>(width), static_cast<int>(height) };
    for (long long row = 0; row < height; ++row) {
        const std::uint8_t* source = data + pixel_offset + std::size_t(row) * row_bytes;
        platform::Color* target = bitmap.row(int(top_down ? row : height - 1 - row));
        for (long long x = 0; x < width; ++x) {
            std::uint32_t word = 0;
            switch (bit_count) {
            case 1:
            case 4:
            case 8: {
                std::uint64_t bit = std::uint64_t(x) * bit_count;
                std::uint32_t index
                    = (source[bit / 8] >> (8 - bit_count - bit % 8)) & ((1u << bit_count) - 1);
                const std::uint8_t* entry = data + palette_start + index * 4;
                target[x] = platform::make_color(entry[2], entry[1], entry[0]);
                continue;
            }
            case 16:
                word = platform::read_u16le(source + x * 2);
                break;
            case 24:
                word
                    = platform::read_u16le(source + x * 3) | std::uint32_t(source[x * 3 + 2]) << 16;
                break;
            case 32:
                word = platform::read_u32le(source + x * 4);
                break;
            }
            target[x] = platform::make_color(red.value(word), green.value(word), blue.value(word));
        }
    }
    if (pixel_bytes)
        *pixel_bytes = std::uint32_t(total);
    return bitmap;
}

} // namespace skinner
