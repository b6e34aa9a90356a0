#pragma once

#include "platform/graphics/Bitmap.h"

namespace skinner {

// The decoded image behind pictures of one name, shared by every picture
// that shows it (through std::shared_ptr, which is its reference count). An
// entry without a colour bitmap stands for an image that could not be
// found or decoded: pictures on it draw nothing.
class ImageEntry {
public:
    ImageEntry() = default;
    ImageEntry(platform::Bitmap color, platform::Mask mask, bool alpha)
        : color_(std::move(color))
        , mask_(std::move(mask))
        , alpha_(alpha)
    {
    }

    bool has_bitmaps() const { return !color_.is_empty(); }
    const platform::Bitmap& color() const { return color_; }
    // Null when the image is opaque.
    const platform::Mask* mask() const { return mask_.is_empty() ? nullptr : &mask_; }
    // Whether the mask is an 8-bit alpha mask (else a 1-bit mask).
    bool alpha() const { return alpha_; }
    int width() const { return color_.width(); }
    int height() const { return color_.height(); }

private:
    platform::Bitmap color_;
    platform::Mask mask_;
    bool alpha_ { false };
};

} // namespace skinner
