#include "skinner/ControlPanelAutoScroll.h"

#include <algorithm>

namespace skinner {

ControlPanelAutoScroll::ControlPanelAutoScroll(
    Container& container, std::u16string id, ControlKind kind, std::u16string node)
    : ControlPanel(container, std::move(id), kind, std::move(node))
{
    read_scroll_properties();
    vertical_ = make_bar(kind_vertical_, true);
    horizontal_ = make_bar(kind_horizontal_, false);
    lay_out_content();
}

ControlPanelAutoScroll::~ControlPanelAutoScroll()
{
    vertical_.reset();
    horizontal_.reset();
}

void ControlPanelAutoScroll::read_properties()
{
    ControlPanel::read_properties();
    read_scroll_properties();
    lay_out_content();
}

void ControlPanelAutoScroll::read_scroll_properties()
{
    ElementProperties props = properties();
    kind_vertical_ = props.string(u"KindScroll", {});
    kind_horizontal_ = props.string(u"KindHScroll", {});
    scroll_width_ = props.scaled_integer(u"ScrollWidth", 0);
    scroll_height_ = props.scaled_integer(u"ScrollHeight", scroll_width_);
    border_min_ = props.point(u"BorderMin", {});
    border_max_ = props.point(u"BorderMax", border_min_);
    scroll_border_min_ = props.point(u"ScrollBorderMin", {});
    scroll_border_max_ = props.point(u"ScrollBorderMax", scroll_border_min_);
}

std::unique_ptr<ControlScrollBar> ControlPanelAutoScroll::make_bar(
    const std::u16string& kind, bool vertical)
{
    if (kind.empty())
        return nullptr;
    auto bar = std::make_unique<ControlScrollBar>(container(), u"", ControlKind::TopLevel, kind);
    bar->set_z_order(z_order() + 1);
    bar->set_line(LINE_STEP);
    bar->set_placement([this, vertical] { return bar_rect(vertical); });
    bar->set_position_observer([this, vertical](int position) {
        if (vertical)
            scroll_.y = position;
        else
            scroll_.x = position;
        if (!laying_out_) {
            lay_out_content();
            repaint();
        }
    });
    return bar;
}

platform::Rect ControlPanelAutoScroll::bar_rect(bool vertical) const
{
    platform::Rect r = rect();
    int right = r.right - scroll_border_max_.x;
    int bottom = r.bottom - scroll_border_max_.y;
    if (vertical) {
        int end = horizontal_ ? bottom - scroll_height_ : bottom;
        return { right - scroll_width_, r.top + scroll_border_min_.y, right, end };
    }
    int end = vertical_ ? right - scroll_width_ : right;
    return { r.left + scroll_border_min_.x, bottom - scroll_height_, end, bottom };
}

platform::Rect ControlPanelAutoScroll::view_rect() const
{
    platform::Rect r = rect();
    platform::Rect view { r.left + border_min_.x, r.top + border_min_.y, r.right - border_max_.x,
        r.bottom - border_max_.y };
    if (vertical_)
        view.right = std::min(view.right, bar_rect(true).left);
    if (horizontal_)
        view.bottom = std::min(view.bottom, bar_rect(false).top);
    view.right = std::max(view.left, view.right);
    view.bottom = std::max(view.top, view.bottom);
    return view;
}

void ControlPanelAutoScroll::scroll_to(int x, int y)
{
    if (horizontal_)
        horizontal_->set_position(x);
    if (vertical_)
        vertical_->set_position(y);
}

void ControlPanelAutoScroll::lay_out_content()
{
    if (laying_out_)
        return;
    laying_out_ = true;
    platform::Rect view = view_rect();
    platform::Size design = panel_container().design_size();
    platform::Size content { std::max(design.width, view.width()),
        std::max(design.height, view.height()) };
    if (vertical_) {
        vertical_->laid_out();
        vertical_->set_range(0, content.height);
        vertical_->set_page(view.height());
        scroll_.y = vertical_->position();
    } else {
        scroll_.y = 0;
    }
    if (horizontal_) {
        horizontal_->laid_out();
        horizontal_->set_range(0, content.width);
        horizontal_->set_page(view.width());
        scroll_.x = horizontal_->position();
    } else {
        scroll_.x = 0;
    }
    panel_container().set_rect({ view.left - scroll_.x, view.top - scroll_.y }, content);
    laying_out_ = false;
}

} // namespace skinner
