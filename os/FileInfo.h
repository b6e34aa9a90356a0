#pragma once

#include <cstdint>
#include <string>

namespace os {

// A calendar date and time in local time.
struct DateTime {
    int year { 0 };
    int month { 0 };
    int day { 0 };
    int hour { 0 };
    int minute { 0 };
    int second { 0 };
};

// The status of one file or directory, read when the record is made. The
// path may carry a macro and one trailing separator; wild cards are not
// expanded.
class FileInfo {
public:
    static constexpr std::int32_t ATTRIBUTE_READONLY = 0x01;
    static constexpr std::int32_t ATTRIBUTE_HIDDEN = 0x02;
    static constexpr std::int32_t ATTRIBUTE_DIRECTORY = 0x10;
    static constexpr std::int32_t ATTRIBUTE_ARCHIVE = 0x20;

    explicit FileInfo(const std::u16string& path);

    bool exists() const { return attributes != -1; }
    bool is_directory() const { return exists() && (attributes & ATTRIBUTE_DIRECTORY) != 0; }

    std::u16string path;
    // Attribute bits as above, or -1 when the path does not exist.
    std::int32_t attributes { -1 };
    // The system's error number of the look-up, 0 when it succeeded.
    int error { 0 };
    // Size in bytes, low 32 bits.
    std::uint32_t size { 0 };
    DateTime created;
    DateTime modified;
};

} // namespace os
