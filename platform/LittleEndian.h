#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// 16- and 32-bit values stored low byte first, the order of every file and
// sound buffer the program reads and writes. Built from shifts and masks on
// unsigned values, so the host's own byte order never matters and no input
// is undefined. Signed values are the two's-complement reading of the same
// bits.

constexpr std::uint16_t read_u16le(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

constexpr std::uint32_t read_u32le(const std::uint8_t* p)
{
    return std::uint32_t { p[0] } | std::uint32_t { p[1] } << 8 | std::uint32_t { p[2] } << 16
        | std::uint32_t { p[3] } << 24;
}

constexpr std::int16_t read_i16le(const std::uint8_t* p)
{
    return static_cast<std::int16_t>(read_u16le(p));
}

constexpr std::int32_t read_i32le(const std::uint8_t* p)
{
    return static_cast<std::int32_t>(read_u32le(p));
}

constexpr void write_u16le(std::uint8_t* p, std::uint16_t value)
{
    p[0] = static_cast<std::uint8_t>(value & 0xFF);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

constexpr void write_u32le(std::uint8_t* p, std::uint32_t value)
{
    write_u16le(p, static_cast<std::uint16_t>(value & 0xFFFF));
    write_u16le(p + 2, static_cast<std::uint16_t>(value >> 16));
}

inline void append_u16le(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    std::uint8_t bytes[2];
    write_u16le(bytes, value);
    out.insert(out.end(), bytes, bytes + 2);
}

inline void append_u32le(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    std::uint8_t bytes[4];
    write_u32le(bytes, value);
    out.insert(out.end(), bytes, bytes + 4);
}

// For byte buffers held in a std::string, one char a byte.
inline void append_u16le(std::string& out, std::uint16_t value)
{
    std::uint8_t bytes[2];
    write_u16le(bytes, value);
    out.append(reinterpret_cast<const char*>(bytes), 2);
}

inline void append_u32le(std::string& out, std::uint32_t value)
{
    std::uint8_t bytes[4];
    write_u32le(bytes, value);
    out.append(reinterpret_cast<const char*>(bytes), 4);
}

} // namespace platform
