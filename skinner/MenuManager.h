#pragma once

#include "platform/Message.h"

#include <memory>

namespace skinner {

class Form;

// The menu bar of one form, made with the form's window: soft keys or a
// command bar, depending on the device. The form hands it the platform's
// menu messages and tells it when to show itself and catch up on changes.
class MenuManager {
public:
    virtual ~MenuManager() = default;

    // WM_COMMAND, WM_INITMENUPOPUP and WM_HOTKEY of the form's window.
    virtual platform::Lresult command(platform::Wparam wparam, platform::Lparam lparam) = 0;
    virtual platform::Lresult menu_popup(platform::Wparam wparam, platform::Lparam lparam) = 0;
    virtual platform::Lresult hot_key(platform::Wparam wparam, platform::Lparam lparam) = 0;
    virtual void set_visible(bool visible) = 0;
    // Rebuilds what changed since the last update.
    virtual void update() = 0;
    // The form was activated, in or out of full-screen mode.
    virtual void activated(Form& form, bool fullscreen) = 0;
};

// Makes the menu manager of a form whose window exists; installed by the
// menus, until then forms have no menu bar.
using MenuManagerFactory = std::unique_ptr<MenuManager> (*)(Form& form);
void set_menu_manager_factory(MenuManagerFactory factory);
std::unique_ptr<MenuManager> make_menu_manager(Form& form);

} // namespace skinner
