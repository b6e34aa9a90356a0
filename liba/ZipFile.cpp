#include "liba/ZipFile.h"

#include "platform/Convert.h"
#include "platform/LittleEndian.h"

#include <algorithm>
#include <string>

namespace liba {

namespace {

constexpr std::uint32_t LOCAL_HEADER_SIGNATURE = 0x04034b50;
constexpr std::uint32_t LOCAL_HEADER_SIZE = 30;
constexpr std::uint16_t FLAG_UTF8_NAME = 1 << 11;

} // namespace

ZipFile::ZipFile(std::unique_ptr<StreamReader> file)
    : file_(std::move(file))
{
    if (!file_ || file_->has_errors())
        add_error(u"can't open file");
}

ZipFile::~ZipFile()
{
    ResourceReader::errors.clear();
    ResourceWriter::errors.clear();
}

void ZipFile::add_error(const std::u16string& message)
{
    ResourceReader::errors.push_back(message);
}

void ZipFile::rewind()
{
    next_header_ = 0;
    walk_ended_ = false;
    has_entry_ = false;
    name_.clear();
}

bool ZipFile::next_entry()
{
    has_entry_ = false;
    if (refused() || walk_ended_)
        return false;
    walk_ended_ = true;

    std::uint8_t header[LOCAL_HEADER_SIZE];
    if (!file_->seek(next_header_) || file_->read(header, LOCAL_HEADER_SIZE) != LOCAL_HEADER_SIZE)
        return false;
    if (platform::read_u32le(header) != LOCAL_HEADER_SIGNATURE)
        return false;
    std::uint16_t flags = platform::read_u16le(header + 6);
    std::uint32_t compressed = platform::read_u32le(header + 18);
    std::uint32_t uncompressed = platform::read_u32le(header + 22);
    std::uint16_t name_length = platform::read_u16le(header + 26);
    std::uint16_t extra_length = platform::read_u16le(header + 28);
    if (compressed != uncompressed)
        return false;

    std::string name(name_length, '\0');
    if (file_->read(name.data(), name_length) != name_length)
        return false;
    std::uint64_t data_start
        = std::uint64_t(next_header_) + LOCAL_HEADER_SIZE + name_length + extra_length;
    std::uint64_t data_end = data_start + compressed;
    // The data must at least start inside 32-bit positions; whether they are
    // all there is found when the entry is read.
    if (data_end > UINT32_MAX)
        return false;

    name_ = (flags & FLAG_UTF8_NAME) ? platform::from_utf8(name) : platform::narrow_to_wide(name);
    data_start_ = static_cast<std::uint32_t>(data_start);
    data_size_ = compressed;
    position_ = 0;
    next_header_ = static_cast<std::uint32_t>(data_end);
    walk_ended_ = false;
    has_entry_ = true;
    return true;
}

bool ZipFile::find_entry(const std::u16string& name)
{
    rewind();
    while (next_entry()) {
        if (platform::equal_ignoring_case(name_, name))
            return true;
    }
    return false;
}

bool ZipFile::find_extension(const std::u16string& extension)
{
    rewind();
    while (next_entry()) {
        std::u16string own = extension_of(name_);
        if (!own.empty() && platform::equal_ignoring_case(own, extension))
            return true;
    }
    return false;
}

std::u16string ZipFile::extension_of(const std::u16string& path)
{
    auto separator = path.find_last_of(u"/\\");
    auto dot = path.find_last_of(u'.');
    if (dot == std::u16string::npos || (separator != std::u16string::npos && dot < separator))
        return {};
    return path.substr(dot + 1);
}

std::uint32_t ZipFile::available()
{
    if (refused() || !has_entry_)
        return 0;
    std::uint32_t file_size = file_->size();
    if (data_start_ >= file_size)
        return 0;
    return std::min(data_size_, file_size - data_start_);
}

std::uint32_t ZipFile::read(void* buffer, std::uint32_t count)
{
    if (refused() || !has_entry_ || count == 0)
        return 0;
    std::uint32_t wanted = std::min(count, data_size_ - position_);
    if (wanted == 0 || !file_->seek(data_start_ + position_))
        return 0;
    std::uint32_t got = file_->read(buffer, wanted);
    position_ += got;
    return got;
}

std::uint32_t ZipFile::skip(std::uint32_t count)
{
    if (refused() || !has_entry_)
        return 0;
    std::uint32_t moved = std::min(count, data_size_ - position_);
    position_ += moved;
    return moved;
}

std::uint32_t ZipFile::write(const void*, std::uint32_t)
{
    return 0;
}

std::uint32_t ZipFile::size()
{
    return refused() || !has_entry_ ? 0 : data_size_;
}

bool ZipFile::seek(std::uint32_t position)
{
    if (refused() || !has_entry_ || position > data_size_)
        return false;
    position_ = position;
    return true;
}

std::uint32_t ZipFile::tell()
{
    return refused() || !has_entry_ ? 0 : position_;
}

} // namespace liba
