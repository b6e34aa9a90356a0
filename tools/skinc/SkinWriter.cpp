#include "tools/skinc/SkinWriter.h"

#include "platform/Convert.h"
#include "platform/LittleEndian.h"
#include "skinner/SkinFormat.h"

#include <algorithm>
#include <map>

namespace skinc {

using namespace skinner::format;

namespace {

class WriteError {
public:
    std::string message;
};

[[noreturn]] void fail(const std::string& message)
{
    throw WriteError { message };
}

std::string narrow(const std::u16string& text)
{
    return platform::to_utf8(text);
}

class Writer {
public:
    explicit Writer(const SkinSource& skin)
        : skin(skin)
    {
    }

    std::vector<std::uint8_t> run()
    {
        bytes = write_header(skin, 0, 0, 0);

        // Strings reached through 16-bit offsets come first, so that they
        // have the most room below 64 KiB.
        for (auto& form : skin.forms) {
            add_short_strings(form);
            for (auto& control : form.controls)
                add_short_strings(control);
        }
        for (auto& node : skin.nodes)
            add_short_strings(node);
        if (bytes.size() > SHORT_OFFSET_LIMIT)
            fail("the property names and string values take " + std::to_string(bytes.size())
                + " bytes; they must end within the first 64 KiB");

        std::uint32_t name_list = static_cast<std::uint32_t>(bytes.size());
        for (auto& name : skin.pictures)
            append_string(name);
        for (auto& spec : skin.fonts)
            append_string(spec);

        std::uint32_t variant_tree = write_tree(sorted(skin.forms, "form"), true);
        std::uint32_t kind_tree = write_tree(sorted(skin.nodes, "node"), false);
        auto header = write_header(skin, variant_tree, kind_tree, name_list);
        std::copy(header.begin(), header.end(), bytes.begin());
        return std::move(bytes);
    }

private:
    std::uint32_t append_string(const std::u16string& text)
    {
        auto offset = static_cast<std::uint32_t>(bytes.size());
        for (char16_t unit : text)
            platform::append_u16le(bytes, unit);
        platform::append_u16le(bytes, 0);
        return offset;
    }

    std::uint32_t pooled(const std::u16string& text)
    {
        auto found = pool.find(text);
        if (found != pool.end())
            return found->second;
        auto offset = append_string(text);
        pool.emplace(text, offset);
        return offset;
    }

    void add_short_strings(const Node& node)
    {
        auto& p = node.properties;
        for (auto& property : p.integers)
            pooled(property.name);
        for (auto& property : p.points)
            pooled(property.name);
        for (auto& property : p.strings) {
            pooled(property.name);
            pooled(property.value);
        }
        for (auto& property : p.pictures)
            pooled(property.name);
        for (auto& property : p.colors)
            pooled(property.name);
        for (auto& property : p.fonts)
            pooled(property.name);
        for (auto& entry : node.auto_controls) {
            pooled(entry.id);
            pooled(entry.type);
        }
    }

    std::uint16_t short_offset(const std::u16string& text)
    {
        auto offset = pooled(text);
        if (offset >= SHORT_OFFSET_LIMIT)
            fail("string \"" + narrow(text) + "\" lies beyond the first 64 KiB");
        return static_cast<std::uint16_t>(offset);
    }

    static std::vector<const Node*> sorted(const std::vector<Node>& nodes, const char* what)
    {
        std::vector<const Node*> result;
        for (auto& node : nodes)
            result.push_back(&node);
        std::stable_sort(result.begin(), result.end(),
            [](const Node* a, const Node* b) { return a->name < b->name; });
        for (std::size_t i = 1; i < result.size(); ++i) {
            if (result[i]->name == result[i - 1]->name)
                fail(std::string("two of the ") + what + "s are named \"" + narrow(result[i]->name)
                    + "\"");
        }
        return result;
    }

    // A balanced binary search tree over the sorted nodes; returns the offset
    // of its root, 0 for an empty range.
    std::uint32_t write_tree(const std::vector<const Node*>& nodes, bool forms)
    {
        return write_subtree(nodes, 0, nodes.size(), forms);
    }

    std::uint32_t write_subtree(
        const std::vector<const Node*>& nodes, std::size_t low, std::size_t high, bool forms)
    {
        if (low >= high)
            return 0;
        std::size_t middle = low + (high - low) / 2;
        std::uint32_t offset = write_node(*nodes[middle], forms);
        std::uint32_t left = write_subtree(nodes, low, middle, forms);
        std::uint32_t right = write_subtree(nodes, middle + 1, high, forms);
        platform::write_u32le(&bytes[offset + NODE_LEFT], left);
        platform::write_u32le(&bytes[offset + NODE_RIGHT], right);
        return offset;
    }

