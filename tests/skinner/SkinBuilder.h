#pragma once

#include "platform/LittleEndian.h"
#include "skinner/SkinFormat.h"
#include "tools/skinc/SkinCompiler.h"
#include "tools/skinc/SkinWriter.h"
#include "tools/skinc/ZipWriter.h"

#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

// Fixture skins for tests, made with the skin compiler's library.
namespace skin_builder {

inline skinc::Node node(const std::u16string& name)
{
    return skinc::Node { name, {}, {}, {} };
}

// A form variant with a "Size" and, when given, "Devices" and "Fullscreen".
inline skinc::Node variant(const std::u16string& name, std::int16_t width, std::int16_t height,
    const std::u16string& devices = u"", int fullscreen = -1)
{
    skinc::Node result = node(name);
    result.properties.points.push_back({ u"Size", width, height });
    if (!devices.empty())
        result.properties.strings.push_back({ u"Devices", devices });
    if (fullscreen >= 0)
        result.properties.integers.push_back({ u"Fullscreen", fullscreen });
    return result;
}

// A skin for the program's tag with design sizes 240 x 320 and 480 x 640.
inline skinc::SkinSource skin(std::vector<skinc::Node> forms = { variant(u"Form", 240, 320) })
{
    skinc::SkinSource source;
    source.version = u"Ringwise_1.0";
    source.design_sizes[0] = { 240, 320 };
    source.design_sizes[1] = { 480, 640 };
    source.forms = std::move(forms);
    return source;
}

inline std::vector<std::uint8_t> description(const skinc::SkinSource& source)
{
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(skinc::write_skin(source, bytes, error)) << error;
    return bytes;
}

inline void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// Writes the skin (plain, or as an archive) under `name` in `directory`
// and returns its path.
inline std::u16string write(const TempDirectory& directory, const std::string& name,
    const skinc::SkinSource& source, bool archive = false)
{
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(skinc::build_skin_file(source, archive, "description.skin", bytes, error)) << error;
    write_file(directory.native(name), bytes);
    return directory.wide(name);
}

inline std::u16string write(
    const TempDirectory& directory, const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    write_file(directory.native(name), bytes);
    return directory.wide(name);
}

inline std::uint32_t u32(const std::vector<std::uint8_t>& bytes, std::uint32_t offset)
{
    return platform::read_u32le(&bytes[offset]);
}

inline void put32(std::vector<std::uint8_t>& bytes, std::uint32_t offset, std::uint32_t value)
{
    platform::write_u32le(&bytes[offset], value);
}

} // namespace skin_builder
