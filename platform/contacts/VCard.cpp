#include "platform/contacts/VCard.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <optional>

namespace platform {

namespace {

// Character sets written by old address books that declare none.
constexpr const char* FALLBACK_CHARSET = "WINDOWS-1252";

struct Parameter {
    std::string name; // upper case; empty for a bare 2.1 parameter
    std::vector<std::string> values;
};

struct Property {
    std::string name; // upper case, without its group
    std::vector<Parameter> parameters;
    std::string value; // raw: still encoded and escaped

    std::vector<std::string> values_of(std::string_view parameter) const;
    bool is_quoted_printable() const;
};

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string to_upper(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), upper);
    return out;
}

std::string to_lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lower);
    return out;
}

bool equal_ignoring_case(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return upper(x) == upper(y);
    });
}

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size()
        && equal_ignoring_case(text.substr(0, prefix.size()), prefix);
}

// Splits at separator characters that lie outside double quotes.
std::vector<std::string_view> split_unquoted(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == separator && !quoted) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::string_view unquote(std::string_view text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

std::string_view trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// The position of the colon that ends the name and parameters, or npos.
std::size_t value_separator(std::string_view line)
{
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return std::string_view::npos;
}

std::optional<Property> parse_property(std::string_view line)
{
    std::size_t colon = value_separator(line);
    if (colon == std::string_view::npos)
        return std::nullopt;
    std::vector<std::string_view> head = split_unquoted(line.substr(0, colon), ';');
    std::string_view name = trim(head[0]);
    if (std::size_t dot = name.rfind('.'); dot != std::string_view::npos)
        name.remove_prefix(dot + 1);
    if (name.empty())
        return std::nullopt;

    Property property;
    property.name = to_upper(name);
    property.value = std::string(line.substr(colon + 1));
    for (std::size_t i = 1; i < head.size(); ++i) {
        std::string_view text = trim(head[i]);
        if (text.empty())
            continue;
        Parameter parameter;
        std::string_view values = text;
        if (std::size_t equals = text.find('='); equals != std::string_view::npos) {
            parameter.name = to_upper(trim(text.substr(0, equals)));
            values = text.substr(equals + 1);
        }
        for (std::string_view value : split_unquoted(values, ','))
            parameter.values.emplace_back(trim(unquote(trim(value))));
        property.parameters.push_back(std::move(parameter));
    }
    return property;
}

bool is_encoding_word(std::string_view word)
{
    return equal_ignoring_case(word, "QUOTED-PRINTABLE") || equal_ignoring_case(word, "BASE64")
        || equal_ignoring_case(word, "8BIT") || equal_ignoring_case(word, "7BIT");
}

std::vector<std::string> Property::values_of(std::string_view wanted) const
{
    std::vector<std::string> values;
    for (const Parameter& parameter : parameters) {
        for (const std::string& value : parameter.values) {
            if (parameter.name == wanted)
                values.push_back(value);
            // 2.1 writes encodings and types without a parameter name.
            else if (parameter.name.empty() && wanted == "ENCODING" && is_encoding_word(value))
                values.push_back(value);
            else if (parameter.name.empty() && wanted == "TYPE" && !is_encoding_word(value))
                values.push_back(value);
        }
    }
    return values;
}

bool Property::is_quoted_printable() const
{
    for (const std::string& value : values_of("ENCODING")) {
        if (equal_ignoring_case(value, "QUOTED-PRINTABLE"))
            return true;
    }
    return false;
}

int hex_digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Soft line breaks were joined while the line was assembled; an '=' that
// starts no valid escape is kept as it stands.
std::string decode_quoted_printable(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size() && hex_digit(text[i + 1]) >= 0
            && hex_digit(text[i + 2]) >= 0) {
            out += static_cast<char>(hex_digit(text[i + 1]) * 16 + hex_digit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::optional<std::string> decode_base64(std::string_view text)
{
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (char c : text) {
        int value;
        if (c >= 'A' && c <= 'Z')
            value = c - 'A';
        else if (c >= 'a' && c <= 'z')
            value = c - 'a' + 26;
        else if (c >= '0' && c <= '9')
            value = c - '0' + 52;
        else if (c == '+')
            value = 62;
        else if (c == '/')
            value = 63;
        else if (c == '=' || c == ' ' || c == '\t')
            continue;
        else
            return std::nullopt;
        bits = (bits << 6) | static_cast<unsigned>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

bool is_valid_utf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        auto c = static_cast<unsigned char>(text[i]);
        std::size_t extra;
        std::uint32_t code;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= text.size())
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if ((extra == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF)))
            || (extra == 3 && (code < 0x10000 || code > 0x10FFFF)))
            return false;
        i += extra + 1;
    }
    return true;
}

