#pragma once

#include "skinner/MenuMainButton.h"

#include <vector>

namespace skinner {

// A main-menu entry that opens a popup of its own entries: the
// MenuMainButtons (or further sub-menus) made with it as their parent. On a
// command bar a top-level sub-menu is a drop-down button. Its own id is
// never sent. Destroy its entries before it.
class MenuMainSubMenu : public MenuMainButton {
public:
    MenuMainSubMenu(
        ControlMenuMain& menu, std::u16string id, std::u16string text, std::u16string slot = {});
    MenuMainSubMenu(MenuMainSubMenu& parent, std::u16string id, std::u16string text);
    ~MenuMainSubMenu() override;

    // Entries that join or leave the popup (their visibility or order
    // changed), kept sorted by order.
    void add_entry(MenuMainButton& entry);
    void remove_entry(MenuMainButton& entry);
    void entry_changed() { changed(); }

    void on_command(const std::u16string&) override { }
    const char* class_name() const override { return "MenuMainSubMenu"; }

private:
    void rebuild_items();

    std::vector<MenuMainButton*> entries_;
};

} // namespace skinner
