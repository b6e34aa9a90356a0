#include "os/FileRemover.h"

#include "os/Path.h"

namespace os {

bool FileRemover::on_file(const std::u16string& path)
{
    delete_file(path);
    return true;
}

} // namespace os
