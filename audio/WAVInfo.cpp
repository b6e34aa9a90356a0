#include "audio/WAVInfo.h"

#include "platform/LittleEndian.h"

#include <cstring>

namespace audio {

namespace {

bool read_exactly(liba::StreamReader& stream, void* buffer, std::uint32_t count)
{
    return stream.read(buffer, count) == count;
}

bool write_exactly(liba::StreamWriter& stream, const void* buffer, std::uint32_t count)
{
    return stream.write(buffer, count) == count;
}

} // namespace

bool WAVInfo::read(liba::StreamReader& stream)
{
    if (stream.has_errors())
        return false;

    std::uint8_t riff[12];
    if (!read_exactly(stream, riff, sizeof riff) || std::memcmp(riff, "RIFF", 4) != 0
        || std::memcmp(riff + 8, "WAVE", 4) != 0)
        return false;
    riff_size = platform::read_u32le(riff + 4);

    std::uint8_t format[24];
    if (!read_exactly(stream, format, sizeof format) || std::memcmp(format, "fmt ", 4) != 0)
        return false;
    fmt_size = platform::read_u32le(format + 4);
    format_tag = platform::read_u16le(format + 8);
    channels = platform::read_u16le(format + 10);
    sample_rate = platform::read_i32le(format + 12);
    avg_bytes_per_second = platform::read_u32le(format + 16);
    block_align = platform::read_u16le(format + 20);
    bits_per_sample = platform::read_u16le(format + 22);

    if (!read_extension(stream))
        return false;

    // Every pass reads eight bytes and moves past the chunk, so the search
    // ends at the latest when a read runs out of file.
    for (;;) {
        std::uint8_t chunk[8];
        if (!read_exactly(stream, chunk, sizeof chunk))
            return false;
        std::uint32_t size = platform::read_u32le(chunk + 4);
        if (std::memcmp(chunk, "data", 4) == 0) {
            data_size = size;
            data_offset = stream.tell();
            return true;
        }
        std::uint64_t next = static_cast<std::uint64_t>(stream.tell()) + size;
        // A chunk that runs past the end of the file leaves no room for the data.
        if (next > stream.size() || stream.skip(size) != size)
            return false;
    }
}

bool WAVInfo::write(liba::StreamWriter& stream)
{
    if (stream.has_errors())
        return false;

    std::uint8_t head[36];
    std::memcpy(head, "RIFF", 4);
    platform::write_u32le(head + 4, riff_size);
    std::memcpy(head + 8, "WAVEfmt ", 8);
    platform::write_u32le(head + 16, fmt_size);
    platform::write_u16le(head + 20, format_tag);
    platform::write_u16le(head + 22, static_cast<std::uint16_t>(channels));
    platform::write_u32le(head + 24, static_cast<std::uint32_t>(sample_rate));
    platform::write_u32le(head + 28, avg_bytes_per_second);
    platform::write_u16le(head + 32, block_align);
    platform::write_u16le(head + 34, static_cast<std::uint16_t>(bits_per_sample));
    if (!write_exactly(stream, head, sizeof head) || !write_extension(stream))
        return false;

    std::uint8_t data[8];
    std::memcpy(data, "data", 4);
    platform::write_u32le(data + 4, data_size);
    return write_exactly(stream, data, sizeof data);
}

} // namespace audio