    std::uint32_t write_node(const Node& node, bool form)
    {
        auto name = pooled(node.name);
        auto offset = static_cast<std::uint32_t>(bytes.size());
        std::size_t autos = form ? node.auto_controls.size() : 0;
        bytes.resize(bytes.size() + NODE_SIZE + AutoControlEntry::Size * autos);
        platform::write_u32le(&bytes[offset + NODE_NAME], name);
        platform::write_u32le(&bytes[offset + NODE_AUTO_COUNT], static_cast<std::uint32_t>(autos));
        for (std::size_t i = 0; i < autos; ++i) {
            std::uint8_t* entry = &bytes[offset + NODE_AUTO_ENTRIES + AutoControlEntry::Size * i];
            platform::write_u16le(entry, short_offset(node.auto_controls[i].id));
            platform::write_u16le(entry + 2, short_offset(node.auto_controls[i].type));
        }

        auto& p = node.properties;
        write_array(offset, PropertyType::Integer, node, p.integers,
            [&](std::uint8_t* r, const IntegerProperty& v) {
                platform::write_u32le(r + 4, static_cast<std::uint32_t>(v.value));
            });
        write_array(offset, PropertyType::Point, node, p.points,
            [&](std::uint8_t* r, const PointProperty& v) {
                platform::write_u16le(r + 2, static_cast<std::uint16_t>(v.x));
                platform::write_u16le(r + 4, static_cast<std::uint16_t>(v.y));
            });
        write_array(offset, PropertyType::String, node, p.strings,
            [&](std::uint8_t* r, const StringProperty& v) {
                platform::write_u16le(r + 2, short_offset(v.value));
            });
        write_array(offset, PropertyType::Picture, node, p.pictures,
            [&](std::uint8_t* r, const PictureProperty& v) {
                for (int i = 0; i < 8; ++i)
                    platform::write_u16le(r + 2 + 2 * i, v.coordinates[i]);
                r[18] = v.index;
                r[19] = v.mode;
            });
        write_array(offset, PropertyType::Color, node, p.colors,
            [&](std::uint8_t* r, const ColorProperty& v) {
                std::copy(v.bytes.begin(), v.bytes.end(), r + 2);
            });
        write_array(offset, PropertyType::Font, node, p.fonts,
            [&](std::uint8_t* r, const FontProperty& v) { platform::write_u32le(r + 4, v.index); });

        if (form && !node.controls.empty()) {
            std::uint32_t controls = write_tree(sorted(node.controls, "control"), false);
            platform::write_u32le(&bytes[offset + NODE_CONTROL_TREE], controls);
        }
        return offset;
    }

    template<typename Property, typename Fill>
    void write_array(std::uint32_t node_offset, PropertyType type, const Node& node,
        const std::vector<Property>& properties, Fill fill)
    {
        std::vector<const Property*> order;
        for (auto& property : properties)
            order.push_back(&property);
        std::stable_sort(
            order.begin(), order.end(), [](auto* a, auto* b) { return a->name < b->name; });
        for (std::size_t i = 1; i < order.size(); ++i) {
            if (order[i]->name == order[i - 1]->name)
                fail("\"" + narrow(node.name) + "\" has two properties of one type named \""
                    + narrow(order[i]->name) + "\"");
        }
        auto size = RECORD_SIZES[static_cast<int>(type)];
        auto start = static_cast<std::uint32_t>(bytes.size());
        bytes.resize(bytes.size() + size * order.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            std::uint8_t* record = &bytes[start + size * i];
            platform::write_u16le(record, short_offset(order[i]->name));
            fill(record, *order[i]);
        }
        auto end = static_cast<std::uint32_t>(bytes.size());
        std::uint8_t* pair = &bytes[node_offset + NODE_ARRAYS + 8 * static_cast<int>(type)];
        platform::write_u32le(pair, start);
        platform::write_u32le(pair + 4, end);
    }

    const SkinSource& skin;
    std::vector<std::uint8_t> bytes;
    std::map<std::u16string, std::uint32_t> pool;
};

void write_text_field(std::uint8_t* field, const std::u16string& text)
{
    for (std::size_t i = 0; i < text.size() && i + 1 < TEXT_FIELD_UNITS; ++i)
        platform::write_u16le(field + 2 * i, text[i]);
}

} // namespace

std::vector<std::uint8_t> write_header(const SkinSource& skin, std::uint32_t variant_tree,
    std::uint32_t kind_tree, std::uint32_t name_list)
{
    std::vector<std::uint8_t> header(HEADER_SIZE, 0);
    for (int i = 0; i < 4; ++i)
        platform::write_u16le(&header[HEADER_MAGIC + 2 * i], MAGIC[i]);
    write_text_field(&header[HEADER_VERSION], skin.version);
    write_text_field(&header[HEADER_DEVICES], skin.devices);
    platform::write_u32le(&header[HEADER_VARIANT_TREE], variant_tree);
    platform::write_u32le(&header[HEADER_KIND_TREE], kind_tree);
    platform::write_u32le(
        &header[HEADER_PICTURE_COUNT], static_cast<std::uint32_t>(skin.pictures.size()));
    platform::write_u32le(
        &header[HEADER_FONT_COUNT], static_cast<std::uint32_t>(skin.fonts.size()));
    platform::write_u32le(&header[HEADER_NAME_LIST], name_list);
    for (int i = 0; i < DESIGN_SIZE_COUNT; ++i) {
        std::uint8_t* entry = &header[HEADER_DESIGN_SIZES + DESIGN_SIZE_RECORD * i];
        platform::write_u32le(entry, static_cast<std::uint32_t>(skin.design_sizes[i].width));
        platform::write_u32le(entry + 4, static_cast<std::uint32_t>(skin.design_sizes[i].height));
    }
    return header;
}

bool write_skin(const SkinSource& skin, std::vector<std::uint8_t>& description, std::string& error)
{
    if (skin.forms.empty()) {
        error = "a skin needs at least one form";
        return false;
    }
    for (auto* text : { &skin.version, &skin.devices }) {
        if (text->size() >= TEXT_FIELD_UNITS) {
            error = "\"" + narrow(*text) + "\" is longer than 31 characters";
            return false;
        }
    }
    try {
        description = Writer(skin).run();
    } catch (const WriteError& failure) {
        error = failure.message;
        return false;
    }
    return true;
}

} // namespace skinc
