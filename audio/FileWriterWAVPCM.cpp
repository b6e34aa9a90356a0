#include "audio/FileWriterWAVPCM.h"

namespace audio {

FileWriterWAVPCM::FileWriterWAVPCM(const std::u16string& path, bool append)
    : FileWriterWAV(path, append)
{
}

FileWriterWAVPCM::~FileWriterWAVPCM() = default;

bool FileWriterWAVPCM::set_format(const PCMData& block)
{
    // A block without a format (no channels, no sample size or no rate)
    // cannot be described by a header; it does not start a file.
    if (block.block_size() <= 0 || block.sample_rate <= 0 || block.block_size() > 0xFFFF)
        return false;
    header.channels = block.channels;
    header.block_align = static_cast<std::uint16_t>(block.block_size());
    header.avg_bytes_per_second = static_cast<std::uint32_t>(header.block_align)
        * static_cast<std::uint32_t>(block.sample_rate);
    header.bits_per_sample = block.bits_per_sample;
    header.sample_rate = block.sample_rate;
    return true;
}

bool FileWriterWAVPCM::write_data(const PCMData& block)
{
    if (block.channels != header.channels || block.bits_per_sample != header.bits_per_sample
        || block.sample_rate != header.sample_rate || block.block_size() <= 0)
        return true;
    std::uint32_t length = static_cast<std::uint32_t>(block.length());
    std::uint32_t written = stream->write(block.bytes(), length);
    std::uint32_t size = static_cast<std::uint32_t>(block.block_size());
    std::uint32_t frames = written / size;
    frames_written += frames;
    header.data_size += frames * size;
    if (written % size == 0)
        return written == length;
    // Step back over the partial frame, so that the next write replaces it.
    stream->seek(header.data_offset + header.data_size);
    return false;
}

std::int64_t FileWriterWAVPCM::bit_rate() const
{
    return std::int64_t { header.avg_bytes_per_second } * 8;
}

} // namespace audio
