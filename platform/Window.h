#pragma once

#include "platform/Message.h"
#include "platform/graphics/Geometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Window procedure: handles one message for one window and returns its result.
using WindowProcedure
    = Lresult (*)(WindowHandle window, std::uint32_t message, Wparam wparam, Lparam lparam);

// Class styles.
inline constexpr std::uint32_t CS_VREDRAW = 0x0001;
inline constexpr std::uint32_t CS_HREDRAW = 0x0002;
inline constexpr std::uint32_t CS_DBLCLKS = 0x0008;

// Window styles.
inline constexpr std::uint32_t WS_POPUP = 0x80000000;
inline constexpr std::uint32_t WS_CHILD = 0x40000000;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000;
inline constexpr std::uint32_t WS_DISABLED = 0x08000000;
inline constexpr std::uint32_t WS_CLIPCHILDREN = 0x02000000;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000;

// Position or size that lets the platform choose.
inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

struct WindowClass {
    std::u16string name;
    std::uint32_t style { 0 };
    WindowProcedure procedure { nullptr };
};

// Registers a window class for the whole process. Class names compare
// without regard to case. False when the name is taken or no procedure is
// given.
bool register_window_class(const WindowClass& window_class);
// False while windows of the class exist, or when there is no such class.
bool unregister_window_class(const std::u16string& name);

struct WindowCreate {
    std::uint32_t ex_style { 0 };
    std::u16string class_name;
    std::u16string title;
    std::uint32_t style { 0 };
    int x { CW_USEDEFAULT };
    int y { CW_USEDEFAULT };
    int width { CW_USEDEFAULT };
    int height { CW_USEDEFAULT };
    // The parent of a WS_CHILD window, otherwise the owner.
    WindowHandle parent;
    std::uintptr_t menu { 0 };
    void* param { nullptr };
};

// Creates a window that belongs to the calling thread (which gets a message
// queue if it had none). The procedure receives WM_CREATE with lparam
// pointing at `create`; answering -1 refuses the creation. Returns the empty
// handle when the class is unknown, the parent is not a window, or the
// creation was refused.
WindowHandle create_window(const WindowCreate& create);

// Destroys a window of the calling thread: its procedure receives WM_DESTROY,
// then its children and owned windows are destroyed, its queued messages are
// dropped and its timers killed. False for a window of another thread, one
// already being destroyed, or no window.
bool destroy_window(WindowHandle window);

// What a procedure returns for messages it does not handle itself: WM_CLOSE
// destroys the window; everything else answers 0.
Lresult default_window_procedure(
    WindowHandle window, std::uint32_t message, Wparam wparam, Lparam lparam);

bool is_window(WindowHandle window);
// 0 when the handle names no window.
ThreadId window_thread(WindowHandle window);
std::u16string window_class_name(WindowHandle window);
// The windows without a parent, in the order they were created.
std::vector<WindowHandle> top_level_windows();
std::uint32_t window_style(WindowHandle window);
WindowHandle window_parent(WindowHandle window);
WindowHandle window_owner(WindowHandle window);

// The rectangle on the device screen (the client area is the whole window);
// a child's rectangle is in its parent's client coordinates.
std::optional<Rect> window_rect(WindowHandle window);
// Moves and sizes a window; sends WM_MOVE and WM_SIZE (SIZE_RESTORED, the new
// width and height in lparam) when position or size changed.
bool move_window(WindowHandle window, const Rect& rect);

bool show_window(WindowHandle window, bool visible);
bool is_window_visible(WindowHandle window);
// Sends WM_ENABLE (wparam 1 or 0) when the state changes.
bool enable_window(WindowHandle window, bool enabled);
bool is_window_enabled(WindowHandle window);

bool set_window_text(WindowHandle window, const std::u16string& text);
std::u16string window_text(WindowHandle window);

// One pointer-sized value per window for its owner's use; returns the value
// it replaces.
void* set_window_user_data(WindowHandle window, void* data);
void* window_user_data(WindowHandle window);

} // namespace platform
