#pragma once

#include "skinner/ControlButtonBase.h"

namespace skinner {

// A button with a checked state: while checked it draws its six "Checked…"
// looks and shows "CheckedText". Firing toggles the state first.
class ControlCheckBox : public ControlButtonBase {
public:
    ControlCheckBox(Container& container, std::u16string id,
        ControlKind kind = ControlKind::Ordinary, std::u16string node = {});

    bool is_checked() const override { return checked_; }
    // When the state changes: tells the implementation, shows the text of
    // the new state and repaints.
    void set_checked(bool checked);
    // Sets both texts.
    void set_text(const std::u16string& text) override;
    void set_checked_text(const std::u16string& text);
    void set_unchecked_text(const std::u16string& text);
    const std::u16string& checked_text() const { return checked_text_; }
    const std::u16string& unchecked_text() const { return unchecked_text_; }

    void read_properties() override;
    std::string describe() const override;
    const char* class_name() const override { return "ControlCheckBox"; }

protected:
    const StateLook& look(State state) const override;
    void before_fire() override { set_checked(!checked_); }

private:
    void read_check_box_properties();
    void show_current_text();

    bool checked_ { false };
    std::array<StateLook, 6> checked_looks_;
    std::u16string checked_text_;
    std::u16string unchecked_text_;
};

} // namespace skinner
