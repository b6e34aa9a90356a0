#include "audio/FileReaderWAVPCM.h"

#include "audio/Truncate.h"

#include <algorithm>

namespace audio {

FileReaderWAVPCM::FileReaderWAVPCM(const std::u16string& path)
    : FileReaderWAV(path)
{
    rewind(0);
}

// Unlinks before the file and the lock go away: a player may be pulling on
// its own thread.
FileReaderWAVPCM::~FileReaderWAVPCM()
{
    connect<PCMData>(*this, nullptr);
}

bool FileReaderWAVPCM::rewind(std::uint32_t position)
{
    liba::Lock guard(lock);
    header = WAVInfoPCM();
    good = file->is_open() && file->seek(position) && header.read(*file);
    // A header without channels, rate or frame size describes no sound: a
    // player would wait for its end for ever.
    good = good && header.channels > 0 && header.sample_rate > 0 && header.block_align > 0;
    return good;
}

PCMData FileReaderWAVPCM::get_data(std::int32_t frames)
{
    liba::Lock guard(lock);
    if (!good || frames <= 0)
        return PCMData();
    std::int64_t n = std::min<std::int64_t>(
        std::int64_t { frames } * header.block_align, data_size() - position());
    // A data chunk that claims more than the file holds gives only what is
    // there, and a position past the data (seek() allows it) gives nothing.
    std::int64_t in_file = std::int64_t { file->size() } - file->tell();
    n = std::min(n, in_file);
    if (n <= 0)
        return PCMData();
    liba::Buffer bytes(static_cast<std::int32_t>(n));
    if (file->read(bytes.writable_data(), static_cast<std::uint32_t>(n)) != n)
        return PCMData();
    return PCMData(bytes, header.channels, header.bits_per_sample, header.sample_rate);
}

std::int64_t FileReaderWAVPCM::bytes_for_seconds(double seconds)
{
    liba::Lock guard(lock);
    return truncate_count(header.sample_rate * seconds) * header.block_align;
}

double FileReaderWAVPCM::seconds_for_bytes(std::int64_t bytes)
{
    liba::Lock guard(lock);
    if (header.block_align == 0 || header.sample_rate == 0)
        return 0;
    return static_cast<double>(bytes) / header.block_align / header.sample_rate;
}

std::int64_t FileReaderWAVPCM::data_size()
{
    liba::Lock guard(lock);
    return header.data_size;
}

std::int64_t FileReaderWAVPCM::position()
{
    liba::Lock guard(lock);
    return std::int64_t { file->tell() } - header.data_offset;
}

void FileReaderWAVPCM::seek(std::int64_t bytes)
{
    liba::Lock guard(lock);
    if (header.block_align == 0)
        return;
    bytes -= bytes % header.block_align;
    bytes = std::clamp<std::int64_t>(bytes, 0, file->size());
    std::int64_t target = bytes + header.data_offset;
    file->seek(static_cast<std::uint32_t>(std::min<std::int64_t>(target, UINT32_MAX)));
}

bool FileReaderWAVPCM::deliver_seconds(double seconds)
{
    liba::Lock guard(lock);
    return deliver(truncate_count(header.sample_rate * seconds) * header.block_align);
}

bool FileReaderWAVPCM::deliver(std::int64_t bytes)
{
    liba::Lock guard(lock);
    if (!good || header.block_align == 0)
        return false;
    std::int64_t frames = bytes / header.block_align;
    while (frames >= 1) {
        PCMData block = get_data(static_cast<std::int32_t>(std::min(frames, DELIVER_FRAMES)));
        if (block.length() == 0)
            return false;
        push(static_cast<Provider<PCMData>&>(*this), block);
        frames -= block.frames();
    }
    return true;
}

} // namespace audio
