#include "platform/MessageQueue.h"
#include "platform/Window.h"
#include "platform/screen/DeviceScreen.h"
#include "platform/screen/MenuBarView.h"

// The screen's part of menu bars and popup menus: which bar shows, presses
// on it and on the soft keys, the open popups' input, and the back key.
namespace platform::detail {

WindowHandle DeviceScreen::bar_owner() const
{
    WindowHandle window = active_;
    while (window) {
        if (MenuBarState* bar = menu_bar_state(window))
            return bar->shown ? window : WindowHandle {};
        window = window_owner(window);
    }
    return {};
}

void DeviceScreen::menu_bar_destroyed(WindowHandle owner)
{
    if (popup_ && popup_->owner() == owner)
        close_popups();
    if (pending_popup_ && pending_popup_->owner == owner)
        pending_popup_.reset();
    if (bar_pressed_owner_ == owner)
        bar_pressed_owner_ = {};
    dirty_ = true;
}

void DeviceScreen::menu_destroyed(MenuHandle menu)
{
    if (popup_ && popup_->shows(menu))
        close_popups();
}

bool DeviceScreen::open_popup(
    MenuHandle menu, WindowHandle owner, Point point, PopupAnchor anchor, Lparam from)
{
    if (!is_up() || !on_ui_thread() || !is_menu(menu) || !is_window(owner))
        return false;
    close_popups();
    send_message(owner, WM_INITMENUPOPUP, menu.value, from);
    if (!is_menu(menu) || !is_window(owner))
        return false;
    auto popup = std::make_unique<ScreenPopupMenu>(
        owner, size_, system_bar_height(size_, is_smartphone()));
    if (!popup->open(menu, point, anchor))
        return false;
    popup_ = std::move(popup);
    dirty_ = true;
    return true;
}

void DeviceScreen::close_popups()
{
    if (!popup_)
        return;
    popup_.reset();
    dirty_ = true;
}

bool DeviceScreen::press_bar_button(WindowHandle owner, int id)
{
    MenuBarState* bar = menu_bar_state(owner);
    if (!bar)
        return false;
    for (const MenuBarButton& button : bar->buttons) {
        if (button.separator || button.id != id || !button.enabled)
            continue;
        if (button.drop_down) {
            PendingPopup pending;
            pending.owner = owner;
            pending.button_id = id;
            pending_popup_ = pending;
            // Opened at once, or after the display's input when that pressed it.
            if (on_ui_thread() && !handling_input_)
                open_pending_popup();
        } else {
            close_popups();
            post_message(owner, WM_COMMAND, static_cast<Wparam>(id), 0);
        }
        return true;
    }
    return false;
}

bool DeviceScreen::open_pending_popup()
{
    if (!pending_popup_)
        return false;
    PendingPopup pending = *pending_popup_;
    pending_popup_.reset();
    if (pending.sub_menu) {
        if (!popup_ || popup_->owner() != pending.owner)
            return true;
        send_message(pending.owner, WM_INITMENUPOPUP, pending.sub_menu.value, POPUP_SUB_MENU);
        if (popup_ && is_menu(pending.sub_menu))
            popup_->open_beside(pending.sub_menu, pending.item, pending.by_key);
        dirty_ = true;
        return true;
    }
    MenuBarState* bar = menu_bar_state(pending.owner);
    if (!bar)
        return true;
    BarLayout layout = bars();
    Rect button = menu_bar_button_rect(*bar, layout.bottom, pending.button_id);
    MenuHandle menu = menu_bar_popup(pending.owner, pending.button_id);
    bool right_half = button.left >= layout.bottom.left + layout.bottom.width() / 2;
    bool right = bar->soft_keys && right_half;
    Point at { right ? button.right - 2 : button.left + 2, layout.bottom.top };
    open_popup(menu, pending.owner, at, right ? PopupAnchor::BottomRight : PopupAnchor::BottomLeft,
        static_cast<Lparam>(pending.button_id));
    return true;
}

void DeviceScreen::follow(const ScreenPopupMenu::Outcome& outcome)
{
    using Kind = ScreenPopupMenu::Outcome::Kind;
    if (!popup_)
        return;
    switch (outcome.kind) {
    case Kind::None:
        break;
    case Kind::Close:
        close_popups();
        break;
    case Kind::Choose: {
        WindowHandle owner = popup_->owner();
        close_popups();
        post_message(owner, WM_COMMAND, static_cast<Wparam>(outcome.id), 0);
        break;
    }
    case Kind::OpenSubMenu:
        PendingPopup pending;
        pending.owner = popup_->owner();
        pending.sub_menu = outcome.sub_menu;
        pending.item = outcome.item;
        pending.by_key = outcome.by_key;
        pending_popup_ = pending;
        if (!handling_input_)
            open_pending_popup();
        break;
    }
    dirty_ = true;
}

void DeviceScreen::popup_pointer(PointerAction action, Point point)
{
    if (action == PointerAction::Up && swallow_pointer_up_) {
        swallow_pointer_up_ = false;
        return;
    }
    ScreenPopupMenu::Outcome outcome = popup_->pointer(action, point);
    // The release of a press that closed the popups reaches nobody.
    if (outcome.kind == ScreenPopupMenu::Outcome::Kind::Close && action == PointerAction::Down)
        swallow_pointer_up_ = true;
    follow(outcome);
    dirty_ = true;
}

void DeviceScreen::popup_key(int virtual_key, bool down)
{
    if (!down)
        return;
    if (virtual_key == VK_TSOFT1 || virtual_key == VK_TSOFT2) {
        close_popups();
        return;
    }
    follow(popup_->key(virtual_key));
    dirty_ = true;
}

bool DeviceScreen::bar_pointer(PointerAction action, PointerButton button, Point point)
{
    BarLayout layout = bars();
    bool on_bar = layout.bottom.contains(point);
    if (!on_bar && !bar_pressed_owner_)
        return false;
    WindowHandle owner = bar_pressed_owner_ ? bar_pressed_owner_ : bar_owner();
    MenuBarState* bar = owner ? menu_bar_state(owner) : nullptr;
    if (!bar)
        return on_bar;
    int id = on_bar ? menu_bar_button_at(*bar, layout.bottom, point) : 0;
    if (button == PointerButton::Left && action == PointerAction::Down && id != 0) {
        bar->pressed_id = id;
        bar_pressed_owner_ = owner;
        dirty_ = true;
    } else if (button == PointerButton::Left && action == PointerAction::Up) {
        int pressed = bar->pressed_id;
        bar->pressed_id = 0;
        bar_pressed_owner_ = {};
        dirty_ = true;
        if (pressed != 0 && pressed == id)
            press_bar_button(owner, id);
    }
    return true;
}

bool DeviceScreen::bar_key(int virtual_key, bool down)
{
    if (virtual_key != VK_TSOFT1 && virtual_key != VK_TSOFT2)
        return false;
    WindowHandle owner = bar_owner();
    MenuBarState* bar = owner ? menu_bar_state(owner) : nullptr;
    if (!bar || !bar->soft_keys || bar->buttons.size() < 2)
        return false;
    const MenuBarButton& key = bar->buttons[virtual_key == VK_TSOFT1 ? 0 : 1];
    if (down) {
        bar->pressed_id = key.enabled && !key.text.empty() ? key.id : 0;
    } else if (bar->pressed_id == key.id) {
        bar->pressed_id = 0;
        press_bar_button(owner, key.id);
    }
    dirty_ = true;
    return true;
}

void DeviceScreen::send_back_to_focus(Lparam hot_key)
{
    WindowHandle target = focus_ && is_window(focus_) ? focus_ : active_;
    if (!target)
        return;
    bool up = (low_word(hot_key) & MOD_KEYUP) != 0;
    post_message(target, up ? WM_KEYUP : WM_KEYDOWN, static_cast<Wparam>(VK_BACK),
        static_cast<Lparam>(up ? 0xC0000001u : 1u));
}

void DeviceScreen::set_title_ok(WindowHandle window, bool shown)
{
    if (shown)
        title_ok_.insert(window.value);
    else
        title_ok_.erase(window.value);
    dirty_ = true;
}

void DeviceScreen::navigate_back()
{
    ++navigate_back_count_;
    if (display_)
        display_->minimize();
}

} // namespace platform::detail
