#include "skinner/SkinHeader.h"

#include "platform/LittleEndian.h"
#include "skinner/SkinFormat.h"

namespace skinner {

using namespace format;

namespace {

// A text field of the header (version tag, devices): 32 units holding a
// string, its terminator and only zero units after it.
bool text_field_well_formed(const std::uint8_t* field)
{
    std::uint32_t i = 0;
    while (i < TEXT_FIELD_UNITS && platform::read_u16le(field + 2 * i) != 0)
        ++i;
    if (i == TEXT_FIELD_UNITS)
        return false;
    for (; i < TEXT_FIELD_UNITS; ++i) {
        if (platform::read_u16le(field + 2 * i) != 0)
            return false;
    }
    return true;
}

std::u16string text_field(const std::uint8_t* field)
{
    std::u16string text;
    for (std::uint32_t i = 0; i < TEXT_FIELD_UNITS; ++i) {
        char16_t unit = platform::read_u16le(field + 2 * i);
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    return text;
}

} // namespace

bool SkinHeader::well_formed(const std::uint8_t* header, std::uint32_t length)
{
    if (length < HEADER_SIZE)
        return false;
    for (int i = 0; i < 4; ++i) {
        if (platform::read_u16le(header + HEADER_MAGIC + 2 * i) != MAGIC[i])
            return false;
    }
    if (!text_field_well_formed(header + HEADER_VERSION)
        || !text_field_well_formed(header + HEADER_DEVICES))
        return false;
    std::uint32_t variant_tree = platform::read_u32le(header + HEADER_VARIANT_TREE);
    std::uint32_t kind_tree = platform::read_u32le(header + HEADER_KIND_TREE);
    if (variant_tree == 0 || !node_fits(variant_tree, length))
        return false;
    return kind_tree == 0 || node_fits(kind_tree, length);
}

std::u16string SkinHeader::version() const
{
    return text_field(bytes_ + HEADER_VERSION);
}

std::u16string SkinHeader::devices() const
{
    return text_field(bytes_ + HEADER_DEVICES);
}

Point SkinHeader::design_size(int index) const
{
    const std::uint8_t* entry = bytes_ + HEADER_DESIGN_SIZES + DESIGN_SIZE_RECORD * index;
    return { platform::read_i32le(entry), platform::read_i32le(entry + 4) };
}

std::uint32_t SkinHeader::variant_tree() const
{
    return platform::read_u32le(bytes_ + HEADER_VARIANT_TREE);
}

std::uint32_t SkinHeader::kind_tree() const
{
    return platform::read_u32le(bytes_ + HEADER_KIND_TREE);
}

std::uint32_t SkinHeader::picture_count() const
{
    return platform::read_u32le(bytes_ + HEADER_PICTURE_COUNT);
}

std::uint32_t SkinHeader::font_count() const
{
    return platform::read_u32le(bytes_ + HEADER_FONT_COUNT);
}

std::uint32_t SkinHeader::name_list() const
{
    return platform::read_u32le(bytes_ + HEADER_NAME_LIST);
}

bool SkinHeader::check_version(
    const SkinDevice& device, const std::u16string& tag, Point screen) const
{
    if (!device.suits(devices()))
        return false;
    if (!tag.empty() && version() != tag)
        return false;
    if (screen.x == 0 && screen.y == 0)
        return true;
    for (long long s = 1; s <= 4; ++s) {
        for (int j = 0; j < DESIGN_SIZE_COUNT; ++j) {
            Point design = design_size(j);
            if (screen.x == s * design.x && screen.y == s * design.y)
                return true;
        }
    }
    Point first = design_size(0);
    return first.x == 0 && first.y == 0;
}

int SkinHeader::scale_for(Point screen, const SkinDevice& device) const
{
    long long width = screen.x;
    long long height = screen.y;
    Point first = design_size(0);
    if ((width == 0 && height == 0) || first.x == 0 || first.y == 0)
        return 1;
    if (device.suits(devices())) {
        for (int s = 1; s <= 4; ++s) {
            for (int j = 0; j < DESIGN_SIZE_COUNT; ++j) {
                Point design = design_size(j);
                if (width == s * static_cast<long long>(design.x)
                    && height == s * static_cast<long long>(design.y))
                    return s;
            }
        }
    }
    // Design sizes are untrusted 32-bit values: the products need more than
    // 64 bits.
    int scale = 1;
    __int128 best = static_cast<__int128>(width + 1) * height;
    for (int s = 1; s <= 4; ++s) {
        for (int j = 0; j < DESIGN_SIZE_COUNT; ++j) {
            Point design = design_size(j);
            long long design_width = s * static_cast<long long>(design.x);
            long long design_height = s * static_cast<long long>(design.y);
            if (design_width > width || design_height > height)
                continue;
            __int128 waste
                = static_cast<__int128>(height) * (width - design_width) + (height - design_height);
            if (waste < best) {
                best = waste;
                scale = s;
            }
        }
    }
    return scale;
}

} // namespace skinner
