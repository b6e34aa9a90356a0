#pragma once

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/SystemCursor.h"
#include "skinner/ElementProperties.h"
#include "skinner/Keywords.h"
#include "skinner/Listener.h"
#include "skinner/Picture.h"

#include <cstdint>
#include <string>

namespace skinner {

class Container;
class Form;

// What a control is made from.
enum class ControlKind {
    Ordinary = 0, // reads (its container's kind, its id, property)
    TopLevel = 1, // stands for a whole skin node, reads ("", node, property)
    NoSkin = 2, // reads nothing
};

// The pointer buttons a control can be pressed with.
enum class PointerButton { Left = 0, Middle = 1, Right = 2 };

// Base of every control. A control lives in a container, in the
// container's (form client) coordinates, and reports through the Listener
// events, which pass on to the container unless the control uses them.
//
// The constructor reads the control's properties and registers it with its
// container (a second control of the same non-empty id in one container is
// a fatal report); the destructor unregisters it. Derived controls read
// their own catalogue in their constructors.
class Control : public Listener {
public:
    Control(Container& container, std::u16string id, ControlKind kind = ControlKind::Ordinary,
        std::u16string node = {});
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    ~Control() override;

    // Moves the control in its container's drawing order.
    virtual void set_z_order(int z_order);
    // A control that stops being focusable while focused passes the focus on.
    virtual void set_focusable(bool focusable);
    virtual bool is_focusable() const { return focusable_; }
    // Whether the control keeps the form's activation message to itself.
    virtual bool claims_activation() const { return false; }
    virtual void gain_focus() { repaint(); }
    virtual void lose_focus() { repaint(); }
    virtual void visibility_changed() { }
    virtual bool wants_gestures() const { return gestures_; }
    virtual void state_changed() { }
    // Draws the control; the canvas is clipped to its rectangle and its
    // origin is the container's. The default draws the "Focus" picture
    // while the control is the focused control of an active container.
    virtual void paint(platform::Canvas& canvas);
    virtual platform::SystemCursor cursor() const { return cursor_; }
    virtual bool hit_test(platform::Point point) const;
    virtual void pointer_enter() { }
    virtual void pointer_move(platform::Point) { }
    virtual void pointer_leave() { }
    virtual void pointer_down(PointerButton, platform::Point, bool /*double_click*/) { }
    virtual void pointer_up(PointerButton, platform::Point) { }
    // Each returns whether the control used the input.
    virtual bool text_input(const std::u16string&) { return false; }
    virtual bool key_down(int) { return false; }
    virtual bool key_up(int) { return false; }
    // The wheel turned over the control (or, when the control under the
    // pointer did not use it, with the control focused): WHEEL_DELTA a
    // notch, positive away from the user.
    virtual bool wheel(int) { return false; }
    virtual void timer_fired() { }
    // Calls timer_fired when the id is the control's own timer.
    virtual void timer_dispatch(unsigned timer_id);
    // Invalidates the old and the new rectangle; nothing when unchanged.
    virtual void set_rect(platform::Point position, platform::Size size);
    virtual platform::Size preferred_size() const { return design_size_; }
    // Re-reads the control's properties (the skin or the language changed).
    virtual void read_properties();
    // Called after the container laid the control out.
    virtual void laid_out() { }

    // Replaces the control's timer: kills the previous one and starts a
    // window timer of `seconds` × 1000 ms (truncated) with the next id of
    // the process-wide counter. Returns the id (0 without a window).
    unsigned set_timer(double seconds);
    void kill_timer();
    unsigned timer_id() const { return timer_id_; }

    void set_visible(bool visible);
    bool is_visible() const { return visible_; }
    void set_enabled(bool enabled);
    bool is_enabled() const { return enabled_; }
    void set_gestures(bool gestures) { gestures_ = gestures; }
    // Adds the control's rectangle to the form's dirty rectangle when both
    // the control and its container are visible.
    void repaint();

    Container& container() const { return container_; }
    Form* form() const;
    const std::u16string& id() const { return id_; }
    const std::u16string& node() const { return node_; }
    ControlKind kind() const { return kind_; }
    int z_order() const { return z_order_; }
    int tab_order() const { return tab_order_; }
    Anchor anchor_x() const { return anchor_x_; }
    Anchor anchor_y() const { return anchor_y_; }
    platform::Point position() const { return position_; }
    platform::Size size() const { return size_; }
    platform::Rect rect() const
    {
        return { position_.x, position_.y, position_.x + size_.width, position_.y + size_.height };
    }
    platform::Point design_position() const { return design_position_; }
    platform::Size design_size() const { return design_size_; }
    // Whether the control is the focused one of its container.
    bool has_focus() const;
    // The control's properties (its container's kind and its id, or its node).
    ElementProperties properties() const;

    // What a control shows, for the script player's dump: empty when it
    // shows nothing; otherwise fields such as "text=…" (the text last).
    virtual std::string describe() const { return {}; }
    // The control's class, for the dump ("Control" for the base).
    virtual const char* class_name() const { return "Control"; }

protected:
    Listener* next_listener() override;

private:
    Container& container_;
    std::u16string id_;
    std::u16string node_;
    ControlKind kind_;
    platform::SystemCursor cursor_ { platform::SystemCursor::None };
    int z_order_ { 0 };
    bool visible_ { true };
    bool enabled_ { true };
    bool focusable_ { true };
    bool gestures_ { false };
    Anchor anchor_x_ { Anchor::MIN_SIDE };
    Anchor anchor_y_ { Anchor::MIN_SIDE };
    platform::Point position_;
    platform::Size size_;
    platform::Point design_position_;
    platform::Size design_size_;
    Picture focus_picture_;
    unsigned timer_id_ { 0 };
    int tab_order_ { 0 };
};

} // namespace skinner
