#include "skinner/Picture.h"

#include "skinner/PictureCache.h"
#include "skinner/Skin.h"

namespace skinner {

Picture::Picture(const SkinPicture& stored, int scale)
    : x0(stored.coordinates[0] * scale)
    , y0(stored.coordinates[1] * scale)
    , x1(stored.coordinates[2] * scale)
    , y1(stored.coordinates[3] * scale)
    , x2(stored.coordinates[4] * scale)
    , y2(stored.coordinates[5] * scale)
    , x3(stored.coordinates[6] * scale)
    , y3(stored.coordinates[7] * scale)
    , stretch(stored.stretch)
    , image_(stored.image)
{
}

Picture::Picture(std::shared_ptr<ImageEntry> image)
    : stretch(true)
    , image_(std::move(image))
{
    if (!image_)
        return;
    x2 = x3 = image_->width();
    y2 = y3 = image_->height();
}

Picture Picture::load(const Skin& skin, const std::u16string& name)
{
    return Picture(PictureCache::instance().load(skin.path(), name, skin.scale()));
}

void Picture::draw(platform::Canvas& canvas, platform::Rect destination) const
{
    if (!is_loaded())
        return;
    canvas.draw_picture(image_->color(), image_->mask(), destination, x_axis(), y_axis());
}

bool Picture::hit_test(platform::Point point, platform::Rect destination) const
{
    if (!is_loaded())
        return false;
    int sx = x_axis().normalized().source(point.x, destination.left, destination.right);
    int sy = y_axis().normalized().source(point.y, destination.top, destination.bottom);
    if (sx < 0 || sy < 0 || sx >= image_->width() || sy >= image_->height())
        return false;
    const platform::Mask* mask = image_->mask();
    if (!mask)
        return true;
    return sx < mask->width() && sy < mask->height() && mask->is_visible(sx, sy);
}

} // namespace skinner
