#include "skinner/Control.h"

#include "platform/WindowTimers.h"
#include "skinner/Container.h"
#include "skinner/Form.h"

namespace skinner {

Control::Control(Container& container, std::u16string id, ControlKind kind, std::u16string node)
    : container_(container)
    , id_(std::move(id))
    , node_(std::move(node))
    , kind_(kind)
{
    read_properties();
    container_.register_control(*this);
}

Control::~Control()
{
    kill_timer();
    container_.unregister_control(*this);
}

ElementProperties Control::properties() const
{
    Skin* skin = container_.skin();
    if (!skin || kind_ == ControlKind::NoSkin)
        return ElementProperties::no_skin();
    if (kind_ == ControlKind::TopLevel)
        return ElementProperties::top_level(*skin, node_);
    return ElementProperties::control(*skin, container_.kind(), id_);
}

void Control::read_properties()
{
    ElementProperties props = properties();
    cursor_ = props.cursor(u"Cursor");
    anchor_x_ = props.anchor(u"AnchorX");
    anchor_y_ = props.anchor(u"AnchorY");
    focus_picture_ = props.picture(u"Focus", Picture());
    tab_order_ = props.integer(u"TabOrder", 0);
    Point position = props.point(u"Position", {});
    Point size = props.point(u"Size", {});
    design_position_ = { position.x, position.y };
    design_size_ = { size.x, size.y };
    z_order_ = props.integer(u"ZOrder", 0);
    // Visibility, enabling, gestures and focus belong to the program, not to
    // the skin: a skin that sets them is told so.
    props.check_unsupported_integer(u"Visible");
    props.check_unsupported_integer(u"Enabled");
    props.check_unsupported_integer(u"Gestures");
    props.check_unsupported_integer(u"WantFocus");
}

Form* Control::form() const
{
    return container_.form();
}

Listener* Control::next_listener()
{
    return &container_;
}

void Control::set_z_order(int z_order)
{
    if (z_order == z_order_)
        return;
    z_order_ = z_order;
    container_.reorder(*this);
    repaint();
}

void Control::set_focusable(bool focusable)
{
    if (focusable == focusable_)
        return;
    focusable_ = focusable;
    if (!focusable_ && has_focus())
        container_.move_focus(true);
}

bool Control::has_focus() const
{
    return container_.is_focused(*this);
}

void Control::paint(platform::Canvas& canvas)
{
    if (!focus_picture_.is_empty() && has_focus() && container_.is_active())
        focus_picture_.draw(canvas, rect());
}

bool Control::hit_test(platform::Point point) const
{
    return point.x >= position_.x && point.x < position_.x + size_.width && point.y >= position_.y
        && point.y < position_.y + size_.height;
}

void Control::timer_dispatch(unsigned timer_id)
{
    if (timer_id != 0 && timer_id == timer_id_)
        timer_fired();
}

void Control::set_rect(platform::Point position, platform::Size size)
{
    if (position == position_ && size == size_)
        return;
    repaint();
    position_ = position;
    size_ = size;
    repaint();
}

unsigned Control::set_timer(double seconds)
{
    kill_timer();
    Form* owner = form();
    if (!owner || !owner->window())
        return 0;
    unsigned id = Form::next_timer_id();
    if (!platform::set_timer(owner->window(), id, static_cast<std::uint32_t>(seconds * 1000)))
        return 0;
    timer_id_ = id;
    return id;
}

void Control::kill_timer()
{
    if (timer_id_ == 0)
        return;
    if (Form* owner = form(); owner && owner->window())
        platform::kill_timer(owner->window(), timer_id_);
    timer_id_ = 0;
}

void Control::set_visible(bool visible)
{
    if (visible == visible_)
        return;
    if (!visible)
        repaint();
    visible_ = visible;
    if (visible)
        repaint();
    if (!visible_ && has_focus())
        container_.move_focus(true);
    visibility_changed();
}

void Control::set_enabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (!enabled_ && has_focus())
        container_.move_focus(true);
    state_changed();
    repaint();
}

void Control::repaint()
{
    if (visible_ && container_.is_visible())
        container_.invalidate(rect());
}

} // namespace skinner
