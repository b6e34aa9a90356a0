// Loads arbitrary bytes as a skin file, once as a plain description and once
// as the description entry of a ZIP archive, and walks what it finds through
// the lookups that never end the process: every offset must be checked.
#include "skinner/PropertiesImpl.h"
#include "skinner/Skin.h"
#include "tools/skinc/ZipWriter.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

void exercise(const std::u16string& path, skinner::Point screen)
{
    skinner::PropertiesImpl skin(path, screen, skinner::SkinDevice {});
    skin.check_version(u"Ringwise_1.0", screen);
    skinner::is_good_skin_file(path, u"", screen, skinner::SkinDevice { true, false });
    if (!skin.is_valid())
        return;
    std::u16string form = skin.node_name(skin.variant_tree());
    for (const std::u16string& kind : { form, form.substr(0, 1) }) {
        std::uint32_t variant = skin.select_form(kind);
        for (std::uint32_t i = 0; i < skin.auto_control_count(variant) && i < 8; ++i)
            skin.auto_control(variant, i);
        std::u16string id = skin.node_name(skin.control_tree(variant));
        for (std::uint32_t node :
            { variant, skin.lookup_node(kind, id), skin.lookup_node(kind, u"zz") }) {
            for (const char16_t* name : { u"Size", u"Normal", u"Text", u"Position" }) {
                skin.integer(node, name);
                skin.point(node, name);
                skin.color(node, name);
                skin.string(node, name);
                skin.picture(node, name);
                skin.font(node, name);
            }
        }
    }
    std::uint32_t top = skin.lookup_node(u"", skin.node_name(skin.kind_tree()));
    skin.string(top, u"Kind");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/fuzz_skin." + std::to_string(getpid()) + ".skin";
    static const std::u16string wide(path.begin(), path.end());
    auto write = [](const std::uint8_t* bytes, std::size_t count) {
        if (FILE* out = std::fopen(path.c_str(), "wb")) {
            std::fwrite(bytes, 1, count, out);
            std::fclose(out);
        }
    };
    write(data, size);
    exercise(wide, { 480, 640 });
    auto archive
        = skinc::write_zip({ { "fuzz.skin", std::vector<std::uint8_t>(data, data + size) } });
    write(archive.data(), archive.size());
    exercise(wide, { 0, 0 });
    std::remove(path.c_str());
    return 0;
}
