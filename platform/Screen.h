#pragma once

#include "platform/Message.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/SystemCursor.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

// The device screen: one SDL window, or an off-screen canvas when
// RINGWISE_HEADLESS=1. Top-level windows are composited on it in z-order
// (owned windows above their owners, the active window above the rest),
// child windows clipped inside their parents, and the shell draws its two
// system bars: the top bar with the active window's title and its close
// button, the bottom bar where the menu bar lies. The screen comes up with
// the first window created on the user-interface thread (the thread that
// creates it) and presents at most once per frame, when that thread's queue
// has nothing left to do. User-interface thread only, unless noted.
namespace platform {

// Messages and codes the screen sends beside those of Message.h.
inline constexpr std::uint32_t WM_IME_COMPOSITION = 0x010F;
// lparam flag of WM_IME_COMPOSITION: composition_result() holds the text.
inline constexpr Lparam GCS_RESULTSTR = 0x0800;
// wparam of WM_ACTIVATE; lparam holds the other window's handle value.
inline constexpr Wparam WA_INACTIVE = 0;
inline constexpr Wparam WA_ACTIVE = 1;
inline constexpr Wparam WA_CLICKACTIVE = 2;
// wparam codes of WM_SETTINGCHANGE.
inline constexpr Wparam SPI_SETWORKAREA = 47;
inline constexpr Wparam SPI_SETSIPINFO = 224;
inline constexpr Wparam SETTINGCHANGE_RESET = 0x3002;
// Key flags of pointer messages (wparam).
inline constexpr Wparam MK_LBUTTON = 0x0001;
inline constexpr Wparam MK_RBUTTON = 0x0002;
inline constexpr Wparam MK_SHIFT = 0x0004;
inline constexpr Wparam MK_CONTROL = 0x0008;
inline constexpr Wparam MK_MBUTTON = 0x0010;

// The device's virtual-key codes (wparam of key messages).
inline constexpr int VK_BACK = 0x08;
inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_MENU = 0x12; // alt
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_PRIOR = 0x21; // page up
inline constexpr int VK_NEXT = 0x22; // page down
inline constexpr int VK_END = 0x23;
inline constexpr int VK_HOME = 0x24;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_INSERT = 0x2D;
inline constexpr int VK_DELETE = 0x2E;
// '0'..'9' are 0x30..0x39, 'A'..'Z' 0x41..0x5A.
inline constexpr int VK_APPS = 0x5D;
inline constexpr int VK_F1 = 0x70;
inline constexpr int VK_F2 = 0x71;
// The phone's keys: the two soft keys and the back key.
inline constexpr int VK_TSOFT1 = VK_F1;
inline constexpr int VK_TSOFT2 = VK_F2;
inline constexpr int VK_TBACK = VK_ESCAPE;

// --- The screen and its areas ---------------------------------------------

// The device screen's size in pixels: RINGWISE_SCREEN ("WxH"); else the SDL
// window's drawable size: on a display no wider than 720 logical pixels (a
// phone) the whole display, full screen, otherwise a 480 × 640 window (twice
// that on a high-density display); 480 × 640 when headless. After a resize or
// rotation of the window, its new size.
Size screen_size();

// The height of each system bar on a screen of that size, as the device has
// it: on a Smartphone 20 for a width of 176, 27 for 240, 40 for 352, 54 for
// 480 and 0 otherwise; on a Pocket PC 26 for every 240 pixels of the
// screen's shorter side, at least 26 (26 on 240 x 320, 52 on 480 x 640, 39
// on a 360 x 720 phone and 78 on its 720 x 1440 high-density screen), so
// that the bars and their text grow with a phone's screen and a screen at
// scale 2 has exactly twice the bars of its scale-1 size.
int system_bar_height(Size screen, bool smartphone);

// Whether the device is a Smartphone: RINGWISE_PLATFORM, any letter case.
bool is_smartphone();

// The screen less the two system bars; the whole screen in full-screen mode.
Rect work_area();
// The full-screen mode: the bars are hidden and the work area is the screen.
// Changing it repaints the screen; it sends no messages (the forms do).
void set_fullscreen(bool fullscreen);
bool is_fullscreen();

// The software input panel: never shown on a desktop, so always empty.
Rect input_panel_rect();
bool is_input_panel_shown();
// Asks the shell to raise (true) or lower the input panel, as a text field
// does when it gains or loses the focus. A desktop has a keyboard and no
// panel, so this does nothing.
void show_input_panel(bool shown);

// --- Painting ---------------------------------------------------------------

// Adds a rectangle of the window (client coordinates; nullopt: all of it)
// to the window's invalid region, and the parts it covers of the shown
// children to theirs (a parent paints over its children). The window's thread gets WM_PAINT when no
// posted message waits for it, before due timers.
void invalidate_window(WindowHandle window, std::optional<Rect> rect = std::nullopt);

// One WM_PAINT's drawing: a canvas over the window's client area on the
// screen (origin at the window's top-left corner, clipped to the invalid
// region's bounds and, for a child, to its parent). The session validates
// the window (as it starts, so that what is invalidated while painting is
// painted again) after sending it WM_ERASEBKGND. A window that is not
// visible gets a canvas that draws nothing.
class PaintSession {
public:
    explicit PaintSession(WindowHandle window);
    ~PaintSession();
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;

