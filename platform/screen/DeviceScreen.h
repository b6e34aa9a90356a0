#pragma once

#include "platform/InputPump.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "platform/WindowSystem.h"
#include "platform/screen/Display.h"
#include "platform/screen/MenuBarState.h"
#include "platform/screen/ScreenMessageBox.h"
#include "platform/screen/ScreenPopupMenu.h"
#include "platform/screen/ScriptPlayer.h"
#include "platform/screen/SystemBars.h"

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace platform::detail {

// The device screen behind Screen.h: the top-level windows of the
// user-interface thread with their surfaces, the z-order, activation, focus
// and capture, the shell's bars and message box, input routing and the
// script player. It comes up with the first top-level window and is then
// that thread's input pump. Everything but wake() and the window observer's
// entry points (which ignore other threads) runs on the user-interface
// thread. Never destroyed.
class DeviceScreen final : public InputPump {
public:
    static DeviceScreen& instance();

    bool is_up() const { return ui_thread_.load() != 0; }
    bool on_ui_thread() const;
    Size size() const { return size_; }
    bool fullscreen() const { return fullscreen_; }
    void set_fullscreen(bool fullscreen);
    BarLayout bars() const;
    void resize(Size size);

    // Windows, as the window system reports them.
    void window_created(WindowHandle window);
    void window_destroying(WindowHandle window);
    void window_shown(WindowHandle window, bool visible);
    void window_moved(WindowHandle window, const Rect& old);
    void window_changed(WindowHandle window);

    // The surface a top-level window paints into; nullptr for others.
    Bitmap* surface_of(WindowHandle top_level);
    void mark_dirty() { dirty_ = true; }
    Bitmap capture();
    void set_menu_bar_painter(MenuBarPainter painter);

    WindowHandle activate(WindowHandle window, Wparam how);
    WindowHandle active() const { return active_; }
    bool raise(WindowHandle window);
    WindowHandle focus(WindowHandle window);
    WindowHandle focused() const { return focus_; }
    WindowHandle capture(WindowHandle window);
    WindowHandle captured() const { return capture_; }
    void set_cursor(SystemCursor cursor);
    SystemCursor cursor() const { return cursor_; }

    // Input, from the display or injected.
    void pointer(PointerAction action, PointerButton button, Point point);
    void wheel(Point point, int delta);
    void key(int virtual_key, bool down);
    void text(std::u16string_view text);
    bool is_key_down(int virtual_key) const { return keys_down_.contains(virtual_key); }
    const std::u16string& composition() const { return composition_; }
    // The next left-button release is not delivered: a tap-and-hold took it.
    void swallow_left_release() { swallow_left_up_ = true; }

    std::optional<MessageBoxAnswer> run_message_box(const std::u16string& text,
        const std::u16string& caption, MessageBoxButtons buttons, int default_button);

    bool play_script(const std::string& path, std::string* error);
    bool is_script_playing() const { return script_ != nullptr; }

    // Menu bars and popup menus.
    void menu_bar_changed() { dirty_ = true; }
    void menu_bar_destroyed(WindowHandle owner);
    void menu_destroyed(MenuHandle menu);
    // Sends the owner WM_INITMENUPOPUP(menu, from), then shows the menu.
    bool open_popup(
        MenuHandle menu, WindowHandle owner, Point point, PopupAnchor anchor, Lparam from);
    bool popup_open() const { return popup_ != nullptr; }
    const ScreenPopupMenu* popup() const { return popup_.get(); }
    void close_popups();
    bool press_bar_button(WindowHandle owner, int id);
    void send_back_to_focus(Lparam hot_key);
    void set_title_ok(WindowHandle window, bool shown);
    bool has_title_ok(WindowHandle window) const { return title_ok_.contains(window.value); }
    void navigate_back();
    int navigate_back_count() const { return navigate_back_count_; }

    // InputPump.
    void pump() override;
    void wait(std::optional<std::uint32_t> timeout) override;
    void wake() override;

private:
    struct Surface {
        Bitmap bitmap;
        std::uint64_t raised { 0 };
    };
    struct Press {
        PointerButton button { PointerButton::None };
        WindowHandle window;
        Point point;
        std::uint32_t time { 0 };
    };

    DeviceScreen();
    void bring_up();
    void handle(const DisplayEvent& event);
    void compose();
    bool step_script();
    bool queue_idle() const;
    void activate_next(WindowHandle leaving);
    std::vector<WindowHandle> stacking() const;
    WindowHandle window_at(Point point) const;
    void finish_box(MessageBoxAnswer answer);
    // The window whose menu bar shows: the active window or the nearest
    // owner with a shown bar.
    WindowHandle bar_owner() const;
    bool bar_pointer(PointerAction action, PointerButton button, Point point);
    bool bar_key(int virtual_key, bool down);
    void popup_pointer(PointerAction action, Point point);
    void popup_key(int virtual_key, bool down);
    void follow(const ScreenPopupMenu::Outcome& outcome);
    // Opens what input asked for, outside the input pump: the owner's
    // WM_INITMENUPOPUP runs its code.
    bool open_pending_popup();

    std::atomic<ThreadId> ui_thread_ { 0 };
    std::unique_ptr<Display> display_;
    bool headless_ { true };
    Size size_;
    Bitmap screen_;
    bool fullscreen_ { false };
    bool first_window_sees_new_size_ { false };
    bool dirty_ { true };
    std::uint32_t last_present_ { 0 };
    std::map<std::uint32_t, Surface> surfaces_;
    std::uint64_t raise_count_ { 0 };
    MenuBarPainter menu_bar_painter_;

    WindowHandle active_;
    WindowHandle focus_;
    WindowHandle capture_;
    SystemCursor cursor_ { SystemCursor::Arrow };

    unsigned buttons_held_ { 0 };
    Press last_press_;
    bool swallow_left_up_ { false };
    bool close_pressed_ { false };
    std::set<int> keys_down_;
    std::u16string composition_;

    std::unique_ptr<ScreenMessageBox> box_;
    std::optional<MessageBoxAnswer> box_answer_;
    std::unique_ptr<ScriptPlayer> script_;

    std::unique_ptr<ScreenPopupMenu> popup_;
    // A drop-down bar button pressed, or a sub-menu to open, once input is
    // handled.
    struct PendingPopup {
        WindowHandle owner;
        int button_id { 0 };
        MenuHandle sub_menu;
        Rect item;
        bool by_key { false };
    };
    std::optional<PendingPopup> pending_popup_;
    WindowHandle bar_pressed_owner_;
    bool swallow_pointer_up_ { false };
    // Display events are being turned into messages (inside pump()).
    bool handling_input_ { false };
    int navigate_back_count_ { 0 };
    std::set<std::uint32_t> title_ok_;
    std::optional<std::uint32_t> script_wake_in_;
};

// The top-level window that `window` lies in (itself for a top-level one).
WindowHandle top_level_of(WindowHandle window);
// Where a window's client area starts on the screen.
Point screen_origin_of(WindowHandle window);
// The style of the window's class (CS_DBLCLKS and the others).
std::uint32_t window_class_style(WindowHandle window);

} // namespace platform::detail
