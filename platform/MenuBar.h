#pragma once

#include "platform/Message.h"
#include "platform/PopupMenu.h"
#include "platform/graphics/Bitmap.h"

#include <optional>
#include <string>
#include <vector>

// The shell's menu bar: one per top-level window, drawn in the bottom
// system bar while its window is the active one. It is made from one of the
// program's menu-bar templates:
//  - the command-bar templates 117 to 121 start empty; the program adds an
//    image strip and inserts buttons (image or text, enabled state,
//    drop-down buttons, separators);
//  - the soft-key templates 1117 to 1121 hold two soft keys, with the
//    command ids 40000 (left) and 40001 (right) on a Pocket PC and the
//    buttons 18201 (left) and 18200 (right) on a Smartphone, whose texts,
//    command ids and states the program sets.
// Pressing a button posts WM_COMMAND (its id) to the owner, or for a
// drop-down button opens the button's popup menu (WM_INITMENUPOPUP with
// the popup's handle and the button's id first). On a Smartphone the two
// soft keys are also the F1 and F2 keys. User-interface thread only.
namespace platform {

inline constexpr int COMMAND_BAR_FIRST_TEMPLATE = 117;
inline constexpr int SOFT_KEY_FIRST_TEMPLATE = 1117;
inline constexpr int MENU_BAR_TEMPLATES = 5;
inline constexpr int SOFT_KEY_LEFT_ID = 40000;
inline constexpr int SOFT_KEY_RIGHT_ID = 40001;
inline constexpr int SMARTPHONE_LEFT_BUTTON_ID = 18201;
inline constexpr int SMARTPHONE_RIGHT_BUTTON_ID = 18200;

// The toolbar image strips: 115 of 16-pixel images, 125 of 32-pixel ones
// for screens of 192 dpi (on Linux: 480 pixels wide or more). Images in
// order: refresh, record, play, delete, settings, help, exit.
inline constexpr int TOOLBAR_STRIP_16 = 115;
inline constexpr int TOOLBAR_STRIP_32 = 125;
// Loads a strip resource; nullopt for an unknown id.
std::optional<Bitmap> load_toolbar_bitmap(int resource_id);

struct MenuBarButton {
    // The WM_COMMAND id; for a separator unused.
    int id { 0 };
    std::u16string text;
    // Index in the bar's image strip; negative for a text button.
    int image { -1 };
    bool enabled { true };
    bool drop_down { false };
    bool separator { false };
};

// Makes the bar of a top-level window from a template; false (and no bar)
// for an unknown template or a window that has one already.
bool create_menu_bar(WindowHandle owner, int template_id);
bool destroy_menu_bar(WindowHandle owner);
bool has_menu_bar(WindowHandle owner);
// A hidden bar leaves the bottom bar empty.
bool show_menu_bar(WindowHandle owner, bool shown);
bool is_menu_bar_shown(WindowHandle owner);

// The bar's image strip, `image_size` pixels per image; returns the number
// of images, or -1 when the strip cannot be used.
int add_menu_bar_bitmap(WindowHandle owner, const Bitmap& strip, int image_size);
bool delete_menu_bar_buttons(WindowHandle owner);
// Inserts before `index` (at the end when out of range).
bool insert_menu_bar_button(WindowHandle owner, int index, const MenuBarButton& button);
// Changes the button whose id is `id` (text, id, image, state, drop-down).
bool set_menu_bar_button(WindowHandle owner, int id, const MenuBarButton& button);
std::vector<MenuBarButton> menu_bar_buttons(WindowHandle owner);
// The popup a drop-down button opens; empty for others.
MenuHandle menu_bar_popup(WindowHandle owner, int id);
// Presses a button as a tap does; false when the bar has no such enabled
// button.
bool press_menu_bar_button(WindowHandle owner, int id);

// The title bar's OK button of a Pocket PC window without soft keys: while
// set, the top bar shows "ok" in place of the close button, and tapping it
// sends the window WM_COMMAND with TITLE_OK_ID instead of WM_CLOSE.
inline constexpr Wparam TITLE_OK_ID = 1;
void set_title_ok_button(WindowHandle window, bool shown);
bool has_title_ok_button(WindowHandle window);

// The back key. While its bar is shown, the Smartphone's back key (Escape)
// reaches the owner as WM_HOTKEY (wparam: BACK_HOT_KEY_ID, lparam: the
// modifiers, MOD_KEYUP on release, and VK_ESCAPE in the high word) instead
// of a key message.
inline constexpr Wparam BACK_HOT_KEY_ID = 0x1B;
inline constexpr int MOD_KEYUP = 0x1000;
// Hands the back key of the last WM_HOTKEY to the focus window as the
// Backspace key (an edit field deletes a character).
void send_back_to_focus_window(Lparam hot_key_lparam);
// Goes back to the previous application: minimises the screen's window.
void navigate_back();
// How often navigate_back() ran, for tests of a headless screen.
int navigate_back_count();

} // namespace platform
