#pragma once

#include "platform/graphics/Canvas.h"
#include "skinner/ImageEntry.h"
#include "skinner/SkinValues.h"

#include <memory>
#include <string>

namespace skinner {

class Skin;

// A rectangle of a skin image with fixed borders and a middle that
// stretches or repeats when the picture is drawn larger; a value copied
// freely, sharing its image. The outer rectangle (x0, y0)-(x3, y3) and the
// middle (x1, y1)-(x2, y2) are in image pixels. An empty picture has no
// image and draws nothing.
class Picture {
public:
    Picture() = default;
    // A picture property as the skin stores it: its coordinates are design
    // units, multiplied by the skin's scale whether the image was enlarged or
    // a pre-scaled image is used.
    Picture(const SkinPicture& stored, int scale);
    // The whole image, without borders, stretching.
    explicit Picture(std::shared_ptr<ImageEntry> image);

    // The picture `name` of the skin, loaded on demand through the picture
    // cache; its entry has no bitmaps when no image was found.
    static Picture load(const Skin& skin, const std::u16string& name);

    bool is_empty() const { return !image_; }
    // Whether the picture has an image to draw.
    bool is_loaded() const { return image_ && image_->has_bitmaps(); }
    const std::shared_ptr<ImageEntry>& image() const { return image_; }
    platform::PictureAxis x_axis() const { return { x0, x1, x2, x3, stretch }; }
    platform::PictureAxis y_axis() const { return { y0, y1, y2, y3, stretch }; }

    // Both borders of each axis.
    platform::Size minimum_size() const { return { x_axis().minimum(), y_axis().minimum() }; }
    // The outer rectangle's size.
    platform::Size natural_size() const { return { x3 - x0, y3 - y0 }; }

    // Draws the picture into the local rectangle, combined with what is
    // there by its mask.
    void draw(platform::Canvas& canvas, platform::Rect destination) const;
    // Whether the picture drawn into `destination` leaves the pixel at
    // `point` visible: inside, on the image, and not masked out.
    bool hit_test(platform::Point point, platform::Rect destination) const;

    int x0 { 0 }, y0 { 0 }, x1 { 0 }, y1 { 0 }, x2 { 0 }, y2 { 0 }, x3 { 0 }, y3 { 0 };
    bool stretch { false };

private:
    std::shared_ptr<ImageEntry> image_;
};

} // namespace skinner
