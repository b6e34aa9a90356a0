#pragma once

#include "skinner/SkinValues.h"

#include <functional>
#include <memory>
#include <string>

namespace skinner {

// Loads the image of the picture `name` for the skin file at `skin_path` at
// the skin's `scale`. Null when no image is found for the name or it cannot
// be decoded.
using PictureLoader = std::function<std::shared_ptr<ImageEntry>(
    const std::u16string& skin_path, const std::u16string& name, int scale)>;

// The loader that skins use to build their picture lists, installed by the
// code that draws pictures; returns the one it replaces. A skin whose
// picture cannot be loaded is invalid. While no loader is installed,
// pictures are kept by name only (their images are null) and do not decide
// validity, so that skins can be loaded and checked where nothing is drawn.
PictureLoader set_picture_loader(PictureLoader loader);
const PictureLoader& picture_loader();

} // namespace skinner
