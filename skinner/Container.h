#pragma once

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Geometry.h"
#include "skinner/Listener.h"

#include <memory>
#include <string>
#include <vector>

namespace skinner {

class Control;
class Form;
class Skin;

// Owns controls, their focus, layout and timers. Controls register
// themselves (sorted by ZOrder, equal z-orders in creation order) and are
// laid out by their anchors whenever the container gets a new rectangle.
// Events of the controls pass on to the external listener.
class Container : public Listener {
public:
    // `skin` may be null for a container without skin (no automatic
    // controls, nothing read); `form` is the form that owns the container
    // (the form itself for a form's own container).
    Container(Skin* skin, std::u16string kind, Listener* listener, Form* form);
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;
    ~Container() override;

    // Focus: the old control loses and the new one gains it, both only while
    // the container is active. nullptr clears the focus.
    virtual void set_focus(Control* control);
    virtual bool is_focused(const Control& control) const { return focused_ == &control; }
    // Activating a container with no focused control moves the focus forward.
    virtual void set_active(bool active);
    // Gives the container a new rectangle and lays out every control.
    virtual void set_rect(platform::Point position, platform::Size size);
    // Destroys the automatic controls, re-reads every control's properties,
    // rebuilds the automatic controls and lays out again.
    virtual void reload();
    // Input that the form hands to its container; each returns whether
    // something used it.
    virtual bool text_input(const std::u16string& text);
    virtual bool key_down(int key);
    virtual bool key_up(int key);
    // A window timer of the form expired: passed to every control.
    virtual void on_timer(unsigned timer_id);

    void register_control(Control& control);
    void unregister_control(Control& control);
    // Moves the focus to the next (or previous) candidate in tab order, with
    // wrapping; no candidate clears the focus.
    void move_focus(bool forward);
    // Re-sorts one control after its z-order changed.
    void reorder(Control& control);
    // Lays one control out against the current rectangle.
    void lay_out(Control& control);
    // The smallest size the controls anchored BOTH_SIDE allow.
    platform::Size minimum_size() const;

    // Reads the automatic controls of the container's kind (unless it has no
    // skin or no kind) and creates one per entry the factory knows.
    void build_auto_controls();
    void destroy_auto_controls();

    // Adds a rectangle (container coordinates) to the form's dirty rectangle.
    void invalidate(const platform::Rect& rect);
    // Draws every visible control that meets `area`, in ZOrder, each with the
    // canvas clipped to its rectangle.
    void paint_controls(platform::Canvas& canvas, const platform::Rect& area);

    // The topmost visible control whose hit test holds the point.
    Control* control_at(platform::Point point) const;
    Control* find_control(const std::u16string& id) const;
    const std::vector<Control*>& controls() const { return controls_; }

    Skin* skin() const { return skin_; }
    const std::u16string& kind() const { return kind_; }
    Listener* listener() const { return listener_; }
    void set_listener(Listener* listener) { listener_ = listener; }
    Form* form() const { return form_; }
    Control* focused() const { return focused_; }
    bool is_active() const { return active_; }
    Control* capture() const { return capture_; }
    void set_capture(Control* control) { capture_ = control; }
    // The enabled control under the pointer, as the form's pointer handling
    // (or a panel's, for its own controls) last found it.
    Control* hover() const { return hover_; }
    void set_hover(Control* control) { hover_ = control; }
    platform::Point position() const { return position_; }
    platform::Size size() const { return size_; }
    platform::Size design_size() const { return design_size_; }
    void set_design_size(platform::Size size) { design_size_ = size; }
    bool is_visible() const { return visible_; }
    void set_visible(bool visible) { visible_ = visible; }
    bool is_enabled() const { return enabled_; }
    void set_enabled(bool enabled) { enabled_ = enabled; }

protected:
    Listener* next_listener() override { return listener_; }

private:
    bool is_candidate(const Control& control) const;

    Skin* skin_;
    std::u16string kind_;
    platform::Size design_size_;
    platform::Point position_;
    platform::Size size_;
    bool visible_ { true };
    bool enabled_ { true };
    Listener* listener_;
    Form* form_;
    std::vector<Control*> controls_;
    std::vector<std::unique_ptr<Control>> auto_controls_;
    Control* focused_ { nullptr };
    bool active_ { false };
    Control* capture_ { nullptr };
    Control* hover_ { nullptr };
};

} // namespace skinner
