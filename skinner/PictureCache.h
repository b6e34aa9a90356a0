#pragma once

#include "skinner/ImageEntry.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

namespace skinner {

// The process-wide cache of picture images, keyed by (skin path, picture
// name, scale), so that an image is loaded once per skin and scale however
// many pictures show it. Entries live as long as some picture holds them.
//
// Finding the image of a name at scale s: a pre-scaled image named
// name + "_x" + s is used unchanged when it exists; otherwise the image of
// the name is enlarged s times. Each image is the colour image of its name
// with the mask name + "_1" (1-bit: black transparent, white opaque) or
// name + "_8" (the grey level is the alpha). A colour image with an alpha
// channel of its own and no mask image uses its alpha as its mask.
class PictureCache {
public:
    static PictureCache& instance();

    // The image for the name; an entry without bitmaps when no image is
    // found or it cannot be decoded.
    std::shared_ptr<ImageEntry> load(
        const std::u16string& skin_path, const std::u16string& name, int scale);

    // Makes skins load their picture lists through this cache.
    static void install();

private:
    using Key = std::tuple<std::u16string, std::u16string, int>;
    std::mutex lock_;
    std::map<Key, std::weak_ptr<ImageEntry>> entries_;
};

} // namespace skinner
