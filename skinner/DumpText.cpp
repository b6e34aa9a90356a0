#include "skinner/DumpText.h"

#include "platform/Convert.h"

namespace skinner {

std::string dump_text(std::u16string_view text)
{
    std::string utf8 = platform::to_utf8(text);
    std::string escaped;
    escaped.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
        case '\n':
            escaped += "\\n";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '\\':
            escaped += "\\\\";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

} // namespace skinner
