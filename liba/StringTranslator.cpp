#include "liba/StringTranslator.h"

#include "platform/Convert.h"
#include "platform/LittleEndian.h"

namespace liba {

namespace {

// The wide white-space class of the platform's C library (iswspace in a
// Unicode locale): the ASCII controls 9 to 13, the space and the Unicode
// spaces that are not no-break spaces.
bool is_space(char16_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1680 || (c >= 0x2000 && c <= 0x2006)
        || (c >= 0x2008 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x205F || c == 0x3000;
}

bool is_line_end(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

} // namespace

bool StringTranslator::load(StreamReader& file, const std::u16string& path)
{
    if (file.has_errors())
        return false;
    std::uint32_t size = file.size();
    std::uint32_t position = file.tell();
    std::string bytes(size > position ? size - position : 0, '\0');
    std::u16string text;
    if (file.read(bytes.data(), static_cast<std::uint32_t>(bytes.size())) == bytes.size())
        text = decode(bytes);
    entries_.clear();
    parse(text);
    path_ = path;
    return true;
}

std::u16string StringTranslator::decode(std::string_view bytes)
{
    std::size_t n = bytes.size();
    if (n % 2 != 0 || n < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF
        || static_cast<unsigned char>(bytes[1]) != 0xFE)
        return platform::narrow_to_wide(bytes);
    auto units = reinterpret_cast<const std::uint8_t*>(bytes.data()) + 2;
    std::u16string text((n - 2) / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(platform::read_u16le(units + 2 * i));
    return text;
}

void StringTranslator::parse(std::u16string_view text)
{
    std::size_t i = 0;
    const std::size_t end = text.size();
    while (i < end) {
        while (i < end && is_space(text[i]))
            ++i;
        if (i == end)
            break;
        std::size_t token_start = i;
        while (i < end && !is_space(text[i]))
            ++i;
        std::u16string_view token = text.substr(token_start, i - token_start);

        bool comment = token.size() >= 2 && token[0] == u'/' && token[1] == u'/';
        std::u16string_view key = token;
        if (!comment && token.back() == u'=') {
            key = token.substr(0, token.size() - 1);
        } else {
            // The value starts at the first non-blank character after the
            // key, but never on a later line: a key alone on its line gets
            // an empty value and the next line stays an entry of its own.
            while (i < end && is_space(text[i]) && !is_line_end(text[i]))
                ++i;
        }
        std::size_t value_start = i;
        while (i < end && !is_line_end(text[i]))
            ++i;
        if (!comment && !key.empty())
            entries_[std::u16string(key)]
                = std::u16string(text.substr(value_start, i - value_start));
    }
}

std::u16string StringTranslator::translate(
    const std::u16string& key, const std::u16string& fallback) const
{
    auto found = entries_.find(key);
    return found == entries_.end() ? fallback : found->second;
}

} // namespace liba
