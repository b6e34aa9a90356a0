#include "platform/InstanceLock.h"

#include "platform/Convert.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

std::string InstanceLock::path_of(const std::u16string& name)
{
    std::string folder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        folder = runtime;
    else
        folder = std::filesystem::temp_directory_path().string();
    return folder + "/" + to_utf8(name) + ".lock";
}

bool InstanceLock::acquire(const std::u16string& name)
{
    release();
    int fd = ::open(path_of(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    int result;
    do
        result = ::flock(fd, LOCK_EX);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void InstanceLock::release()
{
    if (fd_ < 0)
        return;
    // The file stays: removing it could let a waiting process lock an
    // unlinked file while a third creates a new one.
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

} // namespace platform
