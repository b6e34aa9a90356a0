#include "skinner/SkinNameList.h"

#include "os/Log.h"
#include "skinner/PictureLoader.h"
#include "skinner/SkinDescription.h"
#include "skinner/SkinHeader.h"

namespace skinner {

std::optional<SkinNameList> SkinNameList::read(
    const SkinDescription& description, const SkinHeader& header)
{
    SkinNameList list;
    std::uint64_t picture_count = header.picture_count();
    std::uint64_t count = picture_count + header.font_count();
    std::uint32_t offset = header.name_list();
    for (std::uint64_t i = 0; i < count; ++i) {
        auto text = description.string_at(offset);
        if (!text)
            return std::nullopt;
        offset += 2 * static_cast<std::uint32_t>(text->size() + 1);
        (i < picture_count ? list.pictures : list.fonts).push_back(std::move(*text));
    }
    return list;
}

std::optional<std::vector<SkinPicture>> SkinNameList::load_pictures(
    const std::u16string& skin_path, int scale) const
{
    std::vector<SkinPicture> loaded;
    const PictureLoader& loader = picture_loader();
    for (const std::u16string& name : pictures) {
        SkinPicture picture;
        picture.name = name;
        if (loader) {
            picture.image = loader(skin_path, picture.name, scale);
            if (!picture.image) {
                os::log() << u"PropertiesImpl::PropertiesImpl picture failed to load {"
                          << picture.name << u"}\n";
                return std::nullopt;
            }
        }
        loaded.push_back(std::move(picture));
    }
    return loaded;
}

std::vector<FontDescription> SkinNameList::parse_fonts(int scale) const
{
    std::vector<FontDescription> parsed;
    for (const std::u16string& text : fonts)
        parsed.push_back(FontDescription::parse(text, scale));
    return parsed;
}

} // namespace skinner
