#include "tools/ringwise-tool/ToolCommand.h"
#include "tools/ringwise-tool/ToolFields.h"

#include "platform/Convert.h"
#include "skinner/PictureCache.h"
#include "skinner/PropertiesImpl.h"
#include "skinner/Skin.h"

#include <charconv>
#include <cstdio>
#include <optional>

namespace tool {

namespace {

void line(const std::string& word, const std::u16string& value)
{
    std::printf("%s %s\n", word.c_str(), platform::to_utf8(value).c_str());
}

void line(const std::string& word, const std::string& value)
{
    std::printf("%s %s\n", word.c_str(), value.c_str());
}

int usage()
{
    std::fputs("usage: ringwise-tool skin FILE.skin [--screen WxH] [--platform "
               "PocketPC|Smartphone] [--tag TAG] "
               "[--kind KIND]\n",
        stderr);
    return 2;
}

} // namespace

// Loads a skin as the program would and prints what it found, one word and
// its value a line, for skin designers and tests.
int run_skin(const std::vector<std::string>& arguments)
{
    std::optional<std::string> path;
    skinner::Point screen;
    skinner::SkinDevice device;
    std::optional<std::u16string> tag;
    std::optional<std::u16string> kind;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool has_value = i + 1 < arguments.size();
        if (argument == "--screen" && has_value) {
            auto size = parse_size(arguments[++i]);
            if (!size)
                return usage();
            screen = *size;
        } else if (argument == "--platform" && has_value) {
            std::string platform = arguments[++i];
            if (platform != "PocketPC" && platform != "Smartphone")
                return usage();
            device.smartphone = platform == "Smartphone";
        } else if (argument == "--tag" && has_value) {
            tag = platform::from_utf8(arguments[++i]);
        } else if (argument == "--kind" && has_value) {
            kind = platform::from_utf8(arguments[++i]);
        } else if (argument.starts_with("--") || path) {
            return usage();
        } else {
            path = argument;
        }
    }
    if (!path)
        return usage();

    skinner::PictureCache::install();
    skinner::Skin skin(platform::from_utf8(*path), screen, device);
    if (!skin.is_valid()) {
        line("valid", "no");
        return 1;
    }
    auto& properties = skin.properties();
    line("valid", "yes");
    line("version", properties.version());
    line("devices", properties.devices());
    for (int i = 0; i < 32; ++i) {
        skinner::Point design = properties.design_size(i);
        if (design.x != 0 || design.y != 0)
            std::printf("design %d %d %d\n", i, design.x, design.y);
    }
    std::printf("pictures %zu\n", properties.pictures().size());
    std::printf("fonts %zu\n", properties.fonts().size());
    std::printf("scale %d\n", skin.scale());
    std::printf("workarea %d %d\n", skin.workarea().x, skin.workarea().y);
    if (tag)
        line("check_version", skin.check_version(*tag, screen) ? "yes" : "no");
    if (kind) {
        std::uint32_t variant = properties.select_form(*kind);
        line("variant", variant ? properties.node_name(variant) : u"none");
        std::fputs(platform::to_utf8(properties.form_list()).c_str(), stdout);
    }
    return 0;
}

} // namespace tool
