// The direct reader of BMP files stored in skin archives.
#include "skinner/StoredBmp.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t pixel_bytes = 0;
    auto bitmap = skinner::read_stored_bmp(data, size, &pixel_bytes);
    if (bitmap && (pixel_bytes > size || bitmap->width() > 10000 || bitmap->height() > 10000))
        __builtin_trap();
    return 0;
}