    Canvas& canvas();
    // The invalid part, in client coordinates.
    Rect invalid() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The whole device screen as it shows now, system bars included.
Bitmap capture_screen();

// Draws the bottom system bar (`bar` in screen coordinates) each time the
// screen is composed; without a painter the bar shows empty. The menu bar
// installs one and calls invalidate_menu_bar() when its look changes.
using MenuBarPainter = std::function<void(Canvas& canvas, Rect bar)>;
void set_menu_bar_painter(MenuBarPainter painter);
void invalidate_menu_bar();

// --- Activation, focus, capture, cursor --------------------------------------

// Showing a top-level window activates it, and so does a press of any
// pointer button in it (WA_CLICKACTIVE); hiding or destroying the active
// window activates its owner, else the topmost shown top-level window.
// Only the windows of the user-interface thread are on the screen.
//
// Makes a top-level window the active one (and the foreground one): the old
// active window gets WM_ACTIVATE(WA_INACTIVE, new), the new one
// WM_ACTIVATE(WA_ACTIVE, old), and focus moves to the new one. Returns the
// previously active window.
WindowHandle set_active_window(WindowHandle window);
WindowHandle active_window();
// Brings a top-level window to the top of the z-order and activates it.
bool set_foreground_window(WindowHandle window);

// Keyboard focus: WM_KILLFOCUS (wparam: the new window's handle value) to
// the old, WM_SETFOCUS (wparam: the old one's) to the new. Returns the old.
WindowHandle set_focus(WindowHandle window);
WindowHandle focus_window();

// Pointer messages go to the topmost shown window under the pointer (the
// deepest child there), with the point in its client coordinates; a
// disabled child passes them to its parent, a disabled top-level window
// takes none and covers what lies below it.
//
// Pointer capture: every pointer message goes to the capturing window. The
// window that loses the capture gets WM_CAPTURECHANGED (lparam: the new
// capturing window's handle value, 0 for none).
WindowHandle set_capture(WindowHandle window);
bool release_capture();
WindowHandle capture_window();

// The cursor the screen shows over the windows of this thread (None and
// Arrow both show the arrow). The wait cursor shows over everything.
void set_cursor(SystemCursor cursor);
SystemCursor current_cursor();

// Whether a key is held down now (shift, control and alt for key handling).
bool is_key_down(int virtual_key);

// The text of the last WM_IME_COMPOSITION sent with GCS_RESULTSTR.
std::u16string composition_result();

// Tap-and-hold recognition for a press at `point` (screen coordinates) in
// `window`: waits, handling other messages, until the button is released,
// the pointer moves more than a few pixels, or 0.5 s pass with the button
// still down. True for a hold; the release of a recognised hold is consumed.
bool recognize_tap_and_hold(WindowHandle window, Point point);

// --- Automation -------------------------------------------------------------

// What the script player asks of the forms, which the form framework
// provides (the screen knows windows, not forms).
class ScriptHost {
public:
    virtual ~ScriptHost() = default;
    // The kind of the active top-level form; empty when there is none.
    virtual std::u16string active_form_kind() = 0;
    // The screen rectangle of the control with that id on the active form.
    virtual std::optional<Rect> control_rect(const std::u16string& id) = 0;
    // Gives the named command to the active form; false when no form takes it.
    virtual bool command(const std::u16string& name) = 0;
    // Every live form as text (see the README's script format).
    virtual std::string dump() = 0;
};

// Installs the host the script player asks (nullptr removes it).
void set_script_host(ScriptHost* host);

} // namespace platform
