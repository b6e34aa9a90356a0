#include "audio/FileReaderWAV.h"

namespace audio {

FileReaderWAV::FileReaderWAV(const std::u16string& path)
    : file(std::make_unique<os::File>(path, 0))
{
}

FileReaderWAV::~FileReaderWAV() = default;

bool FileReaderWAV::is_good()
{
    liba::Lock guard(lock);
    return good;
}

bool FileReaderWAV::is_end()
{
    liba::Lock guard(lock);
    return !good || position() >= data_size();
}

std::int32_t FileReaderWAV::get_channels()
{
    liba::Lock guard(lock);
    return info().channels;
}

std::int32_t FileReaderWAV::get_bits_per_sample()
{
    liba::Lock guard(lock);
    return info().bits_per_sample;
}

std::int32_t FileReaderWAV::get_sample_rate()
{
    liba::Lock guard(lock);
    return info().sample_rate;
}

std::int64_t FileReaderWAV::get_bit_rate()
{
    liba::Lock guard(lock);
    return static_cast<std::int64_t>(info().avg_bytes_per_second) * 8;
}

} // namespace audio
