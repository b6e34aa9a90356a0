#pragma once

#include "liba/Nocopy.h"
#include "platform/graphics/Canvas.h"

namespace skinner {

// A canvas over a bitmap for the length of a scope, for drawing off screen.
// A bitmap that cannot be drawn on (one without pixels) is a broken rule:
// the fatal report "Failed to select bitmap into context".
class HDCSelector : liba::Nocopy {
public:
    explicit HDCSelector(platform::Bitmap& bitmap);

    platform::Canvas& canvas() { return canvas_; }

private:
    platform::Canvas canvas_;
};

} // namespace skinner
