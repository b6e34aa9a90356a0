#include "app/CommandLineNumber.h"

#include <algorithm>
#include <limits>

namespace {

bool is_blank(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

} // namespace

std::optional<std::int32_t> parse_command_line_number(const std::u16string& text)
{
    std::size_t at = 0;
    while (at < text.size() && is_blank(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        negative = text[at] == u'-';
        ++at;
    }
    const std::int64_t limit = negative
        ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
        : std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    std::size_t digits = 0;
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at, ++digits)
        value = std::min<std::int64_t>(limit, value * 10 + (text[at] - u'0'));
    if (digits == 0)
        return std::nullopt;
    return static_cast<std::int32_t>(negative ? -value : value);
}
