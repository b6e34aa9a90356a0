#pragma once

#include "platform/Message.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Geometry.h"
#include "skinner/Control.h"

#include <array>
#include <memory>

namespace skinner {

class Form;
class MenuManager;

// The native window of a form: its window procedure maps the platform's
// messages onto the form, it keeps the back buffer that makes painting
// flicker-free, and it tracks the pointer buttons with the capturing and
// hover controls.
class FormImpl {
public:
    // Creates the window ("Loading..." as its title; a popup owned by the
    // parent form's window when there is one) and its menu manager.
    explicit FormImpl(Form& form);
    ~FormImpl();
    FormImpl(const FormImpl&) = delete;
    FormImpl& operator=(const FormImpl&) = delete;

    platform::WindowHandle window() const { return window_; }
    MenuManager* menu_manager() const { return menu_.get(); }
    void set_popup(bool popup) { popup_ = popup; }
    bool is_popup() const { return popup_; }

    // Adds to the dirty rectangle and asks the window for a repaint.
    void invalidate(const platform::Rect& rect);
    void forget(Control& control);
    Control* hover() const { return hover_; }

    static platform::Lresult procedure(platform::WindowHandle window, std::uint32_t message,
        platform::Wparam wparam, platform::Lparam lparam);

private:
    platform::Lresult handle(
        std::uint32_t message, platform::Wparam wparam, platform::Lparam lparam);
    void paint();
    void on_close();
    void on_activate(platform::Wparam wparam);
    void on_focus_message(std::uint32_t message, platform::Wparam wparam);
    void on_capture_changed(platform::Lparam lparam);
    void on_key_message(platform::Wparam key, platform::Lparam character);
    void pointer_down(PointerButton button, platform::Point point, bool double_click);
    void pointer_up(PointerButton button, platform::Point point);
    void pointer_move(platform::Point point);
    void wheel(int delta, platform::Point point);
    void set_hover(Control* control);
    void release_buttons();

    Form& form_;
    platform::WindowHandle window_;
    std::unique_ptr<MenuManager> menu_;
    std::array<bool, 3> pressed_ {};
    PointerButton down_button_ { PointerButton::Left };
    platform::Rect dirty_;
    platform::Bitmap back_buffer_;
    bool flicker_ { false };
    bool popup_ { false };
    Control* hover_ { nullptr };
};

} // namespace skinner
