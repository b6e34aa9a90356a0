#include "tools/skinc/SkinSourceReader.h"

#include "platform/Convert.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <pugixml.hpp>

namespace skinc {

namespace {

class SourceError {
public:
    explicit SourceError(std::string message)
        : message(std::move(message))
    {
    }
    std::string message;
};

std::string where(const pugi::xml_node& element)
{
    std::string text = "<";
    text += element.name();
    if (auto name = element.attribute("name"))
        text += std::string(" name=\"") + name.value() + "\"";
    text += ">";
    return text;
}

[[noreturn]] void fail(const pugi::xml_node& element, const std::string& message)
{
    throw SourceError(where(element) + ": " + message);
}

void check_attributes(const pugi::xml_node& element, std::initializer_list<const char*> allowed)
{
    for (auto attribute : element.attributes()) {
        bool known = false;
        for (const char* name : allowed)
            known = known || std::strcmp(name, attribute.name()) == 0;
        if (!known)
            fail(element, std::string("unknown attribute \"") + attribute.name() + "\"");
    }
}

const char* required(const pugi::xml_node& element, const char* attribute)
{
    auto value = element.attribute(attribute);
    if (!value)
        fail(element, std::string("missing attribute \"") + attribute + "\"");
    return value.value();
}

std::u16string wide(const char* text)
{
    return platform::from_utf8(text);
}

// Whitespace-separated integers, each within [low, high], exactly `count` of them.
std::vector<long long> numbers(const pugi::xml_node& element, const char* attribute,
    std::size_t count, long long low, long long high)
{
    std::string text = required(element, attribute);
    std::vector<long long> result;
    const char* p = text.data();
    const char* end = text.data() + text.size();
    while (true) {
        while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r'))
            ++p;
        if (p == end)
            break;
        long long value = 0;
        const char* start = *p == '+' ? p + 1 : p;
        auto [next, error] = std::from_chars(start, end, value);
        if (error != std::errc() || (next < end && *next != ' ' && *next != '\t'))
            fail(element, std::string("\"") + attribute + "\" must hold numbers");
        if (value < low || value > high)
            fail(element,
                std::string("\"") + attribute + "\" holds " + std::to_string(value) + ", outside "
                    + std::to_string(low) + " to " + std::to_string(high));
        result.push_back(value);
        p = next;
    }
    if (result.size() != count)
        fail(element,
            std::string("\"") + attribute + "\" must hold " + std::to_string(count) + " number"
                + (count == 1 ? "" : "s"));
    return result;
}

long long number(
    const pugi::xml_node& element, const char* attribute, long long low, long long high)
{
    return numbers(element, attribute, 1, low, high)[0];
}

std::array<std::uint8_t, 4> color(const pugi::xml_node& element)
{
    std::string text = required(element, "value");
    std::array<std::uint8_t, 4> bytes {};
    if (!text.empty() && text[0] == '#') {
        std::size_t digits = text.size() - 1;
        if (digits != 6 && digits != 8)
            fail(element, "a color is \"#RRGGBB\", \"#RRGGBBAA\" or four numbers");
        for (std::size_t i = 0; i < digits / 2; ++i) {
            unsigned value = 0;
            auto [next, error]
                = std::from_chars(text.data() + 1 + 2 * i, text.data() + 3 + 2 * i, value, 16);
            if (error != std::errc() || next != text.data() + 3 + 2 * i)
                fail(element, "a color is \"#RRGGBB\", \"#RRGGBBAA\" or four numbers");
            bytes[i] = static_cast<std::uint8_t>(value);
        }
        return bytes;
    }
    auto values = numbers(element, "value", 4, 0, 255);
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<std::uint8_t>(values[i]);
    return bytes;
}

std::string file_name_part(const std::string& path)
{
    auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

class Reader {
public:
    Reader(SkinSource& skin, const std::string& base)
        : skin(skin)
        , base(base)
    {
    }

    void read_root(const pugi::xml_node& root)
    {
        check_attributes(root, { "version", "devices" });
        skin.version = wide(root.attribute("version").value());
        skin.devices = wide(root.attribute("devices").value());
        if (skin.version.size() > 31)
            fail(root, "the version tag holds at most 31 characters");
        if (skin.devices.size() > 31)
            fail(root, "the devices field holds at most 31 characters");

        // Declarations first, so that properties may name any picture or font.
        for (auto element : root.children()) {
            if (element.type() != pugi::node_element)
                continue;
            std::string tag = element.name();
            if (tag == "design")
                read_design(element);
            else if (tag == "picture")
                read_picture_declaration(element);
            else if (tag == "font")
                read_font_declaration(element);
            else if (tag == "file")
                read_file(element);
            else if (tag != "form" && tag != "node")
                fail(element, "unknown element");
        }
        for (auto element : root.children()) {
            if (element.type() != pugi::node_element)
                continue;
            std::string tag = element.name();
            if (tag == "form")
                skin.forms.push_back(read_node(element, true));
            else if (tag == "node")
                skin.nodes.push_back(read_node(element, false));
        }
        if (skin.forms.empty())
            fail(root, "a skin needs at least one <form>");
    }

private:
    void read_design(const pugi::xml_node& element)
    {
        check_attributes(element, { "index", "width", "height" });
        long long index
            = element.attribute("index") ? number(element, "index", 0, 31) : next_design;
        if (index > 31)
            fail(element, "there are 32 design sizes, indexed 0 to 31");
        auto& entry = skin.design_sizes[static_cast<std::size_t>(index)];
        entry.width = static_cast<std::int32_t>(number(element, "width", INT32_MIN, INT32_MAX));
        entry.height = static_cast<std::int32_t>(number(element, "height", INT32_MIN, INT32_MAX));
        next_design = static_cast<int>(index) + 1;
    }

    void read_picture_declaration(const pugi::xml_node& element)
    {
        check_attributes(element, { "name", "file" });
        std::u16string name = wide(required(element, "name"));
        for (auto& known : skin.pictures) {
            if (known == name)
                fail(element, "picture declared twice");
        }
        skin.pictures.push_back(name);
        if (auto file = element.attribute("file"))
            add_file(file.value(), file_name_part(file.value()));
    }

    void read_font_declaration(const pugi::xml_node& element)
    {
        check_attributes(element, { "spec" });
        skin.fonts.push_back(wide(required(element, "spec")));
    }

    void read_file(const pugi::xml_node& element)
    {
        check_attributes(element, { "path", "entry" });
        std::string path = required(element, "path");
        std::string entry = element.attribute("entry") ? element.attribute("entry").value()
                                                       : file_name_part(path);
        if (entry.empty() || entry.size() > 0xFFFF)
            fail(element, "an archive entry needs a name");
        add_file(path, entry);
    }

    void add_file(const std::string& path, const std::string& entry)
    {
        std::string full
            = (!path.empty() && path[0] == '/') || base.empty() ? path : base + "/" + path;
        skin.files.push_back({ full, entry });
    }

    Node read_node(const pugi::xml_node& element, bool is_form)
    {
        check_attributes(element, { "name" });
        Node node;
        node.name = wide(required(element, "name"));
        for (auto child : element.children()) {
            if (child.type() != pugi::node_element)
                continue;
            std::string tag = child.name();
            if (is_form && tag == "control") {
                check_attributes(child, { "name" });
                Node control;
                control.name = wide(required(child, "name"));
                for (auto property : child.children()) {
                    if (property.type() == pugi::node_element)
                        read_property(property, control.properties);
                }
                node.controls.push_back(std::move(control));
            } else if (is_form && tag == "auto") {
                check_attributes(child, { "id", "type" });
                node.auto_controls.push_back(
                    { wide(required(child, "id")), wide(required(child, "type")) });
            } else {
                read_property(child, node.properties);
            }
        }
        return node;
    }

    void read_property(const pugi::xml_node& element, Properties& properties)
    {
        std::string tag = element.name();
        if (tag == "integer") {
            check_attributes(element, { "name", "value" });
            properties.integers.push_back({ name_of(element),
                static_cast<std::int32_t>(number(element, "value", INT32_MIN, INT32_MAX)) });
        } else if (tag == "point") {
            check_attributes(element, { "name", "value" });
            auto values = numbers(element, "value", 2, INT16_MIN, INT16_MAX);
            properties.points.push_back({ name_of(element), static_cast<std::int16_t>(values[0]),
                static_cast<std::int16_t>(values[1]) });
        } else if (tag == "string") {
            check_attributes(element, { "name", "value" });
            properties.strings.push_back(
                { name_of(element), wide(element.attribute("value").value()) });
        } else if (tag == "color") {
            check_attributes(element, { "name", "value" });
            properties.colors.push_back({ name_of(element), color(element) });
        } else if (tag == "picture") {
            check_attributes(
                element, { "name", "image", "index", "coordinates", "rect", "middle", "mode" });
            properties.pictures.push_back(picture(element));
        } else if (tag == "font") {
            check_attributes(element, { "name", "index", "spec" });
            properties.fonts.push_back(font(element));
        } else {
            fail(element, "unknown property type");
        }
    }

    std::u16string name_of(const pugi::xml_node& element)
    {
        return wide(required(element, "name"));
    }

    PictureProperty picture(const pugi::xml_node& element)
    {
        PictureProperty result;
        result.name = name_of(element);
        if (element.attribute("index") && element.attribute("image"))
            fail(element, "give either \"image\" or \"index\"");
        if (element.attribute("index")) {
            result.index = static_cast<std::uint8_t>(number(element, "index", 0, 255));
        } else {
            std::u16string image = wide(required(element, "image"));
            std::size_t i = 0;
            while (i < skin.pictures.size() && skin.pictures[i] != image)
                ++i;
            if (i == skin.pictures.size())
                fail(element, "\"image\" names no declared <picture>");
            if (i > 255)
                fail(element, "only the first 256 pictures can be used by properties");
            result.index = static_cast<std::uint8_t>(i);
        }
        if (element.attribute("coordinates")) {
            if (element.attribute("rect") || element.attribute("middle"))
                fail(element, "give either \"coordinates\" or \"rect\" and \"middle\"");
            auto values = numbers(element, "coordinates", 8, 0, 0xFFFF);
            for (int i = 0; i < 8; ++i)
                result.coordinates[i] = static_cast<std::uint16_t>(values[i]);
        } else {
            auto outer = numbers(element, "rect", 4, 0, 0xFFFF);
            std::vector<long long> middle = outer;
            if (element.attribute("middle"))
                middle = numbers(element, "middle", 4, 0, 0xFFFF);
            const long long ordered[8] = { outer[0], outer[1], middle[0], middle[1], middle[2],
                middle[3], outer[2], outer[3] };
            for (int i = 0; i < 8; ++i)
                result.coordinates[i] = static_cast<std::uint16_t>(ordered[i]);
        }
        std::string mode
            = element.attribute("mode") ? element.attribute("mode").value() : "stretch";
        if (mode == "stretch")
            result.mode = 1;
        else if (mode == "repeat")
            result.mode = 0;
        else
            result.mode = static_cast<std::uint8_t>(number(element, "mode", 0, 255));
        return result;
    }

    FontProperty font(const pugi::xml_node& element)
    {
        FontProperty result;
        result.name = name_of(element);
        if (element.attribute("index") && element.attribute("spec"))
            fail(element, "give either \"spec\" or \"index\"");
        if (element.attribute("index")) {
            result.index = static_cast<std::uint32_t>(number(element, "index", 0, UINT32_MAX));
            return result;
        }
        std::u16string spec = wide(required(element, "spec"));
        std::size_t i = 0;
        while (i < skin.fonts.size() && skin.fonts[i] != spec)
            ++i;
        if (i == skin.fonts.size())
            skin.fonts.push_back(spec);
        result.index = static_cast<std::uint32_t>(i);
        return result;
    }

    SkinSource& skin;
    std::string base;
    int next_design { 0 };
};

} // namespace

bool read_skin_source(
    std::string_view xml, const std::string& base_directory, SkinSource& skin, std::string& error)
{
    pugi::xml_document document;
    auto parsed = document.load_buffer(xml.data(), xml.size());
    if (!parsed) {
        error = std::string("XML error at byte ") + std::to_string(parsed.offset) + ": "
            + parsed.description();
        return false;
    }
    auto root = document.document_element();
    if (std::strcmp(root.name(), "skin") != 0) {
        error = "the root element must be <skin>";
        return false;
    }
    skin = SkinSource {};
    try {
        Reader(skin, base_directory).read_root(root);
    } catch (const SourceError& failure) {
        error = failure.message;
        return false;
    }
    return true;
}

} // namespace skinc
