#pragma once

#include <cstdint>
#include <cstring>

// The binary layout of a skin description, shared by the reader (Skin) and
// the skin compiler. All integers are little-endian; every offset counts
// from the first byte of the description; all strings are UTF-16 with a zero
// terminator. The records below are packed so that sizeof() is the size of
// the record in the file; code reads and writes fields with the little-endian
// helpers of platform/LittleEndian.h, never by casting bytes to records.
namespace skinner::format {

inline constexpr char16_t MAGIC[4] = { 0x0421, 0x043A, 0x0438, 0x043D };

// Fixed fields of the header.
inline constexpr std::uint32_t HEADER_SIZE = 540;
inline constexpr std::uint32_t HEADER_MAGIC = 0;
inline constexpr std::uint32_t HEADER_VERSION = 8;
inline constexpr std::uint32_t HEADER_VARIANT_TREE = 72;
inline constexpr std::uint32_t HEADER_KIND_TREE = 76;
inline constexpr std::uint32_t HEADER_PICTURE_COUNT = 80;
inline constexpr std::uint32_t HEADER_FONT_COUNT = 84;
inline constexpr std::uint32_t HEADER_NAME_LIST = 88;
inline constexpr std::uint32_t HEADER_DESIGN_SIZES = 92;
inline constexpr std::uint32_t HEADER_DEVICES = 476;
// The version tag and the devices field: 32 units, terminated, zero-padded.
inline constexpr std::uint32_t TEXT_FIELD_UNITS = 32;
inline constexpr int DESIGN_SIZE_COUNT = 32;
inline constexpr std::uint32_t DESIGN_SIZE_RECORD = 12;

// A node of the variant tree, a control or a top-level node.
inline constexpr std::uint32_t NODE_LEFT = 0;
inline constexpr std::uint32_t NODE_RIGHT = 4;
inline constexpr std::uint32_t NODE_NAME = 8;
inline constexpr std::uint32_t NODE_ARRAYS = 12; // six (start, end) pairs
inline constexpr std::uint32_t NODE_CONTROL_TREE = 60;
inline constexpr std::uint32_t NODE_AUTO_COUNT = 64;
inline constexpr std::uint32_t NODE_AUTO_ENTRIES = 68;
inline constexpr std::uint32_t NODE_SIZE = 68;

// The six property arrays of a node, in the order of their (start, end)
// pairs in the node.
enum class PropertyType : int {
    Integer = 0,
    Point = 1,
    String = 2,
    Picture = 3,
    Color = 4,
    Font = 5
};
inline constexpr int PROPERTY_TYPE_COUNT = 6;

// Property names and string values are reached through 16-bit offsets.
inline constexpr std::uint32_t SHORT_OFFSET_LIMIT = 0x10000;

#pragma pack(push, 1)
struct IntegerNode {
    std::uint16_t name;
    std::uint16_t unused;
    std::int32_t value;
    static constexpr std::uint32_t Size = 8;
};

struct PointNode {
    std::uint16_t name;
    std::int16_t x;
    std::int16_t y;
    static constexpr std::uint32_t Size = 6;
};

struct ColorNode {
    std::uint16_t name;
    std::uint8_t color[4];
    static constexpr std::uint32_t Size = 6;
};

struct StringNode {
    std::uint16_t name;
    std::uint16_t value;
    static constexpr std::uint32_t Size = 4;
};

struct PictureNode {
    std::uint16_t name;
    std::uint16_t coordinates[8]; // x0, y0, x1, y1, x2, y2, x3, y3
    std::uint8_t index;
    std::uint8_t mode;
    static constexpr std::uint32_t Size = 20;
};

struct FontNode {
    std::uint16_t name;
    std::uint16_t unused;
    std::uint32_t index;
    static constexpr std::uint32_t Size = 8;
};

struct AutoControlEntry {
    std::uint16_t id;
    std::uint16_t type;
    static constexpr std::uint32_t Size = 4;
};
#pragma pack(pop)

static_assert(sizeof(IntegerNode) == IntegerNode::Size);
static_assert(sizeof(PointNode) == PointNode::Size);
static_assert(sizeof(ColorNode) == ColorNode::Size);
static_assert(sizeof(StringNode) == StringNode::Size);
static_assert(sizeof(PictureNode) == PictureNode::Size);
static_assert(sizeof(FontNode) == FontNode::Size);
static_assert(sizeof(AutoControlEntry) == AutoControlEntry::Size);

inline constexpr std::uint32_t RECORD_SIZES[PROPERTY_TYPE_COUNT] = {
    IntegerNode::Size,
    PointNode::Size,
    StringNode::Size,
    PictureNode::Size,
    ColorNode::Size,
    FontNode::Size,
};

// Whether a node starting at `node` lies wholly inside a description of
// `length` bytes.
inline bool node_fits(std::uint32_t node, std::uint32_t length)
{
    return node <= length && length - node >= NODE_SIZE;
}

} // namespace skinner::format
