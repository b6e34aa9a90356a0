#pragma once

#include "skinner/Control.h"
#include "skinner/MenuManager.h"

#include <string>

namespace skinner {

class ControlMenuMain;
class MenuMainSubMenu;

// One entry of a form's main menu: a control without a skin node, never
// drawn on the form and never focused, that registers a menu item with the
// form's menu bar while it is visible.
//
// `id` is what choosing the entry sends: the form (or its listener) gets it
// through on_command, unless a control of the form has that id (a skinned
// button of that id is pressed instead). `slot` places the entry on a
// soft-key device: "#smartphone_ok#" for the left soft key,
// "#smartphone_menu#" or "#smartphone_tab#" for the end of the right soft
// key's menu, empty for the start of that menu. On a command bar every
// top-level entry is a button, with its image from the toolbar strip.
//
// Entries are ordered by set_order (the z-order), equal orders in creation
// order. set_visible(false) takes an entry out of the menu, set_enabled
// greys it. Entries of a MenuMainSubMenu form its popup.
class MenuMainButton : public Control {
public:
    MenuMainButton(
        ControlMenuMain& menu, std::u16string id, std::u16string text, std::u16string slot = {});
    MenuMainButton(MenuMainSubMenu& parent, std::u16string id, std::u16string text);
    ~MenuMainButton() override;

    const std::u16string& item_id() const { return item_id_; }
    const std::u16string& text() const { return item_.text; }
    void set_text(const std::u16string& text);
    bool is_checked() const { return item_.checked; }
    void set_checked(bool checked);
    // A separator follows the entry in its popup.
    void set_separator_after(bool separator);
    // The index in the toolbar image strip; negative for none.
    void set_image_index(int index);
    void set_order(int order) { set_z_order(order); }

    // The registered item; a sub-menu lists its entries' items.
    const MenuManager::Item& item() const { return item_; }
    MenuManager::Item& item() { return item_; }
    MenuMainSubMenu* parent_menu() const { return parent_; }

    bool is_focusable() const override { return false; }
    void set_z_order(int z_order) override;
    void visibility_changed() override;
    void state_changed() override;
    // The item's command: passes the entry's id on to the form.
    void on_command(const std::u16string& text) override;
    std::string describe() const override;
    const char* class_name() const override { return "MenuMainButton"; }

protected:
    // The item's sub-items changed (a sub-menu's entries).
    void changed();

private:
    void attach();
    void detach();

    ControlMenuMain* menu_;
    MenuMainSubMenu* parent_;
    std::u16string item_id_;
    MenuManager::Item item_;
    bool attached_ { false };
};

} // namespace skinner
