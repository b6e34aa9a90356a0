#include "skinner/SkinFinder.h"

#include "os/FileInfo.h"
#include "os/Path.h"
#include "os/Registry.h"
#include "skinner/Skin.h"

#include <filesystem>

namespace skinner {

SkinFinder::SkinFinder(const std::u16string& directory, const std::u16string& product, Point screen,
    const std::u16string& registry_key, const SkinDevice& device)
    : directory_(directory)
    , product_(product)
    , screen_(screen)
    , device_(device)
{
    if (os::FileInfo(directory_).is_directory())
        on_directory(directory_);
    else
        on_file(directory_);

    os::find_files(*this, u"%windows%", u"*.skin", u"find.nothing", false);

    if (!registry_key.empty()) {
        for (auto& subkey : os::enumerate_registry_subkeys(registry_key)) {
            std::u16string folder;
            if (os::read_registry_string(registry_key + u"\\" + subkey, u"", folder))
                on_directory(folder);
        }
    }
}

bool SkinFinder::on_file(const std::u16string& path)
{
    if (is_good_skin_file(path, product_, screen_, device_))
        skins.push_back({ path, os::file_title_of(path) });
    return true;
}

bool SkinFinder::on_directory(const std::u16string& path)
{
    std::error_code error;
    auto real = std::filesystem::canonical(os::native_path(os::expand_path(path)), error);
    if (error || !walking_.insert(real.string()).second)
        return true;
    os::find_files(*this, path, u"*.skin", u"*", false);
    walking_.erase(real.string());
    return true;
}

} // namespace skinner
