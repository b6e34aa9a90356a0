#include "platform/PopupMenu.h"

#include "platform/screen/DeviceScreen.h"

#include <map>

// The menus' items, by handle. Opening and drawing them is the screen's.
namespace platform {

namespace {

std::map<std::uint32_t, std::vector<MenuItem>>& menus()
{
    static std::map<std::uint32_t, std::vector<MenuItem>> all;
    return all;
}

std::uint32_t last_handle = 0;

} // namespace

MenuHandle create_popup_menu()
{
    MenuHandle menu { ++last_handle };
    menus()[menu.value];
    return menu;
}

bool destroy_menu(MenuHandle menu)
{
    if (!clear_menu(menu))
        return false;
    menus().erase(menu.value);
    detail::DeviceScreen::instance().menu_destroyed(menu);
    return true;
}

bool clear_menu(MenuHandle menu)
{
    auto found = menus().find(menu.value);
    if (found == menus().end())
        return false;
    std::vector<MenuItem> items = std::move(found->second);
    found->second.clear();
    for (const MenuItem& item : items) {
        if (item.sub_menu && item.sub_menu != menu)
            destroy_menu(item.sub_menu);
    }
    return true;
}

bool append_menu_item(MenuHandle menu, const MenuItem& item)
{
    auto found = menus().find(menu.value);
    if (found == menus().end())
        return false;
    found->second.push_back(item);
    return true;
}

bool is_menu(MenuHandle menu)
{
    return menus().contains(menu.value);
}

std::vector<MenuItem> menu_items(MenuHandle menu)
{
    auto found = menus().find(menu.value);
    return found == menus().end() ? std::vector<MenuItem> {} : found->second;
}

bool track_popup_menu(MenuHandle menu, WindowHandle owner, Point point, PopupAnchor anchor)
{
    return detail::DeviceScreen::instance().open_popup(
        menu, owner, point, anchor, POPUP_FROM_CONTEXT);
}

bool is_popup_menu_open()
{
    return detail::DeviceScreen::instance().popup_open();
}

void close_popup_menus()
{
    detail::DeviceScreen::instance().close_popups();
}

} // namespace platform
