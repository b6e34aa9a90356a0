#include "platform/InstanceLock.h"

#include "platform/Convert.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
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
    std::string path = path_of(name);
    // The holder removes the file when it lets go, so the file this process
    // locked may no longer be the one of that name: then it tries again with
    // the file now there (or a new one).
    for (;;) {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
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
        struct stat locked;
        struct stat named;
        if (::fstat(fd, &locked) == 0 && ::stat(path.c_str(), &named) == 0
            && locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
            fd_ = fd;
            path_ = std::move(path);
            return true;
        }
        ::close(fd);
    }
}

void InstanceLock::release()
{
    if (fd_ < 0)
        return;
    // Removed while still locked: a process waiting for this file finds,
    // once it has the lock, that the name no longer leads to it and opens
    // the name again. A holder killed before this leaves the file, which
    // the next start locks as usual.
    ::unlink(path_.c_str());
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

} // namespace platform
