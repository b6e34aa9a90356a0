#include "skinner/FontDescription.h"

#include "platform/Convert.h"

namespace skinner {

FontDescription FontDescription::parse(const std::u16string& specification, int scale)
{
    FontDescription font;
    font.scale = scale;
    std::u16string_view rest = specification;
    int values[4] = {};
    int count = 0;
    while (count < 4) {
        std::size_t end = 0;
        if (!platform::text_to_int(rest, values[count], &end))
            break;
        rest.remove_prefix(end);
        ++count;
    }
    if (count > 0)
        font.size = values[0];
    if (count > 1)
        font.bold = values[1] != 0;
    if (count > 2)
        font.italic = values[2] != 0;
    if (count > 3)
        font.underline = values[3] != 0;
    if (count == 4) {
        std::size_t start = 0;
        while (start < rest.size() && (rest[start] == u' ' || rest[start] == u'\t'))
            ++start;
        if (start < rest.size())
            font.face = std::u16string(rest.substr(start));
    }
    return font;
}

} // namespace skinner
