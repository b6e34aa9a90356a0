#include "os/FileInfo.h"

#include "os/Path.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace os {

namespace {

DateTime local_date_time(std::int64_t seconds)
{
    DateTime result;
    auto time = static_cast<time_t>(seconds);
    tm local {};
    if (!localtime_r(&time, &local))
        return result;
    result.year = local.tm_year + 1900;
    result.month = local.tm_mon + 1;
    result.day = local.tm_mday;
    result.hour = local.tm_hour;
    result.minute = local.tm_min;
    result.second = local.tm_sec;
    return result;
}

} // namespace

FileInfo::FileInfo(const std::u16string& path)
    : path(path)
{
    std::u16string expanded = expand_path(path);
    // "/" stays itself; any other path loses one trailing separator.
    if (expanded.size() > 1)
        expanded = strip_separator(expanded);
    std::string native = native_path(expanded);
    if (native.empty() || native.find('\0') != std::string::npos) {
        error = ENOENT;
        return;
    }
    struct statx status { };
    if (statx(AT_FDCWD, native.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &status) != 0) {
        error = errno;
        return;
    }
    std::int32_t bits = 0;
    if (S_ISDIR(status.stx_mode))
        bits |= ATTRIBUTE_DIRECTORY;
    else
        bits |= ATTRIBUTE_ARCHIVE;
    if (access(native.c_str(), W_OK) != 0)
        bits |= ATTRIBUTE_READONLY;
    std::u16string name = file_name_of(expanded);
    if (!name.empty() && name[0] == u'.' && name != u"." && name != u"..")
        bits |= ATTRIBUTE_HIDDEN;
    attributes = bits;
    size = static_cast<std::uint32_t>(status.stx_size);
    modified = local_date_time(status.stx_mtime.tv_sec);
    // File systems without a birth time give the last change instead.
    created = local_date_time(
        (status.stx_mask & STATX_BTIME) ? status.stx_btime.tv_sec : status.stx_ctime.tv_sec);
}

} // namespace os
