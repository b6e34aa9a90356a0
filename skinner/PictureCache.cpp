#include "skinner/PictureCache.h"

#include "liba/ZipFile.h"
#include "os/File.h"
#include "os/Log.h"
#include "os/Path.h"
#include "platform/Convert.h"
#include "platform/graphics/ImageDecoder.h"
#include "skinner/PictureLoader.h"
#include "skinner/StoredBmp.h"

#include <optional>
#include <vector>

namespace skinner {

namespace {

// Image files larger than this are not read.
constexpr std::uint32_t MAX_IMAGE_FILE = 64 * 1024 * 1024;

std::optional<std::vector<std::uint8_t>> read_whole(liba::StreamReader& stream)
{
    std::uint32_t size = stream.size();
    if (size == 0 || size > MAX_IMAGE_FILE)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(size);
    if (stream.read(bytes.data(), size) != size)
        return std::nullopt;
    return bytes;
}

std::optional<platform::Bitmap> decode(
    const std::optional<std::vector<std::uint8_t>>& bytes, platform::ImageType type)
{
    if (!bytes)
        return std::nullopt;
    return platform::decode_image(bytes->data(), bytes->size(), type);
}

std::optional<platform::Bitmap> from_archive(
    const std::u16string& skin_path, const std::u16string& name)
{
    liba::ZipFile archive(std::make_unique<os::File>(skin_path, 0));
    if (archive.refused())
        return std::nullopt;
    if (archive.find_entry(name + u".gif")) {
        if (auto bitmap = decode(read_whole(archive), platform::ImageType::Gif))
            return bitmap;
    }
    if (!archive.find_entry(name + u".bmp"))
        return std::nullopt;
    auto bytes = read_whole(archive);
    if (auto bitmap = decode(bytes, platform::ImageType::Bmp))
        return bitmap;
    if (!bytes)
        return std::nullopt;
    std::uint32_t pixel_bytes = 0;
    auto bitmap = read_stored_bmp(bytes->data(), bytes->size(), &pixel_bytes);
    if (bitmap)
        os::log() << u"load_zipped_image: " << name << u" - " << pixel_bytes << u"\n";
    return bitmap;
}

std::optional<platform::Bitmap> from_folder(
    const std::u16string& skin_path, const std::u16string& name)
{
    static constexpr std::pair<const char16_t*, platform::ImageType> files[] = {
        { u".png", platform::ImageType::Png },
        { u".bmp", platform::ImageType::Bmp },
        { u".gif", platform::ImageType::Gif },
        { u".jpg", platform::ImageType::Jpeg },
    };
    std::u16string base = os::join_path(os::directory_of(skin_path), name);
    for (auto& [extension, type] : files) {
        os::File file(base + extension, 0);
        if (!file.is_open())
            continue;
        if (auto bitmap = decode(read_whole(file), type))
            return bitmap;
    }
    return std::nullopt;
}

// Searching one name: the skin's archive first, then files beside the skin.
std::optional<platform::Bitmap> find_image(
    const std::u16string& skin_path, const std::u16string& name)
{
    if (auto bitmap = from_archive(skin_path, name))
        return bitmap;
    return from_folder(skin_path, name);
}

std::optional<ImageEntry> load_name(const std::u16string& skin_path, const std::u16string& name)
{
    auto color = find_image(skin_path, name);
    if (!color)
        return std::nullopt;
    if (auto mask = find_image(skin_path, name + u"_1"))
        return ImageEntry(std::move(*color), platform::Mask::from_brightness(*mask, 1), false);
    if (auto mask = find_image(skin_path, name + u"_8"))
        return ImageEntry(std::move(*color), platform::Mask::from_brightness(*mask, 8), true);
    if (color->has_transparency()) {
        platform::Mask mask = platform::Mask::from_alpha(*color);
        return ImageEntry(std::move(*color), std::move(mask), true);
    }
    return ImageEntry(std::move(*color), {}, false);
}

void log_bitmap(int width, int height, int bits)
{
    os::log() << u"bmp: Width=" << width << u" Height=" << height << u" bmBitsPixel=" << bits
              << u" bmPlanes=" << 1 << u"\n";
}

ImageEntry find_entry(const std::u16string& skin_path, const std::u16string& name, int scale)
{
    if (scale != 1) {
        if (auto prescaled = load_name(
                skin_path, name + u"_x" + platform::narrow_to_wide(platform::to_text(scale))))
            return std::move(*prescaled);
    }
    auto entry = load_name(skin_path, name);
    if (!entry)
        return {};
    if (scale == 1)
        return std::move(*entry);
    platform::Bitmap color = entry->color().enlarged(scale);
    log_bitmap(color.width(), color.height(), 32);
    platform::Mask mask;
    if (const platform::Mask* original = entry->mask()) {
        mask = original->enlarged(scale);
        log_bitmap(mask.width(), mask.height(), mask.depth());
    }
    return ImageEntry(std::move(color), std::move(mask), entry->alpha());
}

} // namespace

PictureCache& PictureCache::instance()
{
    static PictureCache cache;
    return cache;
}

std::shared_ptr<ImageEntry> PictureCache::load(
    const std::u16string& skin_path, const std::u16string& name, int scale)
{
    Key key { skin_path, name, scale };
    {
        std::lock_guard guard(lock_);
        if (auto found = entries_[key].lock())
            return found;
    }
    // Decoding happens outside the lock; two threads asking at once both
    // decode, and the second result replaces the first in the map.
    auto entry = std::make_shared<ImageEntry>(find_entry(skin_path, name, scale));
    if (!entry->has_bitmaps())
        return entry;
    std::lock_guard guard(lock_);
    entries_[key] = entry;
    return entry;
}

void PictureCache::install()
{
    set_picture_loader([](const std::u16string& skin_path, const std::u16string& name, int scale) {
        auto entry = instance().load(skin_path, name, scale);
        return entry->has_bitmaps() ? entry : nullptr;
    });
}

} // namespace skinner
