#include "platform/LittleEndian.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using namespace platform;

TEST(LittleEndian, StoresTheLowByteFirst)
{
    std::uint8_t bytes[6] = {};
    write_u16le(bytes, 0x8001);
    write_u32le(bytes + 2, 0x80FF0102u);
    EXPECT_EQ((std::vector<std::uint8_t>(bytes, bytes + 6)),
        (std::vector<std::uint8_t> { 0x01, 0x80, 0x02, 0x01, 0xFF, 0x80 }));
}

TEST(LittleEndian, ReadsKnownBytesIncludingTheTopBit)
{
    const std::uint8_t bytes[] = { 0x00, 0x80, 0xFF, 0xFF, 0xFF, 0xFF, 0x34, 0x12, 0x78, 0x56 };
    EXPECT_EQ(read_u16le(bytes), 0x8000);
    EXPECT_EQ(read_u16le(bytes + 6), 0x1234);
    EXPECT_EQ(read_u32le(bytes + 2), 0xFFFFFFFFu);
    EXPECT_EQ(read_u32le(bytes + 6), 0x56781234u);
    EXPECT_EQ(read_i16le(bytes), std::numeric_limits<std::int16_t>::min());
    EXPECT_EQ(read_i16le(bytes + 2), -1);
    EXPECT_EQ(read_i16le(bytes + 6), 0x1234);
    EXPECT_EQ(read_i32le(bytes + 2), -1);
    EXPECT_EQ(read_i32le(bytes + 6), 0x56781234);
    const std::uint8_t most_negative[] = { 0x00, 0x00, 0x00, 0x80 };
    EXPECT_EQ(read_i32le(most_negative), std::numeric_limits<std::int32_t>::min());
}

TEST(LittleEndian, RoundTripsEdgeValues)
{
    for (std::uint16_t value : { 0x0000, 0x0001, 0x00FF, 0x7FFF, 0x8000, 0xFFFF }) {
        std::uint8_t bytes[2];
        write_u16le(bytes, value);
        EXPECT_EQ(read_u16le(bytes), value);
        EXPECT_EQ(read_i16le(bytes), static_cast<std::int16_t>(value));
    }
    for (std::uint32_t value :
        { 0x00000000u, 0x000000FFu, 0x7FFFFFFFu, 0x80000000u, 0xDEADBEEFu, 0xFFFFFFFFu }) {
        std::uint8_t bytes[4];
        write_u32le(bytes, value);
        EXPECT_EQ(read_u32le(bytes), value);
        EXPECT_EQ(read_i32le(bytes), static_cast<std::int32_t>(value));
    }
    for (std::int16_t sample : { -32768, -1, 0, 32767 }) {
        std::uint8_t bytes[2];
        write_u16le(bytes, static_cast<std::uint16_t>(sample));
        EXPECT_EQ(read_i16le(bytes), sample);
    }
}

TEST(LittleEndian, AppendsToByteVectorsAndStrings)
{
    std::vector<std::uint8_t> vector_bytes { 0xAA };
    append_u16le(vector_bytes, 0xFFFE);
    append_u32le(vector_bytes, 0x80000001u);
    EXPECT_EQ(
        vector_bytes, (std::vector<std::uint8_t> { 0xAA, 0xFE, 0xFF, 0x01, 0x00, 0x00, 0x80 }));

    std::string string_bytes = "x";
    append_u16le(string_bytes, 0xFFFE);
    append_u32le(string_bytes, 0x80000001u);
    EXPECT_EQ(string_bytes, std::string("x\xFE\xFF\x01\x00\x00\x80", 7));
}

TEST(LittleEndian, WorksInConstantExpressions)
{
    constexpr std::array<std::uint8_t, 4> bytes = [] {
        std::array<std::uint8_t, 4> out {};
        write_u32le(out.data(), 0xCAFEF00Du);
        return out;
    }();
    static_assert(read_u32le(bytes.data()) == 0xCAFEF00Du);
    static_assert(read_i16le(bytes.data() + 2) == static_cast<std::int16_t>(0xCAFE));
    EXPECT_EQ(bytes[0], 0x0D);
}
