#include "skinner/ControlButtonBase.h"

#include "platform/graphics/TextRenderer.h"
#include "skinner/Capabilities.h"
#include "skinner/Container.h"
#include "skinner/DumpText.h"
#include "skinner/FontRep.h"
#include "skinner/KeyCodes.h"

namespace skinner {

ControlButtonBase::ControlButtonBase(
    Container& container, std::u16string id, ControlKind kind, std::u16string node)
    : Control(container, std::move(id), kind, std::move(node))
{
    read_button_properties();
}

ControlButtonBase::~ControlButtonBase()
{
    // The implementation may still ask the button about itself.
    impl_.reset();
}

std::array<StateLook, 6> ControlButtonBase::read_looks(
    const ElementProperties& props, const std::u16string& prefix)
{
    std::array<StateLook, 6> looks;
    auto at = [&](State state) -> StateLook& { return looks[static_cast<std::size_t>(state)]; };
    at(State::Normal) = props.look(prefix + u"Normal", nullptr);
    const StateLook* normal = &at(State::Normal);
    at(State::NormalFocus) = props.look(prefix + u"NormalFocus", normal);
    at(State::Pressed) = props.look(prefix + u"Pressed", normal);
    at(State::Highlighted) = props.look(prefix + u"Highlighted", normal);
    at(State::HighlightedFocus) = props.look(prefix + u"HighlightedFocus", &at(State::Highlighted));
    at(State::Disabled) = props.look(prefix + u"Disabled", normal);
    return looks;
}

void ControlButtonBase::read_properties()
{
    Control::read_properties();
    read_button_properties();
}

void ControlButtonBase::read_button_properties()
{
    ElementProperties props = properties();
    border_min_ = props.point(u"BorderMin", {});
    border_max_ = props.point(u"BorderMax", border_min_);
    looks_ = read_looks(props, u"");
    text_ = props.string(u"Text", text_);
    h_alignment_ = props.h_alignment(u"HAlignment", HAlignment::CENTER);
    v_alignment_ = props.v_alignment(u"VAlignment", VAlignment::VCENTER);
    action_ = props.action(u"Action", Action::NOTHING);
    // The old implementation goes before the new one registers anything.
    impl_.reset();
    impl_ = make_button_impl(*this, action_, is_smartphone(), has_soft_key_menus());
    if (!is_focusable() && has_focus())
        container().move_focus(true);
}

void ControlButtonBase::set_text(const std::u16string& text)
{
    if (text == text_)
        return;
    show_text(text);
}

void ControlButtonBase::show_text(const std::u16string& text)
{
    text_ = text;
    if (impl_)
        impl_->text_changed();
    repaint();
}

ControlButtonBase::State ControlButtonBase::state() const
{
    if (!is_enabled())
        return State::Disabled;
    if (is_pressed())
        return State::Pressed;
    bool hovered = container().hover() == this;
    bool focused = has_focus();
    if (hovered && focused)
        return State::HighlightedFocus;
    if (hovered)
        return State::Highlighted;
    if (focused)
        return State::NormalFocus;
    return State::Normal;
}

const StateLook& ControlButtonBase::look(State state) const
{
    return looks_[static_cast<std::size_t>(state)];
}

void ControlButtonBase::paint(platform::Canvas& canvas)
{
    if (impl_ && !impl_->is_shown())
        return;
    const StateLook& current = look(state());
    current.picture.draw(canvas, rect());
    paint_content(canvas);
    Control::paint(canvas);
    if (text_.empty())
        return;
    platform::Rect r = rect();
    platform::Rect inset { r.left + border_min_.x, r.top + border_min_.y, r.right - border_max_.x,
        r.bottom - border_max_.y };
    draw_text(canvas, current.font, text_, inset,
        text_format(h_alignment_, v_alignment_) | platform::TEXT_SINGLELINE, current.color);
}

bool ControlButtonBase::hit_test(platform::Point point) const
{
    if (!Control::hit_test(point) || (impl_ && !impl_->is_shown()))
        return false;
    const Picture& picture = look(state()).picture;
    return picture.is_empty() || picture.hit_test(point, rect());
}

bool ControlButtonBase::is_focusable() const
{
    return Control::is_focusable() && (!impl_ || impl_->is_focusable());
}

void ControlButtonBase::fire()
{
    if (!is_enabled())
        return;
    before_fire();
    if (impl_)
        impl_->fired();
    on_control(*this);
}

void ControlButtonBase::release(bool& flag, bool fire_if_last)
{
    flag = false;
    repaint();
    if (fire_if_last && !is_pressed() && is_enabled())
        fire();
}

void ControlButtonBase::set_pressed_by_key(bool pressed)
{
    if (pressed) {
        by_form_key_ = true;
        repaint();
    } else if (by_form_key_) {
        release(by_form_key_, true);
    }
}

void ControlButtonBase::lose_focus()
{
    by_key_ = false;
    Control::lose_focus();
}

void ControlButtonBase::pointer_down(PointerButton button, platform::Point, bool)
{
    if (button != PointerButton::Left)
        return;
    by_pointer_ = true;
    if (impl_)
        impl_->pointer_pressed();
    repaint();
}

void ControlButtonBase::pointer_up(PointerButton button, platform::Point point)
{
    if (button != PointerButton::Left || !by_pointer_)
        return;
    if (impl_)
        impl_->pointer_released();
    release(by_pointer_, rect().contains(point));
}

bool ControlButtonBase::key_down(int key)
{
    if (key != KEY_RETURN)
        return false;
    by_key_ = true;
    repaint();
    return true;
}

bool ControlButtonBase::key_up(int key)
{
    if (key != KEY_RETURN || !by_key_)
        return false;
    release(by_key_, true);
    return true;
}

void ControlButtonBase::on_command(const std::u16string& text)
{
    // The soft-key item's own command comes back from the menu bar to the
    // button that registered it.
    bool own_command = impl_ && !impl_->command().empty() && text == impl_->command();
    if ((!id().empty() && text == id()) || own_command) {
        fire();
        return;
    }
    Control::on_command(text);
}

void ControlButtonBase::state_changed()
{
    if (impl_)
        impl_->enabled_changed();
}

std::string ControlButtonBase::describe() const
{
    return "text=" + dump_text(text_);
}

} // namespace skinner
