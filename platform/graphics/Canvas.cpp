#include "platform/graphics/Canvas.h"

#include <vector>

namespace platform {

namespace {

Color blend(Color destination, Color source, int alpha)
{
    auto channel = [alpha](int d, int s) { return d + (((s - d) * alpha) >> 8); };
    return make_color(channel(red_of(destination), red_of(source)),
        channel(green_of(destination), green_of(source)),
        channel(blue_of(destination), blue_of(source)), channel(alpha_of(destination), 255));
}

Color opaque(Color color)
{
    return color | 0xFF000000u;
}

} // namespace

Canvas::Canvas(Bitmap& target)
    : target_(target)
    , clip_ { 0, 0, target.width(), target.height() }
{
}

void Canvas::set_clip(Rect clip)
{
    clip_ = clip.intersected({ 0, 0, target_.width(), target_.height() });
}

void Canvas::intersect_clip(Rect local)
{
    clip_ = clip_.intersected(to_target(local));
}

void Canvas::fill_rect(Rect local, Color color)
{
    Rect area = to_target(local).intersected(clip_);
    for (int y = area.top; y < area.bottom; ++y) {
        Color* row = target_.row(y);
        for (int x = area.left; x < area.right; ++x)
            row[x] = color;
    }
}

void Canvas::draw_picture(const Bitmap& color, const Mask* mask, Rect destination,
    const PictureAxis& x_axis, const PictureAxis& y_axis)
{
    Rect span = to_target(destination);
    Rect area = span.intersected(clip_);
    if (area.is_empty() || color.is_empty())
        return;
    PictureAxis xs = x_axis.normalized();
    PictureAxis ys = y_axis.normalized();
    if (mask && mask->is_empty())
        mask = nullptr;

    std::vector<int> columns(std::size_t(area.width()));
    for (int x = area.left; x < area.right; ++x)
        columns[std::size_t(x - area.left)] = xs.source(x, span.left, span.right);

    for (int y = area.top; y < area.bottom; ++y) {
        int sy = ys.source(y, span.top, span.bottom);
        if (sy < 0 || sy >= color.height())
            continue;
        const Color* source = color.row(sy);
        Color* target = target_.row(y);
        bool mask_row = mask && sy < mask->height();
        for (int x = area.left; x < area.right; ++x) {
            int sx = columns[std::size_t(x - area.left)];
            if (sx < 0 || sx >= color.width())
                continue;
            if (!mask) {
                target[x] = opaque(source[sx]);
                continue;
            }
            if (!mask_row || sx >= mask->width())
                continue;
            int value = mask->value(sx, sy);
            if (mask->depth() == 8)
                target[x] = blend(target[x], source[sx], value);
            else if (value)
                target[x] = opaque(source[sx]);
        }
    }
}

void Canvas::draw_bitmap(const Bitmap& bitmap, Point position)
{
    Rect span = to_target(
        { position.x, position.y, position.x + bitmap.width(), position.y + bitmap.height() });
    Rect area = span.intersected(clip_);
    for (int y = area.top; y < area.bottom; ++y) {
        const Color* source = bitmap.row(y - span.top);
        Color* target = target_.row(y);
        for (int x = area.left; x < area.right; ++x)
            target[x] = opaque(source[x - span.left]);
    }
}

} // namespace platform
