#include "skinner/ControlPanel.h"

#include "skinner/Skin.h"

namespace skinner {

ControlPanel::ControlPanel(
    Container& container, std::u16string id, ControlKind kind, std::u16string node)
    : Control(container, std::move(id), kind, std::move(node))
{
    read_panel_properties();
    inner_ = std::make_unique<Container>(container.skin(), template_, this, container.form());
    if (Skin* skin = container.skin(); skin && !template_.empty() && skin->has_form(template_)) {
        Point size = ElementProperties::form(*skin, template_).point(u"Size", {});
        inner_->set_design_size({ size.x, size.y });
    }
    inner_->build_auto_controls();
    lay_out_content();
}

ControlPanel::~ControlPanel()
{
    inner_.reset();
}

void ControlPanel::read_properties()
{
    Control::read_properties();
    read_panel_properties();
    if (inner_)
        inner_->reload();
}

void ControlPanel::read_panel_properties()
{
    ElementProperties props = properties();
    template_ = props.string(u"FormTemplate", {});
    background_ = props.picture(u"Background", Picture());
    if (Skin* skin = container().skin(); skin && !template_.empty() && skin->has_form(template_))
        background_ = ElementProperties::form(*skin, template_).picture(u"Background", background_);
}

void ControlPanel::lay_out_content()
{
    if (inner_)
        inner_->set_rect(position(), size());
}

void ControlPanel::set_rect(platform::Point position, platform::Size size)
{
    Control::set_rect(position, size);
    lay_out_content();
}

void ControlPanel::paint(platform::Canvas& canvas)
{
    background_.draw(canvas, rect());
    Control::paint(canvas);
    platform::Rect saved = canvas.clip();
    platform::Rect clip = content_clip();
    canvas.intersect_clip(clip);
    inner_->paint_controls(canvas, canvas.local_clip());
    canvas.set_clip(saved);
}

void ControlPanel::gain_focus()
{
    inner_->set_active(true);
    Control::gain_focus();
}

void ControlPanel::lose_focus()
{
    inner_->set_active(false);
    Control::lose_focus();
}

void ControlPanel::set_inner_hover(Control* control)
{
    Control* old = inner_->hover();
    if (old == control)
        return;
    inner_->set_hover(control);
    if (old) {
        old->pointer_leave();
        old->repaint();
    }
    if (control) {
        control->pointer_enter();
        control->repaint();
    }
}

void ControlPanel::pointer_leave()
{
    if (!inner_->capture())
        set_inner_hover(nullptr);
}

void ControlPanel::pointer_move(platform::Point point)
{
    if (Control* capture = inner_->capture()) {
        capture->pointer_move(point);
        return;
    }
    Control* target = content_clip().contains(point) ? inner_->control_at(point) : nullptr;
    if (target && !target->is_enabled())
        target = nullptr;
    set_inner_hover(target);
    if (target)
        target->pointer_move(point);
}

void ControlPanel::pointer_down(PointerButton button, platform::Point point, bool double_click)
{
    Control* capture = inner_->capture();
    if (!capture) {
        Control* target = content_clip().contains(point) ? inner_->control_at(point) : nullptr;
        if (!target || !target->is_enabled()) {
            set_inner_hover(nullptr);
            return;
        }
        set_inner_hover(target);
        inner_->set_capture(target);
        if (target->is_focusable())
            inner_->set_focus(target);
        capture = target;
    }
    capture->pointer_down(button, point, double_click);
}

void ControlPanel::pointer_up(PointerButton button, platform::Point point)
{
    if (Control* capture = inner_->capture()) {
        inner_->set_capture(nullptr);
        capture->pointer_up(button, point);
    }
}

bool ControlPanel::text_input(const std::u16string& text)
{
    Control* focused = inner_->focused();
    return focused && focused->text_input(text);
}

bool ControlPanel::key_down(int key)
{
    Control* focused = inner_->focused();
    return focused && focused->key_down(key);
}

bool ControlPanel::key_up(int key)
{
    Control* focused = inner_->focused();
    return focused && focused->key_up(key);
}

void ControlPanel::timer_dispatch(unsigned timer_id)
{
    Control::timer_dispatch(timer_id);
    inner_->on_timer(timer_id);
}

} // namespace skinner
