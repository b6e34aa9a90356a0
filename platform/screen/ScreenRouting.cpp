#include "platform/MessageQueue.h"
#include "platform/Tick.h"
#include "platform/Window.h"
#include "platform/screen/DeviceScreen.h"

#include <cstdlib>

// Input routing: pointer events to the capturing window or the window under
// the pointer, keys and text to the focus window, taps on the top bar's
// close button, and all input to the message box while one shows.
namespace platform::detail {

namespace {

constexpr std::uint32_t DOUBLE_CLICK_MILLISECONDS = 500;
constexpr int DOUBLE_CLICK_DISTANCE = 4;

unsigned bit_of(PointerButton button)
{
    switch (button) {
    case PointerButton::Left:
        return MK_LBUTTON;
    case PointerButton::Right:
        return MK_RBUTTON;
    case PointerButton::Middle:
        return MK_MBUTTON;
    case PointerButton::None:
        break;
    }
    return 0;
}

// WM_xBUTTONDOWN; UP and DBLCLK follow it.
std::uint32_t down_message_of(PointerButton button)
{
    switch (button) {
    case PointerButton::Right:
        return WM_RBUTTONDOWN;
    case PointerButton::Middle:
        return WM_MBUTTONDOWN;
    default:
        return WM_LBUTTONDOWN;
    }
}

bool enabled_chain(WindowHandle window)
{
    std::lock_guard lock(window_system().mutex);
    while (WindowRecord* record = find_window_locked(window)) {
        if (!record->enabled)
            return false;
        if (!(record->style & WS_CHILD))
            return true;
        window = record->parent;
    }
    return false;
}

} // namespace

WindowHandle DeviceScreen::window_at(Point point) const
{
    std::vector<WindowHandle> order = stacking();
    std::lock_guard lock(window_system().mutex);
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        WindowRecord* record = find_window_locked(*it);
        if (!record || !record->visible || !record->rect.contains(point))
            continue;
        // A disabled window still covers what lies below it.
        if (!record->enabled)
            return {};
        // Then the topmost shown, enabled child under the point, the later
        // created above the earlier, as deep as children go.
        WindowHandle found = *it;
        Point local { point.x - record->rect.left, point.y - record->rect.top };
        for (;;) {
            WindowRecord* inner = nullptr;
            for (auto& [value, child] : window_system().windows) {
                if (!(child.style & WS_CHILD) || child.parent != found || !child.visible
                    || !child.enabled || child.destroying || !child.rect.contains(local))
                    continue;
                if (!inner || value > inner->handle.value)
                    inner = &child;
            }
            if (!inner)
                break;
            found = inner->handle;
            local = { local.x - inner->rect.left, local.y - inner->rect.top };
        }
        return found;
    }
    return {};
}

