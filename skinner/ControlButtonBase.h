#pragma once

#include "skinner/Control.h"
#include "skinner/ControlButtonImpl.h"
#include "skinner/Form.h"

#include <array>
#include <memory>

namespace skinner {

// What every button shares: six looks, a text on one line inside the
// insets, three sources that press it (the pointer, the Return key while it
// has the focus, the form's Return or Escape key as its default or cancel
// button) and firing when the last press ends inside it. A named command
// equal to its id fires it too. How it shows on the device is its
// implementation, chosen from its "Action".
class ControlButtonBase : public Control, public KeyButton {
public:
    enum class State { Normal, NormalFocus, Pressed, Highlighted, HighlightedFocus, Disabled };

    ControlButtonBase(Container& container, std::u16string id,
        ControlKind kind = ControlKind::Ordinary, std::u16string node = {});
    ~ControlButtonBase() override;

    // Stores the text, tells the implementation and repaints; an unchanged
    // text does nothing.
    virtual void set_text(const std::u16string& text);
    const std::u16string& text() const { return text_; }
    virtual bool is_checked() const { return false; }
    Action action() const { return action_; }
    const ControlButtonImpl* implementation() const { return impl_.get(); }

    // The state the button paints, first match wins: disabled, pressed by
    // any source, hovered and focused, hovered, focused, normal.
    State state() const;
    bool is_pressed() const { return by_pointer_ || by_key_ || by_form_key_; }
    // Tells the implementation and raises on_control; nothing when disabled.
    void fire();

    void set_pressed_by_key(bool pressed) override;

    void paint(platform::Canvas& canvas) override;
    bool hit_test(platform::Point point) const override;
    bool is_focusable() const override;
    void lose_focus() override;
    void pointer_down(PointerButton button, platform::Point point, bool double_click) override;
    void pointer_up(PointerButton button, platform::Point point) override;
    bool key_down(int key) override;
    bool key_up(int key) override;
    void on_command(const std::u16string& text) override;
    // Tells the implementation (a soft-key item greys its entry).
    void state_changed() override;
    void read_properties() override;
    std::string describe() const override;
    const char* class_name() const override { return "ControlButtonBase"; }

protected:
    // The look of a state; a check box answers with its checked looks.
    virtual const StateLook& look(State state) const;
    // Runs first when the button fires (a check box toggles).
    virtual void before_fire() { }
    // What a button draws between its look's picture and its text.
    virtual void paint_content(platform::Canvas&) { }
    // Replaces the text without the equality check (the check box's texts).
    void show_text(const std::u16string& text);
    ControlButtonImpl* impl() { return impl_.get(); }
    // Reads a set of six looks named prefix + state name, with the
    // fallbacks among them.
    static std::array<StateLook, 6> read_looks(
        const ElementProperties& props, const std::u16string& prefix);

private:
    void read_button_properties();
    void release(bool& flag, bool fire_if_last);

    Point border_min_;
    Point border_max_;
    std::array<StateLook, 6> looks_;
    std::u16string text_;
    HAlignment h_alignment_ { HAlignment::CENTER };
    VAlignment v_alignment_ { VAlignment::VCENTER };
    Action action_ { Action::NOTHING };
    bool by_pointer_ { false };
    bool by_key_ { false };
    bool by_form_key_ { false };
    std::unique_ptr<ControlButtonImpl> impl_;
};

} // namespace skinner
