#include "skinner/TextLines.h"

#include "platform/graphics/TextRenderer.h"

namespace skinner {

namespace {

constexpr char16_t ELLIPSIS = u'\u2026';

platform::Size line_size(const platform::Font& font, const std::u16string& text)
{
    platform::Size size = platform::measure_text(font, text);
    // An empty line still takes the height of a line.
    if (text.empty())
        size.height = platform::measure_text(font, u" ").height;
    return size;
}

void break_paragraph(const platform::Font& font, const std::u16string& paragraph, int width,
    std::vector<TextLine>& lines)
{
    std::u16string line;
    std::size_t last_break = std::u16string::npos;
    for (char16_t unit : paragraph) {
        line.push_back(unit);
        if (unit <= 32)
            last_break = line.size() - 1;
        while (last_break != std::u16string::npos
            && platform::measure_text(font, line).width > width) {
            std::u16string head = line.substr(0, last_break);
            lines.push_back({ head, line_size(font, head) });
            line.erase(0, last_break + 1);
            last_break = std::u16string::npos;
            for (std::size_t i = line.size(); i-- > 0;) {
                if (line[i] <= 32) {
                    last_break = i;
                    break;
                }
            }
        }
    }
    lines.push_back({ line, line_size(font, line) });
}

} // namespace

std::vector<TextLine> break_lines(const platform::Font& font, const std::u16string& text,
    const std::u16string& separator, int width)
{
    std::vector<TextLine> lines;
    std::u16string paragraph;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool at_separator = !separator.empty() && text.compare(i, separator.size(), separator) == 0;
        if (text[i] != u'\n' && !at_separator) {
            paragraph.push_back(text[i]);
            continue;
        }
        if (at_separator)
            i += separator.size() - 1;
        break_paragraph(font, paragraph, width, lines);
        paragraph.clear();
    }
    break_paragraph(font, paragraph, width, lines);
    return lines;
}

std::u16string shorten_with_ellipsis(
    const platform::Font& font, const std::u16string& text, int width)
{
    if (platform::measure_text(font, text).width <= width)
        return text;
    // Binary search for the longest head that fits with the ellipsis.
    std::size_t low = 0;
    std::size_t high = text.size();
    while (low < high) {
        std::size_t middle = (low + high + 1) / 2;
        std::u16string candidate = text.substr(0, middle) + ELLIPSIS;
        if (platform::measure_text(font, candidate).width <= width)
            low = middle;
        else
            high = middle - 1;
    }
    return text.substr(0, low) + ELLIPSIS;
}

} // namespace skinner
