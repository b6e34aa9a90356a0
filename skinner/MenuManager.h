#pragma once

#include "platform/Message.h"

#include <memory>
#include <string>
#include <vector>

namespace skinner {

class Control;
class Form;

// The menu bar of one form, made with the form's window: soft keys or a
// command bar, depending on the device. The form hands it the platform's
// menu messages and tells it when to show itself and catch up on changes.
// Controls register the entries it shows; every change asks for an update,
// which runs after the current window message (the form's pending work).
class MenuManager {
public:
    // One registered entry, owned by a control. Choosing it raises the
    // named command `command` on `owner`. The command also places it on a
    // soft-key device: "#smartphone_ok#" on the left key,
    // "#smartphone_menu#" and "#smartphone_tab#" at the end of the right
    // key's menu, anything else in that menu first.
    struct Item {
        std::u16string command;
        std::u16string text;
        // Index in the toolbar image strip ("wince_bug_resource_id"); negative
        // for none.
        int image_index { -1 };
        bool enabled { true };
        bool checked { false };
        bool separator_after { false };
        // Entries of its sub-menu, in order; owned by their controls.
        std::vector<Item*> sub_items;
        Control* owner { nullptr };
        // Items are shown by ascending order, equal orders as registered.
        int order { 0 };
    };

    virtual ~MenuManager() = default;

    // An item joins or leaves the bar; the item must outlive its
    // registration. Both ask for an update.
    virtual void add_item(Item& item) = 0;
    virtual void remove_item(Item& item) = 0;
    // A registered item (or one of its sub-items) changed: asks for an update.
    virtual void item_changed(Item& item) = 0;

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

// What buttons ask of the menu bar: a button that stands for a soft key or
// a menu item registers itself with the command its choice sends, and tells
// the bar when its text or check mark changes; a caption button gives its
// text as the form's title. The menus install the implementation; with none
// installed these requests do nothing. Choosing an item gives its command
// to the form as a named command, or, when the command is empty, the
// button's id, which fires the button.
class SoftKeyItems {
public:
    virtual ~SoftKeyItems() = default;

    virtual void add_item(Form& form, Control& button, const std::u16string& command) = 0;
    virtual void remove_item(Form& form, Control& button) = 0;
    virtual void item_text_changed(Form& form, Control& button, const std::u16string& text) = 0;
    virtual void item_checked_changed(Form& form, Control& button, bool checked) = 0;
    virtual void item_enabled_changed(Form&, Control&, bool) { }
    // The title bar's OK button of a Pocket PC form without soft keys.
    virtual void set_title_ok_button(Form& form, Control* button) = 0;
    virtual void title_changed(Form& form, const std::u16string& title) = 0;
};

// Installs the menus' implementation (nullptr removes it).
void set_soft_key_items(SoftKeyItems* items);
SoftKeyItems* soft_key_items();

// Makes the menu manager of a form for its new window; installed by the
// menus (install_menus), until then forms have no menu bar.
using MenuManagerFactory
    = std::unique_ptr<MenuManager> (*)(Form& form, platform::WindowHandle window);
void set_menu_manager_factory(MenuManagerFactory factory);
MenuManagerFactory menu_manager_factory();
std::unique_ptr<MenuManager> make_menu_manager(Form& form, platform::WindowHandle window);

// Installs the menus: every form made afterwards gets its menu bar (soft
// keys on a Smartphone and on newer Pocket PCs, a command bar on older
// ones) and soft-key buttons register with it. Installs only what nothing
// else has installed, so a test's own SoftKeyItems stays; forms call it
// themselves, later calls do nothing more.
void install_menus();

} // namespace skinner
