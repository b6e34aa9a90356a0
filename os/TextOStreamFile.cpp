#include "os/TextOStreamFile.h"

#include "platform/LittleEndian.h"

#include <bit>
#include <cstdint>

namespace os {

template<typename C>
TextOStreamFile<C>::TextOStreamFile(const std::u16string& path)
    : file_(path, 1)
{
    static const unsigned char mark[] = { 0xFF, 0xFE };
    file_.write(mark, sizeof mark);
}

template<typename C> void TextOStreamFile<C>::write(const C* begin, const C* end)
{
    static_assert(sizeof(C) == 2, "the file holds UTF-16 code units");
    if (begin == end)
        return;
    if constexpr (std::endian::native == std::endian::little) {
        file_.write(begin, static_cast<std::uint32_t>((end - begin) * sizeof(C)));
    } else {
        std::uint8_t bytes[512];
        while (begin != end) {
            std::uint32_t count = 0;
            for (; begin != end && count < sizeof bytes; ++begin, count += 2)
                platform::write_u16le(bytes + count, static_cast<std::uint16_t>(*begin));
            file_.write(bytes, count);
        }
    }
}

template<typename C> void TextOStreamFile<C>::flush()
{
    file_.flush();
}

template class TextOStreamFile<char16_t>;

} // namespace os
