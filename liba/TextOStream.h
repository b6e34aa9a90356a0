#pragma once

#include <concepts>
#include <string>
#include <string_view>

namespace liba {

// A sink for text of characters C (UTF-16 code units in this program). Lines
// are written piece by piece with the output operators below; nothing adds or
// converts line endings, so every writer ends its line with "\n" itself.
template<typename C> class TextOStream {
public:
    virtual ~TextOStream() = default;

    virtual void write(const C* begin, const C* end) = 0;
    virtual void flush() = 0;
};

TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, const char16_t* text);
TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, const std::u16string& text);
TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, std::u16string_view text);
TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, char16_t character);

// Decimal, as "%d" writes it.
TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, int value);

// Six decimals, as "%f" writes it.
TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, double value);

// Single-byte text through the device's code page, one character per byte.
TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, const char* text);
TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, char character);

// Every other integer type in full decimal, so that sizes and unsigned counts
// neither truncate nor pick the double overload.
TextOStream<char16_t>& write_integer(TextOStream<char16_t>& stream, long long value);
TextOStream<char16_t>& write_integer(TextOStream<char16_t>& stream, unsigned long long value);

template<std::integral T>
requires(!std::same_as<T,
             int> && !std::same_as<T, char16_t> && !std::same_as<T, char> && !std::same_as<T, bool>)
    TextOStream<char16_t>
&operator<<(TextOStream<char16_t>& stream, T value)
{
    if constexpr (std::is_signed_v<T>)
        return write_integer(stream, static_cast<long long>(value));
    else
        return write_integer(stream, static_cast<unsigned long long>(value));
}

} // namespace liba
