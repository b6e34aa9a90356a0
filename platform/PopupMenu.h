#pragma once

#include "platform/Message.h"
#include "platform/graphics/Geometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Popup menus drawn by the shell: a menu is a handle to a list of items
// (text, check mark, disabled, separator, sub-menu). Opening one shows it
// over the screen; the user moves with the pointer or with Up/Down, opens a
// sub-menu with Right (or by pointing at it) and leaves it with Left,
// chooses with Return or a tap, and closes with Escape or a tap outside.
// Before any menu or sub-menu opens, its owner is sent WM_INITMENUPOPUP
// (wparam: the menu's handle value, lparam: what opened it; see below) so
// that it can fill the menu at that moment. The chosen item's id comes
// back to the owner as a posted WM_COMMAND (wparam: the id, lparam: 0).
// User-interface thread only.
namespace platform {

struct MenuHandle {
    std::uint32_t value { 0 };
    explicit operator bool() const { return value != 0; }
    bool operator==(const MenuHandle&) const = default;
};

struct MenuItem {
    int id { 0 };
    std::u16string text;
    bool checked { false };
    bool enabled { true };
    // A line between items: neither chosen nor focused.
    bool separator { false };
    // Opens this menu instead of being chosen; owned by the menu it is in.
    MenuHandle sub_menu;
};

MenuHandle create_popup_menu();
// Destroys the menu and the sub-menus of its items.
bool destroy_menu(MenuHandle menu);
// Removes every item, destroying their sub-menus.
bool clear_menu(MenuHandle menu);
bool append_menu_item(MenuHandle menu, const MenuItem& item);
bool is_menu(MenuHandle menu);
std::vector<MenuItem> menu_items(MenuHandle menu);

// lparam of WM_INITMENUPOPUP for a menu opened by track_popup_menu or as a
// sub-menu; a menu bar's button passes its command id instead.
inline constexpr Lparam POPUP_FROM_CONTEXT = -1;
inline constexpr Lparam POPUP_SUB_MENU = -2;

// How a popup lies against its point: below and to the right of it, or
// above it (from a bar at the bottom of the screen).
enum class PopupAnchor { TopLeft, BottomLeft, BottomRight };

// Opens `menu` for `owner` at a screen point, replacing a popup that is
// open. Returns false (and opens nothing) when the menu is unknown or, after
// WM_INITMENUPOPUP, empty.
bool track_popup_menu(
    MenuHandle menu, WindowHandle owner, Point point, PopupAnchor anchor = PopupAnchor::TopLeft);
bool is_popup_menu_open();
// Closes every open popup without a choice.
void close_popup_menus();

} // namespace platform
