#include "skinner/ControlProgress.h"

#include <algorithm>
#include <cstdio>

namespace skinner {

ControlProgressBase::ControlProgressBase(
    Container& container, std::u16string id, ControlKind kind, std::u16string node)
    : Control(container, std::move(id), kind, std::move(node))
{
    read_progress_properties();
}

void ControlProgressBase::read_properties()
{
    Control::read_properties();
    read_progress_properties();
}

void ControlProgressBase::read_progress_properties()
{
    ElementProperties props = properties();
    background_ = props.picture(u"Background", Picture());
    track_ = props.picture(u"Track", Picture());
    track_disabled_ = props.picture(u"TrackDisabled", Picture());
    orientation_ = props.integer(u"Orientation", 3);
    progress_ = props.picture(u"Progress", Picture());
    track_size_ = props.scaled_integer(u"TrackSize", 0);
}

void ControlProgressBase::set_value(double value)
{
    value = std::clamp(value, 0.0, 1.0);
    if (value == value_)
        return;
    value_ = value;
    on_value_changed(*this, value_);
    repaint();
}

platform::Rect ControlProgressBase::covered_rect() const
{
    platform::Rect r = rect();
    int length = vertical() ? r.height() : r.width();
    int covered = static_cast<int>(value_ * length + 0.5);
    switch (orientation_) {
    case 0:
        return { r.left, r.top, r.right, r.top + covered };
    case 1:
        return { r.right - covered, r.top, r.right, r.bottom };
    case 2:
        return { r.left, r.bottom - covered, r.right, r.bottom };
    default:
        return { r.left, r.top, r.left + covered, r.bottom };
    }
}

void ControlProgressBase::paint(platform::Canvas& canvas)
{
    platform::Rect r = rect();
    platform::Rect covered = covered_rect();
    if (mirrored()) {
        // Growing from the far end, the pictures exchange roles: the
        // progress lies under everything and the background covers what
        // the value has not reached.
        progress_.draw(canvas, r);
        platform::Rect rest = vertical() ? platform::Rect { r.left, r.top, r.right, covered.top }
                                         : platform::Rect { r.left, r.top, covered.left, r.bottom };
        if (!rest.is_empty())
            background_.draw(canvas, rest);
    } else {
        background_.draw(canvas, r);
        if (!covered.is_empty())
            progress_.draw(canvas, covered);
    }
    const Picture& thumb = is_enabled() ? track_ : track_disabled_;
    if (!thumb.is_empty() && track_size_ > 0) {
        int length = vertical() ? r.height() : r.width();
        int start = vertical() ? r.top : r.left;
        int free_length = length - track_size_;
        int offset = static_cast<int>(value_ * free_length + 0.5);
        int from = mirrored() ? start + free_length - offset : start + offset;
        platform::Rect where = vertical()
            ? platform::Rect { r.left, from, r.right, from + track_size_ }
            : platform::Rect { from, r.top, from + track_size_, r.bottom };
        thumb.draw(canvas, where);
    }
    Control::paint(canvas);
}

std::optional<double> ControlProgressBase::value_at(platform::Point point) const
{
    platform::Rect r = rect();
    int length = vertical() ? r.height() : r.width();
    int start = vertical() ? r.top : r.left;
    int p = vertical() ? point.y : point.x;
    int free_length = length - track_size_;
    if (free_length == 0)
        return std::nullopt;
    double half = track_size_ / 2.0;
    double along = mirrored() ? start + length - half - p : p - start - half;
    return std::clamp(along / free_length, 0.0, 1.0);
}

void ControlProgressBase::request(platform::Point point)
{
    if (std::optional<double> value = value_at(point))
        on_value_requested(*this, *value);
}

void ControlProgressBase::pointer_down(PointerButton button, platform::Point point, bool)
{
    if (button != PointerButton::Left)
        return;
    dragging_ = true;
    request(point);
}

void ControlProgressBase::pointer_move(platform::Point point)
{
    if (dragging_)
        request(point);
}

void ControlProgressBase::pointer_up(PointerButton button, platform::Point)
{
    if (button != PointerButton::Left || !dragging_)
        return;
    dragging_ = false;
    on_drag_finished(*this);
}

std::string ControlProgressBase::describe() const
{
    char text[32];
    std::snprintf(text, sizeof text, "value=%g", value_);
    return text;
}

} // namespace skinner
