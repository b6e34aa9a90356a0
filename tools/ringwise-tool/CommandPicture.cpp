#include "tools/ringwise-tool/ToolCommand.h"
#include "tools/ringwise-tool/ToolFields.h"

#include "platform/Convert.h"
#include "platform/graphics/PngWriter.h"
#include "skinner/ElementProperties.h"
#include "skinner/PictureCache.h"
#include "skinner/Skin.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace tool {

namespace {

std::optional<platform::Color> parse_color(const std::string& text)
{
    unsigned value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.size() != 6 || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return platform::make_color(int(value >> 16), int(value >> 8), int(value));
}

int usage()
{
    std::fputs("usage: ringwise-tool picture SKIN.skin KIND ID PROPERTY WxH OUT.png [--screen WxH] "
               "[--background RRGGBB]\n",
        stderr);
    return 2;
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "ringwise-tool picture: %s\n", message.c_str());
    return 1;
}

// Canvases larger than this are refused; a designer's preview never needs more.
constexpr int MAX_CANVAS_SIDE = 10000;

} // namespace

// Draws one picture property of a skin into a canvas of a given size with
// the nine-part rules and writes it as a PNG, for skin designers.
int run_picture(const std::vector<std::string>& arguments)
{
    std::vector<std::string> positional;
    // The device screen, as the program would see it, unless given.
    skinner::Point screen { 480, 640 };
    if (const char* configured = std::getenv("RINGWISE_SCREEN")) {
        if (auto size = parse_size(configured))
            screen = *size;
    }
    platform::Color background = platform::make_color(0, 0, 0);
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool has_value = i + 1 < arguments.size();
        if (argument == "--screen" && has_value) {
            auto size = parse_size(arguments[++i]);
            if (!size)
                return usage();
            screen = *size;
        } else if (argument == "--background" && has_value) {
            auto color = parse_color(arguments[++i]);
            if (!color)
                return usage();
            background = *color;
        } else if (argument.starts_with("--")) {
            return usage();
        } else {
            positional.push_back(argument);
        }
    }
    if (positional.size() != 6)
        return usage();
    std::u16string kind = platform::from_utf8(positional[1]);
    std::u16string id = platform::from_utf8(positional[2]);
    std::u16string property = platform::from_utf8(positional[3]);
    auto size = parse_size(positional[4]);
    if (!size || size->x == 0 || size->y == 0 || size->x > MAX_CANVAS_SIDE
        || size->y > MAX_CANVAS_SIDE)
        return usage();
    if (kind.empty() && id.empty())
        return usage();

    skinner::PictureCache::install();
    skinner::Skin skin(platform::from_utf8(positional[0]), screen);
    if (!skin.is_valid())
        return fail("the skin " + positional[0] + " is invalid");

    std::optional<skinner::ElementProperties> element;
    if (id.empty()) {
        if (!skin.has_form(kind))
            return fail("the skin has no form " + positional[1] + " for this screen");
        element = skinner::ElementProperties::form(skin, kind);
    } else {
        if (!skin.has_node(kind, id))
            return fail(kind.empty()
                    ? "the skin has no top-level node " + positional[2]
                    : "the form " + positional[1] + " has no control " + positional[2]);
        element = kind.empty() ? skinner::ElementProperties::top_level(skin, id)
                               : skinner::ElementProperties::control(skin, kind, id);
    }
    skinner::Picture picture = element->picture(property, skinner::Picture());
    if (picture.is_empty())
        return fail("no picture property " + positional[3]);

    platform::Bitmap bitmap(size->x, size->y, background);
    platform::Canvas canvas(bitmap);
    picture.draw(canvas, { 0, 0, size->x, size->y });
    if (!platform::write_png(bitmap, positional[5]))
        return fail("cannot write " + positional[5]);
    return 0;
}

} // namespace tool
