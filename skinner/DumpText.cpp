#include "skinner/DumpText.h"

#include "platform/Convert.h"

namespace skinner {

std::string dump_text(const std::u16string& text)
{
    std::string result;
    for (char c : platform::to_utf8(text)) {
        switch (c) {
        case '\n':
            result += "\\n";
            break;
        case '\t':
            result += "\\t";
            break;
        case '\\':
            result += "\\\\";
            break;
        default:
            result += c;
        }
    }
    return result;
}

} // namespace skinner
