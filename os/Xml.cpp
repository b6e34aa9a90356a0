#include "os/Xml.h"

#include "os/FileReplacement.h"
#include "os/Path.h"
#include "platform/Convert.h"

#include <pugixml.hpp>

#include <filesystem>
#include <system_error>

namespace os {

namespace {

// Comments and processing instructions are nodes, as the device's parser
// keeps them; whitespace-only text between elements is not.
constexpr unsigned PARSE_OPTIONS
    = pugi::parse_default | pugi::parse_comments | pugi::parse_pi | pugi::parse_declaration;
constexpr unsigned SAVE_OPTIONS = pugi::format_raw | pugi::format_no_declaration;

struct BoolText {
    bool value;
    const char* text;
};

constexpr BoolText BOOL_TABLE[] = {
    { true, "true" },
    { false, "false" },
    { true, "True" },
    { false, "False" },
    { true, "TRUE" },
    { false, "FALSE" },
    { true, "1" },
    { false, "0" },
};

pugi::xml_node as_pugi(const XmlNode& node)
{
    return pugi::xml_node(node.node());
}

// Node names as a document object model reports them: elements and
// processing instructions by their name, the other kinds by a fixed name.
const char* node_name(const pugi::xml_node& node)
{
    switch (node.type()) {
    case pugi::node_pcdata:
        return "#text";
    case pugi::node_cdata:
        return "#cdata-section";
    case pugi::node_comment:
        return "#comment";
    case pugi::node_document:
        return "#document";
    default:
        return node.name();
    }
}

class StringWriter final : public pugi::xml_writer {
public:
    void write(const void* data, size_t size) override
    {
        bytes.append(static_cast<const char*>(data), size);
    }
    std::string bytes;
};

} // namespace

XmlNode::XmlNode(std::shared_ptr<pugi::xml_document> document, pugi::xml_node_struct* node)
    : document_(std::move(document))
    , node_(node)
{
    if (!node_)
        document_.reset();
}

XmlNode parse_xml(const void* bytes, std::size_t size)
{
    auto document = std::make_shared<pugi::xml_document>();
    if (!document->load_buffer(bytes, size, PARSE_OPTIONS, pugi::encoding_auto))
        return {};
    // A document needs a root element to be well formed.
    if (!document->document_element())
        return {};
    pugi::xml_node_struct* root = document->internal_object();
    return XmlNode(std::move(document), root);
}

XmlNode load_xml_file(const std::u16string& path)
{
    std::string native = native_path(expand_path(path));
    // Only a plain file is read: a folder of that name opens, but its size
    // is no length and the parser would ask for memory beyond any limit.
    std::error_code error;
    if (!std::filesystem::is_regular_file(native, error))
        return {};
    auto document = std::make_shared<pugi::xml_document>();
    if (!document->load_file(native.c_str(), PARSE_OPTIONS, pugi::encoding_auto))
        return {};
    if (!document->document_element())
        return {};
    pugi::xml_node_struct* root = document->internal_object();
    return XmlNode(std::move(document), root);
}

bool save_xml_file(const XmlNode& document, const std::u16string& path)
{
    pugi::xml_node node = as_pugi(document);
    if (node.type() != pugi::node_document)
        return false;
    StringWriter writer;
    node.print(writer, "", SAVE_OPTIONS, pugi::encoding_utf8);
    return replace_file(path, writer.bytes.data(), writer.bytes.size());
}

XmlNode new_xml_document()
{
    auto document = std::make_shared<pugi::xml_document>();
    pugi::xml_node_struct* root = document->internal_object();
    return XmlNode(std::move(document), root);
}

XmlNode find_child(const XmlNode& node, const std::u16string& name)
{
    std::string wanted = platform::to_utf8(name);
    for (pugi::xml_node child = as_pugi(node).first_child(); child; child = child.next_sibling()) {
        if (wanted == node_name(child))
            return XmlNode(node.document(), child.internal_object());
    }
    return {};
}

bool is_element(const XmlNode& node)
{
    return as_pugi(node).type() == pugi::node_element;
}

int child_count(const XmlNode& node)
{
    int count = 0;
    for (pugi::xml_node child = as_pugi(node).first_child(); child; child = child.next_sibling())
        ++count;
    return count;
}

XmlNode child_at(const XmlNode& node, int index)
{
    if (index < 0)
        return {};
    pugi::xml_node child = as_pugi(node).first_child();
    for (; child && index > 0; --index)
        child = child.next_sibling();
    return XmlNode(node.document(), child.internal_object());
}

XmlNode next_sibling(const XmlNode& node)
{
    return XmlNode(node.document(), as_pugi(node).next_sibling().internal_object());
}

XmlNode append_child(const XmlNode& node, const std::u16string& name)
{
    pugi::xml_node parent = as_pugi(node);
    if (parent.type() != pugi::node_document && parent.type() != pugi::node_element)
        return {};
    pugi::xml_node child = parent.append_child(platform::to_utf8(name).c_str());
    return XmlNode(node.document(), child.internal_object());
}

bool get_attribute(const XmlNode& node, const std::u16string& name, std::u16string& text)
{
    pugi::xml_node element = as_pugi(node);
    if (element.type() != pugi::node_element)
        return false;
    pugi::xml_attribute attribute = element.attribute(platform::to_utf8(name).c_str());
    if (!attribute)
        return false;
    text = platform::from_utf8(attribute.value());
    return true;
}

void set_attribute(const XmlNode& node, const std::u16string& name, const std::u16string& text)
{
    pugi::xml_node element = as_pugi(node);
    if (element.type() != pugi::node_element)
        return;
    std::string key = platform::to_utf8(name);
    pugi::xml_attribute attribute = element.attribute(key.c_str());
    if (!attribute)
        attribute = element.append_attribute(key.c_str());
    attribute.set_value(platform::to_utf8(text).c_str());
}

void set_attribute(const XmlNode& node, const std::u16string& name, const char16_t* text)
{
    set_attribute(node, name, std::u16string(text ? text : u""));
}

bool get_attribute(const XmlNode& node, const std::u16string& name, bool& value)
{
    std::u16string text;
    if (!get_attribute(node, name, text))
        return false;
    for (const BoolText& entry : BOOL_TABLE) {
        if (text == platform::from_utf8(entry.text)) {
            value = entry.value;
            return true;
        }
    }
    return false;
}

void set_attribute(const XmlNode& node, const std::u16string& name, bool value)
{
    set_attribute(node, name, value ? std::u16string(u"true") : std::u16string(u"false"));
}

bool get_attribute(const XmlNode& node, const std::u16string& name, int& value)
{
    std::u16string text;
    if (!get_attribute(node, name, text))
        return false;
    return platform::text_to_int(text, value);
}

void set_attribute(const XmlNode& node, const std::u16string& name, long value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%ld", value);
    set_attribute(node, name, platform::from_utf8(text));
}

void set_attribute(const XmlNode& node, const std::u16string& name, int value)
{
    set_attribute(node, name, static_cast<long>(value));
}

} // namespace os
