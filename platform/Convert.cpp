#include "platform/Convert.h"

#include "platform/LittleEndian.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iconv.h>
#include <memory>
#include <mutex>
#include <vector>

namespace platform {

namespace {

template<typename... Args> std::string format(const char* pattern, Args... args)
{
    char text[512];
    int length = std::snprintf(text, sizeof text, pattern, args...);
    if (length < 0)
        return {};
    if (static_cast<std::size_t>(length) < sizeof text)
        return std::string(text, static_cast<std::size_t>(length));
    // Very large doubles print more than 300 digits with "%f".
    std::string long_text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(long_text.data(), long_text.size(), pattern, args...);
    long_text.resize(static_cast<std::size_t>(length));
    return long_text;
}

template<typename Char> bool is_space(Char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

template<typename Char>
bool parse_int(std::basic_string_view<Char> text, int& value, std::size_t* end)
{
    std::size_t position = 0;
    while (position < text.size() && is_space(text[position]))
        ++position;
    if (position == text.size())
        return false;
    bool negative = false;
    if (text[position] == '+' || text[position] == '-') {
        negative = text[position] == '-';
        ++position;
        if (position == text.size())
            return false;
    }
    if (text[position] < '0' || text[position] > '9') {
        value = 0;
        if (end)
            *end = position;
        return false;
    }
    // Unsigned arithmetic: digits beyond the range wrap instead of
    // overflowing a signed value.
    std::uint32_t result = 0;
    while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
        result = result * 10u + static_cast<std::uint32_t>(text[position] - '0');
        ++position;
    }
    if (negative)
        result = 0u - result;
    value = static_cast<int>(result);
    if (end)
        *end = position;
    return true;
}

// The code page as two tables: byte to character, and character to byte.
struct CodePage {
    std::string name;
    std::array<char16_t, 256> to_wide {};
    std::unique_ptr<std::array<unsigned char, 65536>> to_narrow;
};

char16_t convert_byte(iconv_t converter, unsigned char byte)
{
    char input[1] = { static_cast<char>(byte) };
    char output[8];
    char* in = input;
    char* out = output;
    std::size_t in_left = 1;
    std::size_t out_left = sizeof output;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &in, &in_left, &out, &out_left) == static_cast<std::size_t>(-1)
        || out_left != sizeof output - 2)
        return byte;
    return static_cast<char16_t>(read_u16le(reinterpret_cast<const std::uint8_t*>(output)));
}

void build(CodePage& page, const std::string& name)
{
    page.name = name;
    iconv_t converter = iconv_open("UTF-16LE", name.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1))
        converter = iconv_open("UTF-16LE", "CP1252");
    for (int byte = 0; byte < 256; ++byte) {
        auto b = static_cast<unsigned char>(byte);
        page.to_wide[b]
            = converter == reinterpret_cast<iconv_t>(-1) ? b : convert_byte(converter, b);
    }
    if (converter != reinterpret_cast<iconv_t>(-1))
        iconv_close(converter);

    page.to_narrow = std::make_unique<std::array<unsigned char, 65536>>();
    page.to_narrow->fill('?');
    // From the top down, so that a character two bytes share maps to the lower byte.
    for (int byte = 255; byte >= 0; --byte)
        (*page.to_narrow)[page.to_wide[static_cast<std::size_t>(byte)]]
            = static_cast<unsigned char>(byte);
}

std::mutex code_page_mutex;
// Every table built stays alive: another thread may still read an older one.
std::vector<std::unique_ptr<CodePage>> code_pages;

// The tables of the code page the environment names now. They are rebuilt
// only when RINGWISE_CODEPAGE changes, which in practice means once.
const CodePage& current_code_page()
{
    const char* variable = std::getenv("RINGWISE_CODEPAGE");
    std::string name = variable && *variable ? variable : "CP1252";
    std::lock_guard lock(code_page_mutex);
    if (code_pages.empty() || code_pages.back()->name != name) {
        auto page = std::make_unique<CodePage>();
        build(*page, name);
        code_pages.push_back(std::move(page));
    }
    return *code_pages.back();
}

constexpr char32_t REPLACEMENT = 0xFFFD;

void append_utf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void append_utf16(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

} // namespace

std::string to_text(int value)
{
    return format("%d", value);
}
std::string to_text(long value)
{
    return format("%ld", value);
}
std::string to_text(double value)
{
    return format("%f", value);
}

bool text_to_int(std::string_view text, int& value, std::size_t* end)
{
    return parse_int(text, value, end);
}
bool text_to_int(std::u16string_view text, int& value, std::size_t* end)
{
    return parse_int(text, value, end);
}

std::u16string narrow_to_wide(std::string_view text)
{
    const CodePage& page = current_code_page();
    std::u16string wide(text.size(), u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        wide[i] = page.to_wide[static_cast<unsigned char>(text[i])];
    return wide;
}

std::string wide_to_narrow(std::u16string_view text)
{
    const CodePage& page = current_code_page();
    std::string narrow(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        narrow[i] = static_cast<char>((*page.to_narrow)[text[i]]);
    return narrow;
}

std::string to_utf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00
            && text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = REPLACEMENT;
        }
        append_utf8(out, c);
    }
    return out;
}

std::u16string from_utf8(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        int extra;
        char32_t c;
        if (lead < 0x80) {
            extra = 0;
            c = lead;
        } else if (lead >= 0xC2 && lead < 0xE0) {
            extra = 1;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            extra = 2;
            c = lead & 0x0F;
        } else if (lead >= 0xF0 && lead < 0xF5) {
            extra = 3;
            c = lead & 0x07;
        } else {
            out += static_cast<char16_t>(REPLACEMENT);
            ++i;
            continue;
        }
        std::size_t next = i + 1;
        bool valid = true;
        for (int k = 0; k < extra; ++k, ++next) {
            if (next >= text.size() || (static_cast<unsigned char>(text[next]) & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            c = (c << 6) | (static_cast<unsigned char>(text[next]) & 0x3F);
        }
        // Overlong forms, surrogates and values beyond U+10FFFF are malformed.
        if (valid
            && ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF))
                || (c >= 0xD800 && c < 0xE000)))
            valid = false;
        if (!valid) {
            out += static_cast<char16_t>(REPLACEMENT);
            i = std::max(next, i + 1);
            continue;
        }
        append_utf16(out, c);
        i = next;
    }
    return out;
}

char16_t to_lower(char16_t c)
{
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? static_cast<char16_t>(c + 32) : c;
    // Latin-1 capitals, except the multiplication sign.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<char16_t>(c + 32);
    // Latin Extended-A: capital and small letters alternate.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return static_cast<char16_t>(c | 1);
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1) ? static_cast<char16_t>(c + 1) : c;
    if (c == 0x178)
        return 0xFF;
    // Greek capitals (the gap at U+03A2 has no letter).
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return static_cast<char16_t>(c + 32);
    // Cyrillic.
    if (c >= 0x400 && c <= 0x40F)
        return static_cast<char16_t>(c + 80);
    if (c >= 0x410 && c <= 0x42F)
        return static_cast<char16_t>(c + 32);
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x4FF))
        return static_cast<char16_t>(c | 1);
    return c;
}

std::u16string to_lower(std::u16string_view text)
{
    std::u16string lower(text);
    for (char16_t& c : lower)
        c = to_lower(c);
    return lower;
}

bool equal_ignoring_case(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (to_lower(a[i]) != to_lower(b[i]))
            return false;
    }
    return true;
}

} // namespace platform
