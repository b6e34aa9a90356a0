#include "skinner/ControlPicture.h"

#include <algorithm>

namespace skinner {

ControlPicture::ControlPicture(
    Container& container, std::u16string id, ControlKind kind, std::u16string node)
    : ControlButtonBase(container, std::move(id), kind, std::move(node))
{
    read_picture_properties();
}

void ControlPicture::read_properties()
{
    ControlButtonBase::read_properties();
    read_picture_properties();
}

void ControlPicture::read_picture_properties()
{
    ElementProperties props = properties();
    picture_h_ = props.h_alignment(u"PictureHAlignment", HAlignment::CENTER);
    picture_v_ = props.v_alignment(u"PictureVAlignment", VAlignment::VCENTER);
    picture_ = props.picture(u"Picture", picture_);
}

void ControlPicture::set_picture(const Picture& picture)
{
    repaint();
    picture_ = picture;
    repaint();
}

platform::Rect ControlPicture::picture_rect() const
{
    platform::Size natural = picture_.natural_size();
    platform::Rect area = rect();
    if (picture_.is_empty() || natural.width <= 0 || natural.height <= 0)
        return {};
    int width = natural.width;
    int height = natural.height;
    if (width > area.width() || height > area.height()) {
        // The smaller ratio, in integers: width × min(W/w, H/h).
        if (std::int64_t(area.width()) * natural.height
            <= std::int64_t(area.height()) * natural.width) {
            width = area.width();
            height = static_cast<int>(std::int64_t(natural.height) * area.width() / natural.width);
        } else {
            height = area.height();
            width = static_cast<int>(std::int64_t(natural.width) * area.height() / natural.height);
        }
    }
    int left = area.left;
    if (picture_h_ == HAlignment::CENTER)
        left += (area.width() - width) / 2;
    else if (picture_h_ == HAlignment::RIGHT)
        left = area.right - width;
    int top = area.top;
    if (picture_v_ == VAlignment::VCENTER)
        top += (area.height() - height) / 2;
    else if (picture_v_ == VAlignment::BOTTOM)
        top = area.bottom - height;
    return { left, top, left + width, top + height };
}

void ControlPicture::paint_content(platform::Canvas& canvas)
{
    platform::Rect where = picture_rect();
    if (!where.is_empty())
        picture_.draw(canvas, where);
}

} // namespace skinner
