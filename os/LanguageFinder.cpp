#include "os/LanguageFinder.h"

namespace os {

LanguageFinder::LanguageFinder(const std::u16string& directory)
{
    find_files(*this, directory, u"*.lng", u"*", false);
}

bool LanguageFinder::on_file(const std::u16string& path)
{
    languages.push_back(path);
    return true;
}

} // namespace os
