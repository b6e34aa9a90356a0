#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The readable form of a skin, as the skin compiler reads it from its XML
// source and writes it into the binary layout. Everything the binary format
// can hold has a place here; names are UTF-16 as in the binary.
namespace skinc {

struct IntegerProperty {
    std::u16string name;
    std::int32_t value { 0 };
};

struct PointProperty {
    std::u16string name;
    std::int16_t x { 0 };
    std::int16_t y { 0 };
};

struct StringProperty {
    std::u16string name;
    std::u16string value;
};

struct PictureProperty {
    std::u16string name;
    // x0, y0, x1, y1, x2, y2, x3, y3: the outer rectangle is (x0, y0)-(x3, y3),
    // the middle part (x1, y1)-(x2, y2).
    std::array<std::uint16_t, 8> coordinates {};
    std::uint8_t index { 0 };
    std::uint8_t mode { 0 }; // nonzero: the middle stretches; zero: it repeats
};

struct ColorProperty {
    std::u16string name;
    std::array<std::uint8_t, 4> bytes {}; // red, green, blue, unused, in file order
};

struct FontProperty {
    std::u16string name;
    std::uint32_t index { 0 };
};

struct Properties {
    std::vector<IntegerProperty> integers;
    std::vector<PointProperty> points;
    std::vector<StringProperty> strings;
    std::vector<PictureProperty> pictures;
    std::vector<ColorProperty> colors;
    std::vector<FontProperty> fonts;
};

struct AutoControl {
    std::u16string id;
    std::u16string type;
};

// A form variant, a control or a top-level node. Only form variants have
// controls and auto controls.
struct Node {
    std::u16string name;
    Properties properties;
    std::vector<Node> controls;
    std::vector<AutoControl> auto_controls;
};

struct DesignSize {
    std::int32_t width { 0 };
    std::int32_t height { 0 };
};

// A file that an archive skin carries beside its description.
struct ArchiveFile {
    std::string source_path; // as the file system names it
    std::string entry_name; // 8-bit name inside the archive
};

struct SkinSource {
    std::u16string version;
    std::u16string devices;
    std::array<DesignSize, 32> design_sizes {};
    std::vector<std::u16string> pictures;
    std::vector<std::u16string> fonts;
    std::vector<Node> forms;
    std::vector<Node> nodes;
    std::vector<ArchiveFile> files;
};

} // namespace skinc
