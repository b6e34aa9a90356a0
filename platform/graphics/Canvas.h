#pragma once

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/PictureAxis.h"

namespace platform {

// A drawing surface over a bitmap: the stand-in for a device context.
// Drawing positions are local, relative to the origin; everything drawn is
// cut to the clip rectangle (kept in the bitmap's coordinates) and to the
// bitmap. The canvas does not own its bitmap. User-interface thread only.
class Canvas {
public:
    explicit Canvas(Bitmap& target);

    Bitmap& target() { return target_; }
    const Bitmap& target() const { return target_; }

    Point origin() const { return origin_; }
    void set_origin(Point origin) { origin_ = origin; }
    // The clip rectangle in the bitmap's coordinates, always inside the bitmap.
    Rect clip() const { return clip_; }
    void set_clip(Rect clip);
    // Narrows the clip to a rectangle given in local coordinates.
    void intersect_clip(Rect local);
    // The clip rectangle in local coordinates.
    Rect local_clip() const { return clip_.translated(-origin_.x, -origin_.y); }

    void fill_rect(Rect local, Color color);

    // Draws a picture of `color` into the local rectangle `destination`,
    // mapping each axis through its PictureAxis. Without a mask the picture
    // is opaque; a 1-bit mask leaves its zero pixels out; an 8-bit mask
    // blends every channel as dst + ((src - dst) * alpha >> 8). Source
    // pixels outside the image (or outside the mask) are not drawn.
    void draw_picture(const Bitmap& color, const Mask* mask, Rect destination,
        const PictureAxis& x_axis, const PictureAxis& y_axis);

    // Copies a whole bitmap, opaque, with its top-left corner at `position`.
    void draw_bitmap(const Bitmap& bitmap, Point position);

private:
    Rect to_target(Rect local) const { return local.translated(origin_.x, origin_.y); }

    Bitmap& target_;
    Point origin_;
    Rect clip_;
};

} // namespace platform