std::optional<std::string> convert_to_utf8(std::string_view text, const char* charset)
{
    iconv_t converter = iconv_open("UTF-8", charset);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string out;
    char buffer[1024];
    char* in = const_cast<char*>(text.data());
    std::size_t in_left = text.size();
    bool failed = false;
    while (in_left > 0) {
        char* next = buffer;
        std::size_t out_left = sizeof buffer;
        std::size_t result = iconv(converter, &in, &in_left, &next, &out_left);
        out.append(buffer, static_cast<std::size_t>(next - buffer));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            failed = true;
            break;
        }
    }
    if (!failed) {
        char* next = buffer;
        std::size_t out_left = sizeof buffer;
        iconv(converter, nullptr, nullptr, &next, &out_left);
        out.append(buffer, static_cast<std::size_t>(next - buffer));
    }
    iconv_close(converter);
    if (failed)
        return std::nullopt;
    return out;
}

// Text of a property as UTF-8: its declared character set, else UTF-8, else
// the character set of the address books that wrote no declaration.
std::string to_utf8(std::string bytes, const Property& property)
{
    std::vector<std::string> charsets = property.values_of("CHARSET");
    if (!charsets.empty() && !equal_ignoring_case(charsets[0], "UTF-8")) {
        if (auto converted = convert_to_utf8(bytes, charsets[0].c_str()))
            return *converted;
    }
    if (is_valid_utf8(bytes))
        return bytes;
    if (auto converted = convert_to_utf8(bytes, FALLBACK_CHARSET);
        converted && is_valid_utf8(*converted))
        return *converted;
    std::string out;
    for (char c : bytes)
        out += static_cast<unsigned char>(c) < 0x80 ? c : '?';
    return out;
}

// The value with its transfer encoding and character set undone; escapes are
// left for the caller, which splits structured values first.
std::optional<std::string> decoded_value(const Property& property)
{
    std::string bytes;
    std::vector<std::string> encodings = property.values_of("ENCODING");
    std::string encoding = encodings.empty() ? std::string() : to_upper(encodings[0]);
    if (encoding == "QUOTED-PRINTABLE") {
        bytes = decode_quoted_printable(property.value);
    } else if (encoding == "BASE64" || encoding == "B") {
        auto decoded = decode_base64(property.value);
        if (!decoded)
            return std::nullopt;
        bytes = std::move(*decoded);
    } else {
        bytes = property.value;
    }
    return to_utf8(std::move(bytes), property);
}

std::string unescape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char next = text[i + 1];
        if (next == 'n' || next == 'N')
            out += '\n';
        else if (next == '\\' || next == ',' || next == ';' || next == ':')
            out += next;
        else {
            out += '\\';
            out += next;
        }
        ++i;
    }
    return out;
}

// Splits a structured value (N, ORG) at semicolons that are not escaped.
std::vector<std::string> split_components(std::string_view text)
{
    std::vector<std::string> components;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text[i] == ';') {
            components.push_back(unescape(text.substr(start, i - start)));
            start = i + 1;
        }
    }
    components.push_back(unescape(text.substr(start)));
    return components;
}

void add_telephone(VCard& card, const Property& property, std::string value)
{
    std::string number(trim(unescape(value)));
    // 4.0 writes numbers as URIs (VALUE=uri): "tel:+1-555-0100".
    if (starts_with_ignoring_case(number, "tel:"))
        number = std::string(trim(std::string_view(number).substr(4)));
    if (number.empty())
        return;
    VCardTelephone telephone;
    telephone.number = std::move(number);
    for (const std::string& value : property.values_of("TYPE")) {
        // A quoted list ("cell,voice") arrives as one value.
        for (std::string_view type : split_unquoted(value, ','))
            if (!trim(type).empty())
                telephone.types.push_back(to_lower(trim(type)));
    }
    card.telephones.push_back(std::move(telephone));
}

