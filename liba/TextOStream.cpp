#include "liba/TextOStream.h"

#include "platform/Convert.h"

#include <charconv>

namespace liba {

namespace {

TextOStream<char16_t>& write_ascii(
    TextOStream<char16_t>& stream, const char* begin, const char* end)
{
    char16_t wide[512];
    std::size_t count = 0;
    for (const char* p = begin; p != end && count < sizeof wide / sizeof wide[0]; ++p)
        wide[count++] = static_cast<unsigned char>(*p);
    stream.write(wide, wide + count);
    return stream;
}

} // namespace

TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, const char16_t* text)
{
    if (text == nullptr)
        return stream;
    return stream << std::u16string_view(text);
}

TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, const std::u16string& text)
{
    return stream << std::u16string_view(text);
}

TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, std::u16string_view text)
{
    stream.write(text.data(), text.data() + text.size());
    return stream;
}

TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, char16_t character)
{
    stream.write(&character, &character + 1);
    return stream;
}

TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, int value)
{
    return write_integer(stream, static_cast<long long>(value));
}

TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, double value)
{
    // platform::to_text() formats as "%f" does; the widest double in fixed notation
    // has a few more than 300 digits, all of them ASCII.
    std::string text = platform::to_text(value);
    return write_ascii(stream, text.data(), text.data() + text.size());
}

TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, const char* text)
{
    if (text == nullptr)
        return stream;
    return stream << platform::narrow_to_wide(std::string_view(text));
}

TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, char character)
{
    return stream << platform::narrow_to_wide(std::string_view(&character, 1));
}

TextOStream<char16_t>& write_integer(TextOStream<char16_t>& stream, long long value)
{
    char text[24];
    auto result = std::to_chars(text, text + sizeof text, value);
    return write_ascii(stream, text, result.ptr);
}

TextOStream<char16_t>& write_integer(TextOStream<char16_t>& stream, unsigned long long value)
{
    char text[24];
    auto result = std::to_chars(text, text + sizeof text, value);
    return write_ascii(stream, text, result.ptr);
}

} // namespace liba
