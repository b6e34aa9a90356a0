#include "tools/ringwise-tool/ToolFields.h"

#include <charconv>

#include "platform/Convert.h"

#include <cstdio>

namespace tool {

void print_fields(const std::vector<std::u16string>& fields)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += '\t';
        std::string field = platform::to_utf8(fields[i]);
        for (char& c : field) {
            if (c == '\t' || c == '\n' || c == '\r')
                c = ' ';
        }
        line += field;
    }
    line += '\n';
    std::fputs(line.c_str(), stdout);
}

bool parse_id(const std::string& text, int& id)
{
    std::size_t end = 0;
    return !text.empty() && text.find_first_of(" \t") == std::string::npos
        && platform::text_to_int(text, id, &end) && end == text.size();
}

std::optional<skinner::Point> parse_size(const std::string& text)
{
    auto x = text.find('x');
    if (x == std::string::npos)
        return std::nullopt;
    skinner::Point size;
    auto [end_w, error_w] = std::from_chars(text.data(), text.data() + x, size.x);
    auto [end_h, error_h] = std::from_chars(text.data() + x + 1, text.data() + text.size(), size.y);
    if (error_w != std::errc() || error_h != std::errc() || end_w != text.data() + x
        || end_h != text.data() + text.size() || size.x < 0 || size.y < 0)
        return std::nullopt;
    return size;
}

} // namespace tool