void apply(VCard& card, const Property& property)
{
    static constexpr std::string_view USED[] = { "VERSION", "UID", "FN", "N", "ORG", "TEL" };
    if (std::find(std::begin(USED), std::end(USED), property.name) == std::end(USED))
        return;
    std::optional<std::string> value = decoded_value(property);
    if (!value)
        return;
    if (property.name == "VERSION")
        card.version = std::string(trim(*value));
    else if (property.name == "UID")
        card.uid = unescape(*value);
    else if (property.name == "FN")
        card.formatted_name = unescape(*value);
    else if (property.name == "N")
        card.name = split_components(*value);
    else if (property.name == "ORG")
        card.organization = split_components(*value);
    else if (property.name == "TEL")
        add_telephone(card, property, std::move(*value));
}

std::vector<std::string_view> physical_lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

bool is_card_boundary(std::string_view line)
{
    line = trim(line);
    return equal_ignoring_case(line, "BEGIN:VCARD") || equal_ignoring_case(line, "END:VCARD");
}

// Joins folded lines (a line starting with a space or tab continues the one
// before) and quoted-printable soft line breaks (a value ending in '=').
std::vector<std::string> logical_lines(std::string_view text)
{
    std::vector<std::string> lines;
    // Whether the current line's property is quoted-printable, decided from
    // its first physical line, which holds the name and parameters.
    bool quoted_printable = false;
    bool soft_break = false;
    for (std::string_view line : physical_lines(text)) {
        if (soft_break && !is_card_boundary(line)) {
            lines.back().pop_back();
            lines.back() += line;
        } else if (!lines.empty() && !line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            lines.back() += line.substr(1);
        } else if (trim(line).empty()) {
            soft_break = false;
            continue;
        } else {
            lines.emplace_back(line);
            auto property = parse_property(line);
            quoted_printable = property && property->is_quoted_printable();
        }
        soft_break = quoted_printable && lines.back().back() == '=';
    }
    return lines;
}

std::string decode_file_text(std::string_view text)
{
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF")
        return std::string(text.substr(3));
    if (text.size() >= 2 && (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF")) {
        const char* charset = text[0] == '\xFF' ? "UTF-16LE" : "UTF-16BE";
        if (auto converted
            = convert_to_utf8(text.substr(2, (text.size() - 2) & ~std::size_t(1)), charset))
            return *converted;
        return {};
    }
    return std::string(text);
}

} // namespace

bool VCardTelephone::has_type(std::string_view type) const
{
    return std::find(types.begin(), types.end(), type) != types.end();
}

std::vector<VCard> parse_vcards(std::string_view text)
{
    std::vector<VCard> cards;
    std::optional<VCard> card;
    // Depth of embedded cards (2.1 agents) inside the current card. 2.1
    // writes "AGENT:" and then the agent's card on the following lines.
    int depth = 0;
    bool agent_pending = false;
    for (const std::string& line : logical_lines(decode_file_text(text))) {
        std::optional<Property> property = parse_property(line);
        if (!property)
            continue;
        bool begins
            = property->name == "BEGIN" && equal_ignoring_case(trim(property->value), "VCARD");
        bool ends = property->name == "END" && equal_ignoring_case(trim(property->value), "VCARD");
        bool agent = (begins && agent_pending)
            || (property->name == "AGENT"
                && equal_ignoring_case(trim(property->value), "BEGIN:VCARD"));
        agent_pending = card && property->name == "AGENT" && trim(property->value).empty();
        if (begins && !agent) {
            // A card that is still open here never ended: it is damaged.
            card.emplace();
            depth = 0;
        } else if (!card) {
            continue;
        } else if (agent) {
            ++depth;
        } else if (ends && depth > 0) {
            --depth;
        } else if (ends) {
            cards.push_back(std::move(*card));
            card.reset();
        } else if (depth == 0) {
            apply(*card, *property);
        }
    }
    return cards;
}

} // namespace platform
