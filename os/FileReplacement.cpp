#include "os/FileReplacement.h"

#include "os/CrashPoint.h"
#include "os/Path.h"
#include "platform/Convert.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace os {

namespace {

constexpr char SUFFIX[] = ".tmp";
constexpr int RANDOM_LENGTH = 6;

bool sync_path(const std::string& native, int flags)
{
    int fd = ::open(native.c_str(), flags | O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

bool write_all(int fd, const void* data, std::size_t size)
{
    auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        crash_point();
        ssize_t n = ::write(fd, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

FileReplacement::FileReplacement(const std::u16string& target)
    : target_(native_path(expand_path_for_writing(target)))
{
    std::string name = target_ + "." + std::string(RANDOM_LENGTH, 'X') + SUFFIX;
    crash_point();
    int fd = ::mkstemps(name.data(), sizeof SUFFIX - 1);
    if (fd < 0)
        return;
    // mkstemps creates the file 0600; the stored files are as readable as any other.
    ::fchmod(fd, 0644);
    ::close(fd);
    temporary_ = platform::from_utf8(name);
}

FileReplacement::~FileReplacement()
{
    if (!committed_ && is_open())
        ::unlink(platform::to_utf8(temporary_).c_str());
}

bool FileReplacement::commit()
{
    if (!is_open() || committed_)
        return false;
    std::string temporary = platform::to_utf8(temporary_);
    crash_point();
    if (!sync_path(temporary, 0))
        return false;
    crash_point();
    if (::rename(temporary.c_str(), target_.c_str()) != 0)
        return false;
    committed_ = true;
    crash_point();
    std::size_t slash = target_.rfind('/');
    sync_path(slash == std::string::npos ? "." : target_.substr(0, slash + 1), O_DIRECTORY);
    return true;
}

bool replace_file(const std::u16string& path, const void* bytes, std::size_t size)
{
    FileReplacement replacement(path);
    if (!replacement.is_open())
        return false;
    int fd = ::open(
        platform::to_utf8(replacement.temporary_path()).c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool written = write_all(fd, bytes, size);
    written = ::close(fd) == 0 && written;
    return written && replacement.commit();
}

bool is_temporary_name(const std::u16string& name)
{
    constexpr std::size_t suffix = sizeof SUFFIX - 1;
    std::string text = platform::to_utf8(name);
    if (text.size() < suffix + RANDOM_LENGTH + 2)
        return false;
    std::size_t dot = text.size() - suffix - RANDOM_LENGTH - 1;
    return text.compare(text.size() - suffix, suffix, SUFFIX) == 0 && text[dot] == '.';
}

bool sync_directory(const std::u16string& path)
{
    return sync_path(native_path(expand_path_for_writing(path)), O_DIRECTORY);
}

bool sync_directory_files(const std::u16string& path)
{
    std::string native = native_path(expand_path_for_writing(path));
    DIR* folder = ::opendir(native.c_str());
    if (!folder)
        return false;
    bool synced = true;
    while (dirent* entry = ::readdir(folder)) {
        std::string file = native + "/" + entry->d_name;
        struct stat status;
        if (::stat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode))
            synced = sync_path(file, 0) && synced;
    }
    ::closedir(folder);
    return sync_path(native, O_DIRECTORY) && synced;
}

} // namespace os
