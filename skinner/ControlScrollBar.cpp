#include "skinner/ControlScrollBar.h"

#include <algorithm>
#include <cstdint>

namespace skinner {

namespace {

// a × b / c rounded to the nearest integer, halves away from zero; the
// thumb's length and place use it.
int scale_rounded(int a, int b, int c)
{
    if (c == 0)
        return 0;
    std::int64_t product = std::int64_t(a) * b;
    std::int64_t half = std::abs(std::int64_t(c)) / 2;
    std::int64_t rounded = product >= 0 ? (product + half) / c : (product - half) / c;
    return static_cast<int>(rounded);
}

ControlKind part_kind(const std::u16string& node)
{
    return node.empty() ? ControlKind::NoSkin : ControlKind::TopLevel;
}

} // namespace

ControlScrollBar::Button::Button(ControlScrollBar& bar, Part part, const std::u16string& node)
    : ControlButtonBase(bar.panel_container(), {}, part_kind(node), node)
    , bar_(bar)
    , part_(part)
{
    set_focusable(false);
}

void ControlScrollBar::Button::pointer_down(
    PointerButton button, platform::Point point, bool double_click)
{
    ControlButtonBase::pointer_down(button, point, double_click);
    if (button != PointerButton::Left)
        return;
    if (part_ == Part::Thumb) {
        drag_start_ = point;
        drag_position_ = bar_.position();
        return;
    }
    bar_.step(part_);
    periods_ = 0;
    set_timer(REPEAT_SECONDS);
}

void ControlScrollBar::Button::pointer_move(platform::Point point)
{
    if (part_ != Part::Thumb || !is_pressed())
        return;
    int travel = bar_.is_vertical() ? point.y - drag_start_.y : point.x - drag_start_.x;
    bar_.drag_thumb(drag_position_, travel);
}

void ControlScrollBar::Button::pointer_up(PointerButton button, platform::Point point)
{
    if (button == PointerButton::Left)
        kill_timer();
    ControlButtonBase::pointer_up(button, point);
}

void ControlScrollBar::Button::timer_fired()
{
    if (!is_pressed()) {
        kill_timer();
        return;
    }
    // The first repeat comes as the fifth period ends, then one per period.
    if (++periods_ >= REPEAT_DELAY_PERIODS)
        bar_.step(part_);
}

ControlScrollBar::ControlScrollBar(
    Container& container, std::u16string id, ControlKind kind, std::u16string node)
    : ControlPanel(container, std::move(id), kind, std::move(node))
{
    read_bar_properties();
    const std::array<std::pair<Part, std::size_t>, 5> parts { { { Part::Decrement, 0 },
        { Part::Increment, 1 }, { Part::PageBefore, 2 }, { Part::PageAfter, 2 },
        { Part::Thumb, 3 } } };
    for (auto [which, kind_index] : parts)
        parts_[static_cast<std::size_t>(which)]
            = std::make_unique<Button>(*this, which, kinds_[kind_index]);
    // The thumb lies over the page areas.
    part(Part::Thumb)->set_z_order(1);
    lay_out_content();
}

ControlScrollBar::~ControlScrollBar()
{
    for (auto& button : parts_)
        button.reset();
}

void ControlScrollBar::read_properties()
{
    ControlPanel::read_properties();
    read_bar_properties();
    lay_out_content();
}

void ControlScrollBar::read_bar_properties()
{
    ElementProperties props = properties();
    kinds_ = { props.string(u"KindMin", {}), props.string(u"KindMax", {}),
        props.string(u"KindSpace", {}), props.string(u"KindTrack", {}) };
    vertical_ = props.flag(u"Vertical", false);
    min_button_size_ = props.scaled_integer(u"MinButtonSize", 0);
    max_button_size_ = props.scaled_integer(u"MaxButtonSize", 0);
    // The range and the page belong to the program.
    props.check_unsupported_integer(u"Min");
    props.check_unsupported_integer(u"Max");
    props.check_unsupported_integer(u"Page");
}

void ControlScrollBar::clamp_and_report(int old_position)
{
    maximum_ = std::max(maximum_, minimum_);
    page_ = std::clamp(page_, 0, maximum_ - minimum_);
    position_ = std::clamp(position_, minimum_, maximum_ - page_);
    lay_out_content();
    if (position_ == old_position)
        return;
    repaint();
    if (observer_)
        observer_(position_);
    on_scroll_position(*this, position_);
}

void ControlScrollBar::set_range(int minimum, int maximum)
{
    int old = position_;
    minimum_ = minimum;
    maximum_ = maximum;
    clamp_and_report(old);
}

void ControlScrollBar::set_page(int page)
{
    int old = position_;
    page_ = page;
    clamp_and_report(old);
}

void ControlScrollBar::set_position(int position)
{
    int old = position_;
    position_ = position;
    clamp_and_report(old);
}

bool ControlScrollBar::wheel(int delta)
{
    int lines = -delta * WHEEL_LINES / platform::WHEEL_DELTA;
    if (lines == 0)
        return false;
    set_position(position_ + lines * line_);
    return true;
}

void ControlScrollBar::step(Part which)
{
    switch (which) {
    case Part::Decrement:
        set_position(position_ - line_);
        break;
    case Part::Increment:
        set_position(position_ + line_);
        break;
    case Part::PageBefore:
        set_position(position_ - page_);
        break;
    case Part::PageAfter:
        set_position(position_ + page_);
        break;
    case Part::Thumb:
        break;
    }
}

int ControlScrollBar::track_length() const
{
    int length = vertical_ ? size().height : size().width;
    int thickness = vertical_ ? size().width : size().height;
    auto button_length = [&](const Button* button) {
        int design
            = button ? (vertical_ ? button->design_size().height : button->design_size().width) : 0;
        return std::min(design > 0 ? design : thickness, length / 2);
    };
    return std::max(
        0, length - button_length(part(Part::Decrement)) - button_length(part(Part::Increment)));
}

int ControlScrollBar::thumb_length() const
{
    int track = track_length();
    int range = maximum_ - minimum_;
    int thumb = range <= 0 ? track : scale_rounded(track, page_, range);
    if (min_button_size_ > 0)
        thumb = std::max(thumb, min_button_size_);
    if (max_button_size_ > 0)
        thumb = std::min(thumb, max_button_size_);
    return std::clamp(thumb, 0, track);
}

void ControlScrollBar::drag_thumb(int start_position, int travel)
{
    int free_length = track_length() - thumb_length();
    if (free_length <= 0)
        return;
    set_position(start_position + scale_rounded(travel, maximum_ - minimum_ - page_, free_length));
}

void ControlScrollBar::lay_out_content()
{
    ControlPanel::lay_out_content();
    if (!parts_[0])
        return;
    platform::Rect r = rect();
    int length = vertical_ ? r.height() : r.width();
    int track = track_length();
    int before = part(Part::Decrement) ? (vertical_ ? part(Part::Decrement)->design_size().height
                                                    : part(Part::Decrement)->design_size().width)
                                       : 0;
    int thickness = vertical_ ? r.width() : r.height();
    before = std::min(before > 0 ? before : thickness, length / 2);
    int thumb = thumb_length();
    int movable = maximum_ - minimum_ - page_;
    int offset = movable > 0 ? scale_rounded(track - thumb, position_ - minimum_, movable) : 0;
    // Spans along the axis, from the bar's start.
    auto place = [&](Part which, int from, int to) {
        Button* button = part(which);
        if (vertical_)
            button->set_rect({ r.left, r.top + from }, { r.width(), std::max(0, to - from) });
        else
            button->set_rect({ r.left + from, r.top }, { std::max(0, to - from), r.height() });
    };
    int track_end = before + track;
    place(Part::Decrement, 0, before);
    place(Part::Increment, track_end, length);
    place(Part::PageBefore, before, before + offset);
    place(Part::Thumb, before + offset, before + offset + thumb);
    place(Part::PageAfter, before + offset + thumb, track_end);
}

void ControlScrollBar::laid_out()
{
    if (!placement_)
        return;
    platform::Rect where = placement_();
    set_rect({ where.left, where.top }, { where.width(), where.height() });
}

std::string ControlScrollBar::describe() const
{
    return "value=" + std::to_string(position_);
}

} // namespace skinner
