#pragma once

#include "skinner/Control.h"
#include "skinner/ControlEditImpl.h"
#include "skinner/EditContextMenu.h"

#include <array>
#include <memory>

namespace skinner {

// A skinned frame around the system's single-line edit field, which lies
// inside the insets and gets the text, the font and colours of the edit's
// state, the read-only flag and the enabled state. Each change the user
// makes raises on_text_changed. Gaining the focus gives the field the
// keyboard focus and, on a Pocket PC, raises the input panel. A hold in
// the field or the applications key opens its context menu.
class ControlEdit : public Control {
public:
    // The Smartphone's input modes that set_input_mode names.
    static constexpr int INPUT_MODE_NUMBERS = 2;
    static constexpr int INPUT_MODE_TEXT = 3;

    ControlEdit(Container& container, std::u16string id, ControlKind kind = ControlKind::Ordinary,
        std::u16string node = {});
    ~ControlEdit() override;

    // Stores the text and gives it to the field; an unchanged text does
    // nothing.
    void set_text(const std::u16string& text);
    const std::u16string& text() const { return text_; }
    void set_read_only(bool read_only);
    bool is_read_only() const { return read_only_; }
    // "TextDefault" or "Numbers" on a Smartphone; ignored elsewhere.
    void set_input_mode(const std::u16string& name);
    // Whether the user can change the text now.
    bool is_editable() const { return is_enabled() && !read_only_; }

    ControlEditImpl& field() { return *impl_; }
    const ControlEditImpl& field() const { return *impl_; }
    EditContextMenu& context_menu() { return context_menu_; }
    // The field's rectangle (container coordinates): the control less its insets.
    platform::Rect field_rect() const;

    // From the native field: its text now (true when it differed and was
    // taken), and that it took the keyboard focus.
    bool native_text_changed(const std::u16string& text);
    void native_focus_gained();

    bool claims_activation() const override { return true; }
    void gain_focus() override;
    void lose_focus() override;
    void visibility_changed() override;
    void state_changed() override;
    void paint(platform::Canvas& canvas) override;
    void set_rect(platform::Point position, platform::Size size) override;
    void laid_out() override;
    void read_properties() override;
    std::string describe() const override;
    const char* class_name() const override { return "ControlEdit"; }

private:
    enum class Look { Normal, Highlighted, Disabled, Readonly, NormalFocused, HighlightedFocused };

    void read_edit_properties();
    void update_field();
    Look current_look() const;
    platform::Rect field_window_rect() const;

    Point border_min_;
    Point border_max_;
    std::array<Picture, 6> pictures_;
    Picture selection_picture_;
    FontDescription font_normal_;
    FontDescription font_disabled_;
    FontDescription font_readonly_;
    Color color_normal_;
    Color color_disabled_;
    Color color_readonly_;
    Color color_selection_;
    Color color_selection_focused_;
    std::u16string text_;
    bool read_only_ { false };
    std::unique_ptr<ControlEditImpl> impl_;
    EditContextMenu context_menu_ { *this };
};

} // namespace skinner
