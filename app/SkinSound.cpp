#include "app/SkinSound.h"

#include "liba/ZipFile.h"
#include "os/File.h"

#include <memory>

SkinSound find_skin_sound(const std::u16string& skin_path, const std::u16string& name)
{
    liba::ZipFile archive(std::make_unique<os::File>(skin_path, 0));
    if (archive.find_entry(name))
        return { skin_path, archive.data_offset() };
    std::size_t slash = skin_path.find_last_of(u"\\/");
    std::u16string folder = slash == std::u16string::npos ? u"" : skin_path.substr(0, slash + 1);
    return { folder + u"/" + name, 0 };
}
