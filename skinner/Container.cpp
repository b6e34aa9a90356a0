#include "skinner/Container.h"

#include "os/Assertion.h"
#include "platform/Screen.h"
#include "skinner/AnchorLayout.h"
#include "skinner/AutoControls.h"
#include "skinner/Control.h"
#include "skinner/Form.h"
#include "skinner/KeyCodes.h"
#include "skinner/Skin.h"

#include <algorithm>

namespace skinner {

Container::Container(Skin* skin, std::u16string kind, Listener* listener, Form* form)
    : skin_(skin)
    , kind_(std::move(kind))
    , listener_(listener)
    , form_(form)
{
}

Container::~Container()
{
    destroy_auto_controls();
}

void Container::register_control(Control& control)
{
    if (!control.id().empty() && find_control(control.id()))
        report_assertion(u"Container::register_control",
            u"control with id {" + control.id() + u"} already exists in container");
    // After every control of equal or lower z-order: equal z-orders keep
    // their creation order.
    auto place = std::upper_bound(controls_.begin(), controls_.end(), control.z_order(),
        [](int z_order, const Control* other) { return z_order < other->z_order(); });
    controls_.insert(place, &control);
    lay_out(control);
}

void Container::unregister_control(Control& control)
{
    auto found = std::find(controls_.begin(), controls_.end(), &control);
    if (found == controls_.end())
        return;
    controls_.erase(found);
    if (focused_ == &control)
        focused_ = nullptr;
    if (capture_ == &control)
        capture_ = nullptr;
    if (hover_ == &control)
        hover_ = nullptr;
    if (form_)
        form_->forget_control(control);
    invalidate(control.rect());
}

void Container::reorder(Control& control)
{
    auto found = std::find(controls_.begin(), controls_.end(), &control);
    if (found == controls_.end())
        return;
    controls_.erase(found);
    auto place = std::upper_bound(controls_.begin(), controls_.end(), control.z_order(),
        [](int z_order, const Control* other) { return z_order < other->z_order(); });
    controls_.insert(place, &control);
}

Control* Container::find_control(const std::u16string& id) const
{
    for (Control* control : controls_) {
        if (control->id() == id)
            return control;
    }
    return nullptr;
}

void Container::lay_out(Control& control)
{
    platform::Point d = control.design_position();
    platform::Size e = control.design_size();
    AxisPlacement x = lay_out_axis(
        control.anchor_x(), position_.x, size_.width, d.x, e.width, design_size_.width);
    AxisPlacement y = lay_out_axis(
        control.anchor_y(), position_.y, size_.height, d.y, e.height, design_size_.height);
    control.set_rect({ x.position, y.position }, { x.length, y.length });
    control.laid_out();
}

void Container::set_rect(platform::Point position, platform::Size size)
{
    position_ = position;
    size_ = size;
    for (Control* control : controls_)
        lay_out(*control);
}

platform::Size Container::minimum_size() const
{
    platform::Size minimum = design_size_;
    for (const Control* control : controls_) {
        platform::Size preferred = control->preferred_size();
        platform::Size design = control->design_size();
        if (control->anchor_x() == Anchor::BOTH_SIDE)
            minimum.width
                = std::max(minimum.width, design_size_.width + (preferred.width - design.width));
        if (control->anchor_y() == Anchor::BOTH_SIDE)
            minimum.height = std::max(
                minimum.height, design_size_.height + (preferred.height - design.height));
    }
    return minimum;
}

bool Container::is_candidate(const Control& control) const
{
    return control.is_focusable() && control.is_visible() && visible_ && control.is_enabled()
        && enabled_;
}

void Container::move_focus(bool forward)
{
    // Tab order ascending; equal tab orders keep the registration order.
    std::vector<Control*> order = controls_;
    std::stable_sort(order.begin(), order.end(),
        [](const Control* a, const Control* b) { return a->tab_order() < b->tab_order(); });
    const int count = static_cast<int>(order.size());
    int start = forward ? -1 : count;
    if (focused_) {
        auto found = std::find(order.begin(), order.end(), focused_);
        if (found != order.end())
            start = static_cast<int>(found - order.begin());
    }
    for (int step = 1; step <= count; ++step) {
        int index = forward ? start + step : start - step;
        index = ((index % count) + count) % count;
        if (is_candidate(*order[static_cast<std::size_t>(index)])) {
            set_focus(order[static_cast<std::size_t>(index)]);
            return;
        }
    }
    set_focus(nullptr);
}

void Container::set_focus(Control* control)
{
    if (control == focused_)
        return;
    Control* old = focused_;
    focused_ = control;
    if (!active_)
        return;
    if (old)
        old->lose_focus();
    if (focused_)
        focused_->gain_focus();
}

void Container::set_active(bool active)
{
    if (active == active_)
        return;
    active_ = active;
    if (active_ && !focused_)
        move_focus(true);
    // The focus picture shows only while the container is active.
    if (focused_)
        focused_->repaint();
}

void Container::reload()
{
    destroy_auto_controls();
    for (Control* control : std::vector<Control*>(controls_))
        control->read_properties();
    // Z-orders may have changed with the skin.
    std::stable_sort(controls_.begin(), controls_.end(),
        [](const Control* a, const Control* b) { return a->z_order() < b->z_order(); });
    build_auto_controls();
    set_rect(position_, size_);
}

void Container::build_auto_controls()
{
    if (!skin_ || kind_.empty() || !skin_->has_form(kind_))
        return;
    std::uint32_t count = skin_->auto_control_count(kind_);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (auto control = make_auto_control(*this, skin_->auto_control(kind_, i)))
            auto_controls_.push_back(std::move(control));
    }
}

void Container::destroy_auto_controls()
{
    // Each control unregisters itself while it goes.
    while (!auto_controls_.empty())
        auto_controls_.pop_back();
}

bool Container::text_input(const std::u16string& text)
{
    return focused_ && focused_->text_input(text);
}

bool Container::key_down(int key)
{
    if (focused_ && focused_->key_down(key))
        return true;
    switch (key) {
    case KEY_TAB:
        if (platform::is_key_down(platform::VK_CONTROL) || platform::is_key_down(platform::VK_MENU))
            return false;
        move_focus(!platform::is_key_down(platform::VK_SHIFT));
        return true;
    case KEY_DOWN:
        move_focus(true);
        return true;
    case KEY_UP:
        move_focus(false);
        return true;
    default:
        return false;
    }
}

bool Container::key_up(int key)
{
    return focused_ && focused_->key_up(key);
}

void Container::on_timer(unsigned timer_id)
{
    // A control may go while handling its timer: only registered ones get it.
    for (Control* control : std::vector<Control*>(controls_)) {
        if (std::find(controls_.begin(), controls_.end(), control) != controls_.end())
            control->timer_dispatch(timer_id);
    }
}

void Container::invalidate(const platform::Rect& rect)
{
    if (form_ && !rect.is_empty())
        form_->invalidate(rect);
}

void Container::paint_controls(platform::Canvas& canvas, const platform::Rect& area)
{
    for (Control* control : controls_) {
        if (!control->is_visible())
            continue;
        platform::Rect rect = control->rect();
        if (rect.intersected(area).is_empty())
            continue;
        platform::Rect saved = canvas.clip();
        canvas.intersect_clip(rect.intersected(area));
        control->paint(canvas);
        canvas.set_clip(saved);
    }
}

Control* Container::control_at(platform::Point point) const
{
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        if ((*it)->is_visible() && (*it)->hit_test(point))
            return *it;
    }
    return nullptr;
}

} // namespace skinner
