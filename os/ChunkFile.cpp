#include "os/ChunkFile.h"

#include "os/ChunkFileFinder.h"
#include "os/Path.h"

#include "platform/LittleEndian.h"

#include <algorithm>
#include <vector>

namespace os {

ChunkFile::ChunkFile(const std::u16string& path, int mode)
    : file_(path, mode)
{
}

ChunkFile::~ChunkFile()
{
    end_chunk();
}

bool ChunkFile::write_u32(std::uint32_t value)
{
    std::uint8_t bytes[4];
    platform::write_u32le(bytes, value);
    return file_.write(bytes, 4) == 4;
}

bool ChunkFile::read_u32(std::uint32_t& value)
{
    std::uint8_t bytes[4];
    if (file_.read(bytes, 4) != 4)
        return false;
    value = platform::read_u32le(bytes);
    return true;
}

bool ChunkFile::begin_chunk(const std::u16string& name)
{
    end_chunk();
    std::vector<std::uint8_t> bytes;
    bytes.reserve(name.size() * 2);
    for (char16_t c : name)
        platform::append_u16le(bytes, c);
    auto length = static_cast<std::uint32_t>(bytes.size());
    if (!write_u32(length) || file_.write(bytes.data(), length) != length)
        return false;
    length_field_ = file_.tell();
    chunk_open_ = true;
    return write_u32(0);
}

bool ChunkFile::end_chunk()
{
    if (!chunk_open_)
        return true;
    chunk_open_ = false;
    std::uint32_t end = file_.tell();
    return file_.seek(length_field_) && write_u32(end - length_field_ - 4) && file_.seek(end);
}

std::uint32_t ChunkFile::write(const void* buffer, std::uint32_t count)
{
    return file_.write(buffer, count);
}

bool ChunkFile::add_file(const std::u16string& source_path, const std::u16string& name)
{
    File source(source_path, 0);
    if (source.refused())
        return false;
    bool complete = begin_chunk(name);
    std::vector<unsigned char> block(BLOCK_SIZE);
    std::uint32_t left = source.size();
    while (complete && left > 0) {
        std::uint32_t count = std::min(BLOCK_SIZE, left);
        if (source.read(block.data(), count) != count || file_.write(block.data(), count) != count)
            complete = false;
        left -= count;
    }
    // The chunk is closed even after a failure, so that its length field
    // matches what was written.
    if (!end_chunk())
        complete = false;
    return complete && !source.refused() && !file_.refused();
}

bool ChunkFile::add_directory(const std::u16string& directory, const std::u16string& prefix)
{
    ChunkFileFinder finder;
    find_files(finder, directory, u"*", u"*", false);
    for (const std::u16string& path : finder.files) {
        if (!add_file(path, prefix + u"/" + file_name_of(path)))
            return false;
    }
    return true;
}

void ChunkFile::rewind()
{
    has_chunk_ = false;
    at_end_ = false;
    name_.clear();
    data_start_ = 0;
    data_length_ = 0;
    data_read_ = 0;
}

bool ChunkFile::next_chunk()
{
    if (at_end_)
        return false;
    std::uint32_t position = has_chunk_ ? data_start_ + data_length_ : 0;
    has_chunk_ = false;
    name_.clear();
    data_length_ = 0;
    data_read_ = 0;
    at_end_ = true;

    std::uint32_t size = file_.size();
    if (position > size || !file_.seek(position))
        return false;
    std::uint32_t name_length = 0;
    if (!read_u32(name_length))
        return false;
    position += 4;
    // A damaged length must end the reading, not ask for gigabytes.
    if (name_length > size - position || name_length % 2 != 0)
        return false;
    std::vector<std::uint8_t> bytes(name_length);
    if (name_length > 0 && file_.read(bytes.data(), name_length) != name_length)
        return false;
    position += name_length;
    std::uint32_t data_length = 0;
    if (!read_u32(data_length))
        return false;
    position += 4;
    if (data_length > size - position)
        return false;

    name_.resize(name_length / 2);
    for (std::size_t i = 0; i < name_.size(); ++i)
        name_[i] = static_cast<char16_t>(platform::read_u16le(bytes.data() + 2 * i));
    data_start_ = position;
    data_length_ = data_length;
    has_chunk_ = true;
    at_end_ = false;
    return true;
}

std::uint32_t ChunkFile::read(void* buffer, std::uint32_t count)
{
    if (!has_chunk_)
        return 0;
    count = std::min(count, data_length_ - data_read_);
    if (count == 0 || !file_.seek(data_start_ + data_read_))
        return 0;
    std::uint32_t done = file_.read(buffer, count);
    data_read_ += done;
    return done;
}

bool ChunkFile::find_chunk(const std::u16string& name)
{
    rewind();
    while (next_chunk()) {
        if (name_ == name)
            return true;
    }
    return false;
}

bool ChunkFile::extract(const std::u16string& target_path)
{
    if (!has_chunk_ || !file_.seek(data_start_))
        return false;
    create_directories(directory_of(target_path));
    File target(target_path, 1);
    if (target.refused())
        return false;
    std::vector<unsigned char> block(BLOCK_SIZE);
    std::uint32_t left = data_length_;
    while (left > 0) {
        std::uint32_t count = std::min(BLOCK_SIZE, left);
        if (file_.read(block.data(), count) != count || target.write(block.data(), count) != count)
            return false;
        left -= count;
    }
    data_read_ = data_length_;
    return true;
}

bool ChunkFile::extract_directory(
    const std::u16string& target_directory, const std::u16string& directory)
{
    rewind();
    while (next_chunk()) {
        if (!same_path(directory_of(name_), directory))
            continue;
        std::u16string file_name = file_name_of(name_);
        if (file_name.empty() || file_name == u"." || file_name == u".."
            || file_name.find(u'\0') != std::u16string::npos)
            continue;
        // Without a target folder the name alone is the path: a leading
        // macro would place the file elsewhere.
        if (target_directory.empty() && file_name[0] == u'%')
            continue;
        if (!extract(join_path(target_directory, file_name)))
            return false;
    }
    return true;
}

} // namespace os
