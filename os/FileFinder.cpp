#include "os/FileFinder.h"

namespace os {

bool FileFinder::on_file(const std::u16string& path)
{
    files.push_back(path);
    return true;
}

} // namespace os
