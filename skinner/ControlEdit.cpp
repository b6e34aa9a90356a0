#include "skinner/ControlEdit.h"

#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "skinner/Capabilities.h"
#include "skinner/Container.h"
#include "skinner/DumpText.h"
#include "skinner/FontRep.h"

namespace skinner {

namespace {

platform::Color to_color(const Color& color)
{
    return platform::make_color(color.red(), color.green(), color.blue());
}

// Text over a selection: white over dark, black over light.
platform::Color contrasting(const Color& color)
{
    int luminance = (299 * color.red() + 587 * color.green() + 114 * color.blue()) / 1000;
    return luminance < 128 ? platform::make_color(255, 255, 255) : platform::make_color(0, 0, 0);
}

} // namespace

ControlEdit::ControlEdit(
    Container& container, std::u16string id, ControlKind kind, std::u16string node)
    : Control(container, std::move(id), kind, std::move(node))
{
    read_edit_properties();
    impl_ = std::make_unique<ControlEditNativeImpl>(*this, field_window_rect());
    update_field();
}

ControlEdit::~ControlEdit()
{
    impl_.reset();
}

void ControlEdit::read_properties()
{
    Control::read_properties();
    read_edit_properties();
    if (impl_)
        update_field();
}

void ControlEdit::read_edit_properties()
{
    ElementProperties props = properties();
    border_min_ = props.point(u"BorderMin", {});
    border_max_ = props.point(u"BorderMax", border_min_);
    props.check_unsupported_string(u"InputMode");
    auto at = [&](Look look) -> Picture& { return pictures_[static_cast<std::size_t>(look)]; };
    at(Look::Normal) = props.picture(u"Normal", Picture());
    at(Look::Highlighted) = props.picture(u"Highlighted", at(Look::Normal));
    at(Look::Disabled) = props.picture(u"Disabled", at(Look::Normal));
    at(Look::Readonly) = props.picture(u"Readonly", at(Look::Disabled));
    selection_picture_ = props.picture(u"Selection", Picture());
    at(Look::HighlightedFocused) = props.picture(u"HighlightedFocused", at(Look::Highlighted));
    at(Look::NormalFocused) = props.picture(u"NormalFocused", at(Look::Normal));
    font_normal_ = props.font(u"Normal", props.default_font());
    font_disabled_ = props.font(u"Disabled", font_normal_);
    font_readonly_ = props.font(u"Readonly", font_disabled_);
    color_normal_ = props.color(u"Normal", Color {});
    color_disabled_ = props.color(u"Disabled", color_normal_);
    color_readonly_ = props.color(u"Readonly", color_disabled_);
    color_selection_ = props.color(u"Selection", color_normal_);
    color_selection_focused_ = props.color(u"SelectionFocused", color_selection_);
    props.check_unsupported_integer(u"Readonly");
    if (props.string(u"PasswordChar", u"\x1F") != u"\x1F")
        platform::message_box(u"Unsupported", u"PasswordChar");
}

platform::Rect ControlEdit::field_rect() const
{
    platform::Rect r = rect();
    return { r.left + border_min_.x, r.top + border_min_.y,
        std::max(r.left + border_min_.x, r.right - border_max_.x),
        std::max(r.top + border_min_.y, r.bottom - border_max_.y) };
}

platform::Rect ControlEdit::field_window_rect() const
{
    return field_rect();
}

void ControlEdit::update_field()
{
    platform::EditLook look;
    const FontDescription* font = &font_normal_;
    const Color* color = &color_normal_;
    if (!is_enabled()) {
        font = &font_disabled_;
        color = &color_disabled_;
    } else if (read_only_) {
        font = &font_readonly_;
        color = &color_readonly_;
    }
    look.font = FontRep::find(*font).font();
    look.text = to_color(*color);
    const Color& selection = has_focus() ? color_selection_focused_ : color_selection_;
    look.selection = to_color(selection);
    look.selected_text = contrasting(selection);
    impl_->set_look(look);
    impl_->set_read_only(read_only_);
    impl_->set_enabled(is_enabled() && container().is_enabled());
    impl_->set_visible(is_visible() && container().is_visible());
    impl_->set_rect(field_window_rect());
    if (impl_->text() != text_)
        impl_->set_text(text_);
}

void ControlEdit::set_text(const std::u16string& text)
{
    if (text == text_)
        return;
    text_ = text;
    impl_->set_text(text);
    repaint();
}

void ControlEdit::set_read_only(bool read_only)
{
    if (read_only == read_only_)
        return;
    read_only_ = read_only;
    update_field();
    repaint();
}

void ControlEdit::set_input_mode(const std::u16string& name)
{
    if (!is_smartphone())
        return;
    if (name == u"TextDefault")
        impl_->set_input_mode(INPUT_MODE_TEXT);
    else if (name == u"Numbers")
        impl_->set_input_mode(INPUT_MODE_NUMBERS);
}

bool ControlEdit::native_text_changed(const std::u16string& text)
{
    if (text == text_)
        return false;
    text_ = text;
    on_text_changed(*this, text_);
    return true;
}

void ControlEdit::native_focus_gained()
{
    if (!has_focus() && is_enabled())
        container().set_focus(this);
}

void ControlEdit::gain_focus()
{
    impl_->take_focus();
    if (!is_smartphone() && is_editable())
        platform::show_input_panel(true);
    update_field();
    Control::gain_focus();
}

void ControlEdit::lose_focus()
{
    impl_->give_focus_back();
    if (!is_smartphone())
        platform::show_input_panel(false);
    update_field();
    Control::lose_focus();
}

void ControlEdit::visibility_changed()
{
    update_field();
}

void ControlEdit::state_changed()
{
    update_field();
}

void ControlEdit::set_rect(platform::Point position, platform::Size size)
{
    Control::set_rect(position, size);
    if (impl_)
        impl_->set_rect(field_window_rect());
}

void ControlEdit::laid_out()
{
    if (impl_)
        impl_->set_rect(field_window_rect());
}

ControlEdit::Look ControlEdit::current_look() const
{
    if (!is_enabled())
        return Look::Disabled;
    if (read_only_)
        return Look::Readonly;
    bool hovered = container().hover() == this;
    bool focused = has_focus();
    if (hovered && focused)
        return Look::HighlightedFocused;
    if (hovered)
        return Look::Highlighted;
    if (focused)
        return Look::NormalFocused;
    return Look::Normal;
}

void ControlEdit::paint(platform::Canvas& canvas)
{
    pictures_[static_cast<std::size_t>(current_look())].draw(canvas, rect());
    Control::paint(canvas);
}

std::string ControlEdit::describe() const
{
    return "text=" + dump_text(text_);
}

} // namespace skinner