void DeviceScreen::pointer(PointerAction action, PointerButton button, Point point)
{
    if (box_) {
        if (action == PointerAction::Up) {
            if (auto answer = box_->answer_at(point))
                finish_box(*answer);
        }
        return;
    }
    if (action == PointerAction::Down)
        buttons_held_ |= bit_of(button);
    else if (action == PointerAction::Up)
        buttons_held_ &= ~bit_of(button);
    // The release of a recognised hold belongs to no one, not even to the
    // menu the hold opened under the finger.
    if (action == PointerAction::Up && button == PointerButton::Left && swallow_left_up_) {
        swallow_left_up_ = false;
        return;
    }
    if (popup_ || (swallow_pointer_up_ && action == PointerAction::Up)) {
        if (popup_)
            popup_pointer(action, point);
        else
            swallow_pointer_up_ = false;
        return;
    }

    WindowHandle target = capture_ && is_window(capture_) ? capture_ : WindowHandle {};
    if (!target) {
        BarLayout layout = bars();
        if (layout.top.contains(point) || close_pressed_) {
            bool on_close = layout.close.contains(point);
            if (action == PointerAction::Down && button == PointerButton::Left && on_close) {
                close_pressed_ = true;
                dirty_ = true;
            } else if (action == PointerAction::Up && button == PointerButton::Left
                && close_pressed_) {
                close_pressed_ = false;
                dirty_ = true;
                if (on_close && active_ && has_title_ok(active_))
                    post_message(active_, WM_COMMAND, TITLE_OK_ID, 0);
                else if (on_close && active_)
                    send_message(active_, WM_CLOSE);
            }
            return;
        }
        if (bar_pointer(action, button, point))
            return;
        target = window_at(point);
        if (!target)
            return;
    }
    if (!enabled_chain(target))
        return;

    std::uint32_t message = WM_MOUSEMOVE;
    std::uint32_t now = tick_count();
    if (action == PointerAction::Down) {
        message = down_message_of(button);
        bool doubles = (window_class_style(target) & CS_DBLCLKS) != 0;
        if (doubles && last_press_.button == button && last_press_.window == target
            && now - last_press_.time <= DOUBLE_CLICK_MILLISECONDS
            && std::abs(point.x - last_press_.point.x) <= DOUBLE_CLICK_DISTANCE
            && std::abs(point.y - last_press_.point.y) <= DOUBLE_CLICK_DISTANCE) {
            message += 2;
            last_press_ = {};
        } else {
            last_press_ = { button, target, point, now };
        }
        WindowHandle top = top_level_of(target);
        if (top != active_)
            activate(top, WA_CLICKACTIVE);
    } else if (action == PointerAction::Up) {
        message = down_message_of(button) + 1;
    }

    Wparam flags = buttons_held_;
    if (is_key_down(VK_SHIFT))
        flags |= MK_SHIFT;
    if (is_key_down(VK_CONTROL))
        flags |= MK_CONTROL;
    Point origin = screen_origin_of(target);
    post_message(target, message, flags, make_lparam(point.x - origin.x, point.y - origin.y));
}

void DeviceScreen::wheel(Point point, int delta)
{
    if (box_ || delta == 0)
        return;
    // The window under the pointer, else the one with the focus, as a
    // wheel turned over nothing in particular still scrolls what has it.
    WindowHandle target = capture_ && is_window(capture_) ? capture_ : window_at(point);
    if (!target)
        target = focus_ && is_window(focus_) ? focus_ : active_;
    if (!target || !enabled_chain(target))
        return;
    Point origin = screen_origin_of(target);
    auto turn = static_cast<std::uint16_t>(static_cast<std::int16_t>(delta));
    post_message(target, WM_MOUSEWHEEL, static_cast<Wparam>(turn) << 16,
        make_lparam(point.x - origin.x, point.y - origin.y));
}

void DeviceScreen::key(int virtual_key, bool down)
{
    if (box_) {
        if (down) {
            if (auto answer = box_->answer_for_key(virtual_key))
                finish_box(*answer);
        }
        return;
    }
    bool alt = is_key_down(VK_MENU) || virtual_key == VK_MENU;
    if (down)
        keys_down_.insert(virtual_key);
    else
        keys_down_.erase(virtual_key);
    if (popup_) {
        popup_key(virtual_key, down);
        return;
    }
    if (bar_key(virtual_key, down))
        return;
    // The Smartphone's back key belongs to the menu bar while one shows.
    if (virtual_key == VK_TBACK && is_smartphone()) {
        if (WindowHandle owner = bar_owner()) {
            post_message(
                owner, WM_HOTKEY, BACK_HOT_KEY_ID, make_lparam(down ? 0 : MOD_KEYUP, VK_TBACK));
            return;
        }
    }
    WindowHandle target = focus_ && is_window(focus_) ? focus_ : active_;
    if (!target)
        return;
    std::uint32_t message
        = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
    // A repeat count of one; a release also carries the previous-state and
    // transition bits.
    std::uint32_t flags = down ? 1u : 0xC0000001u;
    post_message(target, message, static_cast<Wparam>(virtual_key), static_cast<Lparam>(flags));
}

void DeviceScreen::text(std::u16string_view text)
{
    if (box_ || popup_ || text.empty())
        return;
    WindowHandle target = focus_ && is_window(focus_) ? focus_ : active_;
    if (!target)
        return;
    if (text.size() == 1) {
        post_message(target, WM_CHAR, text[0], 1);
        return;
    }
    composition_ = std::u16string(text);
    post_message(target, WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
}

} // namespace platform::detail
