// Parses arbitrary bytes as an XML document and walks it the way the
// settings and command loaders do.
#include "os/Xml.h"

#include <cstddef>
#include <cstdint>

namespace {

void walk(const os::XmlNode& node, int depth)
{
    if (depth > 64)
        return;
    int count = os::child_count(node);
    for (int i = 0; i < count; ++i) {
        os::XmlNode child = os::child_at(node, i);
        std::u16string text;
        int number = 0;
        bool flag = false;
        os::get_attribute(child, u"id", number);
        os::get_attribute(child, u"name", text);
        os::get_attribute(child, u"PlaySound", flag);
        walk(child, depth + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    os::XmlNode document = os::parse_xml(data, size);
    walk(document, 0);
    os::find_child(os::find_child(document, u"Settings"), u"General");
    return 0;
}
