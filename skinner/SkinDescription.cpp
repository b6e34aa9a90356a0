#include "skinner/SkinDescription.h"

#include "liba/ZipFile.h"
#include "os/File.h"
#include "os/Log.h"
#include "platform/LittleEndian.h"

#include <algorithm>

namespace skinner {

using namespace format;

bool SkinDescription::load(const std::u16string& path)
{
    {
        liba::ZipFile archive(std::make_unique<os::File>(path, 0));
        if (archive.find_extension(u"skin")) {
            std::uint32_t size = archive.size();
            // The header may claim more than the file holds: check before
            // making room for it.
            bool whole = archive.available() == size;
            if (whole) {
                bytes_.resize(size);
                whole = archive.read(bytes_.data(), size) == size;
            }
            if (!whole) {
                bytes_.clear();
                os::log() << u"Error: skin [" << path << u"] failed to load from archive\n";
            }
            return whole;
        }
    }
    os::File file(path, 0);
    std::uint32_t size = file.size();
    bool whole = file.is_open();
    if (whole) {
        bytes_.resize(size);
        whole = file.read(bytes_.data(), size) == size;
    }
    if (!whole) {
        bytes_.clear();
        os::log() << u"Error: skin [" << path << u"] failed to load\n";
    }
    return whole;
}

std::optional<std::u16string> SkinDescription::string_at(std::uint32_t offset) const
{
    std::uint32_t length = size();
    std::u16string text;
    for (std::uint64_t at = offset; at + 2 <= length; at += 2) {
        char16_t unit = platform::read_u16le(&bytes_[static_cast<std::size_t>(at)]);
        if (unit == 0)
            return text;
        text.push_back(unit);
    }
    return std::nullopt;
}

std::optional<int> SkinDescription::compare_at(
    const std::u16string& name, std::uint32_t offset) const
{
    std::uint32_t length = size();
    std::uint64_t at = offset;
    for (std::size_t i = 0;; ++i, at += 2) {
        if (at + 2 > length)
            return std::nullopt;
        char16_t unit = platform::read_u16le(&bytes_[static_cast<std::size_t>(at)]);
        if (i == name.size())
            return unit == 0 ? 0 : -1;
        if (unit == 0)
            return 1;
        if (name[i] != unit)
            return name[i] < unit ? -1 : 1;
    }
}

bool SkinDescription::node_ok(std::uint32_t node) const
{
    return node != 0 && node_fits(node, size());
}

std::uint32_t SkinDescription::node_limit() const
{
    return std::max<std::uint32_t>(1, size() / NODE_SIZE);
}

std::u16string SkinDescription::node_name(std::uint32_t node) const
{
    if (!node_ok(node))
        return {};
    return string_at(u32(node + NODE_NAME)).value_or(std::u16string());
}

std::uint32_t SkinDescription::find_in_tree(std::uint32_t root, const std::u16string& name) const
{
    // A sound tree visits each node at most once, and the description holds
    // at most node_limit() nodes: a longer walk has met a link that loops.
    std::uint32_t node = root;
    for (std::uint32_t steps = node_limit(); steps > 0 && node_ok(node); --steps) {
        auto order = compare_at(name, u32(node + NODE_NAME));
        if (!order)
            return 0;
        if (*order == 0)
            return node;
        node = u32(node + (*order < 0 ? NODE_LEFT : NODE_RIGHT));
    }
    return 0;
}

const std::uint8_t* SkinDescription::find_record(
    std::uint32_t node, PropertyType type, const std::u16string& name) const
{
    if (!node_ok(node))
        return nullptr;
    int index = static_cast<int>(type);
    const std::uint8_t* pair = &bytes_[node + NODE_ARRAYS + 8 * index];
    std::uint32_t start = platform::read_u32le(pair);
    std::uint32_t end = platform::read_u32le(pair + 4);
    if (start > end || end > size())
        return nullptr;
    std::uint32_t record_size = RECORD_SIZES[index];
    std::uint32_t count = (end - start) / record_size;
    if (count == 0)
        return nullptr;
    auto record = [&](std::uint32_t i) { return &bytes_[start + record_size * i]; };
    std::uint32_t low = 0;
    std::uint32_t high = count;
    while (high - low > 1) {
        std::uint32_t middle = low + (high - low) / 2;
        auto order = compare_at(name, platform::read_u16le(record(middle)));
        if (!order)
            return nullptr;
        if (*order < 0)
            high = middle;
        else
            low = middle;
    }
    auto order = compare_at(name, platform::read_u16le(record(low)));
    return order && *order == 0 ? record(low) : nullptr;
}

} // namespace skinner
