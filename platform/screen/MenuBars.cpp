#include "platform/screen/MenuBarState.h"

#include "platform/Screen.h"
#include "platform/Window.h"
#include "platform/screen/DeviceScreen.h"

#include <map>

namespace platform {

namespace {

using detail::MenuBarState;

std::map<std::uint32_t, MenuBarState>& bars()
{
    static std::map<std::uint32_t, MenuBarState> all;
    return all;
}

bool in_pool(int template_id, int first)
{
    return template_id >= first && template_id < first + MENU_BAR_TEMPLATES;
}

void changed()
{
    detail::DeviceScreen::instance().menu_bar_changed();
}

MenuBarButton* find_button(MenuBarState& bar, int id)
{
    for (MenuBarButton& button : bar.buttons)
        if (!button.separator && button.id == id)
            return &button;
    return nullptr;
}

// A drop-down button has its popup from the moment it becomes one.
void keep_popups(MenuBarState& bar)
{
    for (const MenuBarButton& button : bar.buttons) {
        if (button.drop_down && !button.separator && !bar.popups.contains(button.id))
            bar.popups[button.id] = create_popup_menu();
    }
}

} // namespace

namespace detail {

MenuBarState* menu_bar_state(WindowHandle owner)
{
    auto found = bars().find(owner.value);
    return found == bars().end() ? nullptr : &found->second;
}

} // namespace detail

bool create_menu_bar(WindowHandle owner, int template_id)
{
    if (!is_window(owner) || (window_style(owner) & WS_CHILD) || bars().contains(owner.value))
        return false;
    MenuBarState bar;
    bar.template_id = template_id;
    if (in_pool(template_id, SOFT_KEY_FIRST_TEMPLATE)) {
        bar.soft_keys = true;
        bool phone = is_smartphone();
        MenuBarButton left;
        left.id = phone ? SMARTPHONE_LEFT_BUTTON_ID : SOFT_KEY_LEFT_ID;
        MenuBarButton right;
        right.id = phone ? SMARTPHONE_RIGHT_BUTTON_ID : SOFT_KEY_RIGHT_ID;
        bar.buttons = { left, right };
    } else if (!in_pool(template_id, COMMAND_BAR_FIRST_TEMPLATE)) {
        return false;
    }
    bars().emplace(owner.value, std::move(bar));
    changed();
    return true;
}

bool destroy_menu_bar(WindowHandle owner)
{
    auto found = bars().find(owner.value);
    if (found == bars().end())
        return false;
    for (auto& [id, popup] : found->second.popups)
        destroy_menu(popup);
    bars().erase(found);
    detail::DeviceScreen::instance().menu_bar_destroyed(owner);
    changed();
    return true;
}

bool has_menu_bar(WindowHandle owner)
{
    return bars().contains(owner.value);
}

bool show_menu_bar(WindowHandle owner, bool shown)
{
    MenuBarState* bar = detail::menu_bar_state(owner);
    if (!bar)
        return false;
    if (bar->shown != shown) {
        bar->shown = shown;
        changed();
    }
    return true;
}

bool is_menu_bar_shown(WindowHandle owner)
{
    MenuBarState* bar = detail::menu_bar_state(owner);
    return bar && bar->shown;
}

int add_menu_bar_bitmap(WindowHandle owner, const Bitmap& strip, int image_size)
{
    MenuBarState* bar = detail::menu_bar_state(owner);
    if (!bar || image_size <= 0 || strip.is_empty() || strip.height() < image_size)
        return -1;
    bar->strip = strip;
    bar->strip_mask = Mask::from_alpha(strip);
    bar->image_size = image_size;
    bar->image_count = strip.width() / image_size;
    changed();
    return bar->image_count;
}

bool delete_menu_bar_buttons(WindowHandle owner)
{
    MenuBarState* bar = detail::menu_bar_state(owner);
    if (!bar)
        return false;
    bar->buttons.clear();
    // A popup outlives its button, emptied: the bar is often rebuilt while
    // its owner fills one of them, and a button of the same id takes it
    // again.
    for (auto& [id, popup] : bar->popups)
        clear_menu(popup);
    bar->pressed_id = 0;
    changed();
    return true;
}

bool insert_menu_bar_button(WindowHandle owner, int index, const MenuBarButton& button)
{
    MenuBarState* bar = detail::menu_bar_state(owner);
    if (!bar)
        return false;
    auto place = index >= 0 && index < static_cast<int>(bar->buttons.size())
        ? bar->buttons.begin() + index
        : bar->buttons.end();
    bar->buttons.insert(place, button);
    keep_popups(*bar);
    changed();
    return true;
}

bool set_menu_bar_button(WindowHandle owner, int id, const MenuBarButton& button)
{
    MenuBarState* bar = detail::menu_bar_state(owner);
    if (!bar)
        return false;
    MenuBarButton* found = find_button(*bar, id);
    if (!found)
        return false;
    if (id != button.id) {
        if (auto popup = bar->popups.find(id); popup != bar->popups.end()) {
            MenuHandle menu = popup->second;
            bar->popups.erase(popup);
            if (button.drop_down && !bar->popups.contains(button.id))
                bar->popups[button.id] = menu;
            else
                destroy_menu(menu);
        }
    }
    *found = button;
    found->separator = false;
    keep_popups(*bar);
    changed();
    return true;
}

std::vector<MenuBarButton> menu_bar_buttons(WindowHandle owner)
{
    MenuBarState* bar = detail::menu_bar_state(owner);
    return bar ? bar->buttons : std::vector<MenuBarButton> {};
}

MenuHandle menu_bar_popup(WindowHandle owner, int id)
{
    MenuBarState* bar = detail::menu_bar_state(owner);
    if (!bar)
        return {};
    MenuBarButton* button = find_button(*bar, id);
    if (!button || !button->drop_down)
        return {};
    auto found = bar->popups.find(id);
    return found == bar->popups.end() ? MenuHandle {} : found->second;
}

bool press_menu_bar_button(WindowHandle owner, int id)
{
    return detail::DeviceScreen::instance().press_bar_button(owner, id);
}

void set_title_ok_button(WindowHandle window, bool shown)
{
    detail::DeviceScreen::instance().set_title_ok(window, shown);
}

bool has_title_ok_button(WindowHandle window)
{
    return detail::DeviceScreen::instance().has_title_ok(window);
}

void send_back_to_focus_window(Lparam hot_key_lparam)
{
    detail::DeviceScreen::instance().send_back_to_focus(hot_key_lparam);
}

void navigate_back()
{
    detail::DeviceScreen::instance().navigate_back();
}

int navigate_back_count()
{
    return detail::DeviceScreen::instance().navigate_back_count();
}

} // namespace platform
