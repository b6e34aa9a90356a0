#include "audio/WAVInfo.h"

#include <cstring>

namespace audio {

namespace {

std::uint32_t load32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8
        | static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t load16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

void store32(std::uint8_t* p, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void store16(std::uint8_t* p, std::uint32_t value)
{
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

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
    riff_size = load32(riff + 4);

    std::uint8_t format[24];
    if (!read_exactly(stream, format, sizeof format) || std::memcmp(format, "fmt ", 4) != 0)
        return false;
    fmt_size = load32(format + 4);
    format_tag = load16(format + 8);
    channels = load16(format + 10);
    sample_rate = static_cast<std::int32_t>(load32(format + 12));
    avg_bytes_per_second = load32(format + 16);
    block_align = load16(format + 20);
    bits_per_sample = load16(format + 22);

    if (!read_extension(stream))
        return false;

    // Every pass reads eight bytes and moves past the chunk, so the search
    // ends at the latest when a read runs out of file.
    for (;;) {
        std::uint8_t chunk[8];
        if (!read_exactly(stream, chunk, sizeof chunk))
            return false;
        std::uint32_t size = load32(chunk + 4);
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
    store32(head + 4, riff_size);
    std::memcpy(head + 8, "WAVEfmt ", 8);
    store32(head + 16, fmt_size);
    store16(head + 20, format_tag);
    store16(head + 22, static_cast<std::uint32_t>(channels));
    store32(head + 24, static_cast<std::uint32_t>(sample_rate));
    store32(head + 28, avg_bytes_per_second);
    store16(head + 32, block_align);
    store16(head + 34, static_cast<std::uint32_t>(bits_per_sample));
    if (!write_exactly(stream, head, sizeof head) || !write_extension(stream))
        return false;

    std::uint8_t data[8];
    std::memcpy(data, "data", 4);
    store32(data + 4, data_size);
    return write_exactly(stream, data, sizeof data);
}

} // namespace audio
