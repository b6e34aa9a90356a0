#include "platform/FolderLock.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

FolderLock::FolderLock(const std::string& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    int result;
    do
        result = ::flock(fd, LOCK_EX);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : fd_(other.fd_)
{
    other.fd_ = -1;
}

FolderLock::~FolderLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool exchange_paths(const std::string& a, const std::string& b)
{
    return ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0;
}

} // namespace platform
