// Image decoding entry point: the first byte picks the expected type, the
// rest is the file.
#include "platform/graphics/ImageDecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    static constexpr platform::ImageType types[] = { platform::ImageType::Png,
        platform::ImageType::Bmp, platform::ImageType::Gif, platform::ImageType::Jpeg };
    auto type = types[data[0] % 4];
    auto bitmap = platform::decode_image(data + 1, size - 1, type);
    if (bitmap
        && (bitmap->width() > platform::MAX_IMAGE_SIDE
            || bitmap->height() > platform::MAX_IMAGE_SIDE))
        __builtin_trap();
    return 0;
}
