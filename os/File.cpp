#include "os/File.h"

#include "os/CrashPoint.h"
#include "os/Path.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace os {

File::File(const std::u16string& path, int mode)
{
    std::string native = native_path(mode == 0 ? expand_path(path) : expand_path_for_writing(path));
    int flags;
    switch (mode) {
    case 0:
        flags = O_RDONLY;
        break;
    case 1:
        flags = O_WRONLY | O_CREAT | O_TRUNC;
        break;
    case 2:
        flags = O_WRONLY | O_CREAT;
        break;
    default:
        flags = O_RDWR | O_CREAT;
        break;
    }
    // A name with an embedded zero would open a shorter, different path.
    int fd = native.find('\0') == std::string::npos
        ? ::open(native.c_str(), flags | O_CLOEXEC, 0644)
        : -1;
    if (fd >= 0) {
        struct stat status;
        // Directories open for reading on Linux; they are not files here.
        if (::fstat(fd, &status) != 0 || S_ISDIR(status.st_mode)) {
            ::close(fd);
            fd = -1;
        }
    }
    if (fd >= 0 && mode == 2 && ::lseek(fd, 0, SEEK_END) < 0) {
        ::close(fd);
        fd = -1;
    }
    impl().handle = fd;
    if (fd < 0)
        add_error(u"can't open file");
}

File::~File()
{
    if (impl().handle >= 0)
        ::close(impl().handle);
    liba::ResourceReader::errors.clear();
    liba::ResourceWriter::errors.clear();
}

void File::add_error(const std::u16string& message)
{
    liba::ResourceReader::errors.push_back(message);
}

std::uint32_t File::read(void* buffer, std::uint32_t count)
{
    if (refused() || count == 0)
        return 0;
    auto* bytes = static_cast<char*>(buffer);
    std::uint32_t done = 0;
    while (done < count) {
        ssize_t n = ::read(impl().handle, bytes + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::uint32_t>(n);
    }
    return done;
}

std::uint32_t File::skip(std::uint32_t count)
{
    if (refused() || count == 0)
        return 0;
    off_t before = ::lseek(impl().handle, 0, SEEK_CUR);
    if (before < 0)
        return 0;
    off_t after = ::lseek(impl().handle, static_cast<off_t>(count), SEEK_CUR);
    if (after < 0)
        return 0;
    return static_cast<std::uint32_t>(after - before);
}

std::uint32_t File::write(const void* buffer, std::uint32_t count)
{
    if (refused() || count == 0)
        return 0;
    auto* bytes = static_cast<const char*>(buffer);
    std::uint32_t done = 0;
    while (done < count) {
        crash_point();
        ssize_t n = ::write(impl().handle, bytes + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::uint32_t>(n);
    }
    return done;
}

std::uint32_t File::size()
{
    if (refused())
        return 0;
    struct stat status;
    if (::fstat(impl().handle, &status) != 0)
        return 0;
    return static_cast<std::uint32_t>(status.st_size);
}

bool File::seek(std::uint32_t position)
{
    if (refused())
        return false;
    return ::lseek(impl().handle, static_cast<off_t>(position), SEEK_SET) >= 0;
}

std::uint32_t File::tell()
{
    if (refused())
        return 0;
    off_t position = ::lseek(impl().handle, 0, SEEK_CUR);
    return position < 0 ? 0 : static_cast<std::uint32_t>(position);
}

bool File::truncate(std::uint32_t position)
{
    if (!seek(position))
        return false;
    return ::ftruncate(impl().handle, static_cast<off_t>(position)) == 0;
}

bool File::flush()
{
    if (refused())
        return false;
    return ::fsync(impl().handle) == 0;
}

} // namespace os
