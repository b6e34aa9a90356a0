#pragma once

#include "skinner/Keywords.h"

#include <memory>
#include <string>

namespace skinner {

class ControlButtonBase;

// How a button shows on the device, chosen from its action and the device
// when the button is made or reloaded: drawn on the form, a soft-key or
// menu item, the window's title, or nothing. Shown means painted and
// hit-testable; a button takes the focus only when both it and its
// implementation are focusable. Owned by its button.
class ControlButtonImpl {
public:
    ControlButtonImpl(ControlButtonBase& button, bool shown, bool focusable);
    ControlButtonImpl(const ControlButtonImpl&) = delete;
    ControlButtonImpl& operator=(const ControlButtonImpl&) = delete;
    virtual ~ControlButtonImpl() = default;

    virtual void text_changed() { }
    virtual void checked_changed() { }
    virtual void enabled_changed() { }
    virtual void pointer_pressed() { }
    virtual void pointer_released() { }
    virtual void fired() { }

    // The class's name, for the log and for tests.
    virtual const char* name() const = 0;
    // The command a soft-key item sends; empty for other implementations.
    virtual std::u16string command() const { return {}; }

    bool is_shown() const { return shown_; }
    bool is_focusable() const { return focusable_; }

protected:
    ControlButtonBase& button_;

private:
    bool shown_;
    bool focusable_;
};

// The implementation of `button` for its action on this device; nullptr
// for BUTTON_SYSMENU, which has none (the button then draws and takes the
// focus as a plain control).
std::unique_ptr<ControlButtonImpl> make_button_impl(
    ControlButtonBase& button, Action action, bool smartphone, bool soft_key_menus);

} // namespace skinner
