#pragma once

#include <cstdint>

namespace platform {

// A window, named by a number that is never reused within a process; the
// empty handle (0) names no window.
struct WindowHandle {
    std::uint32_t value { 0 };

    explicit operator bool() const { return value != 0; }
    bool operator==(const WindowHandle&) const = default;
};

// A thread, named by its Linux thread id (gettid()).
using ThreadId = std::uint32_t;

using Wparam = std::uintptr_t;
using Lparam = std::intptr_t;
using Lresult = std::intptr_t;

// One window message. `window` is empty for a thread message; `time` is the
// tick count at which it was posted.
struct Message {
    WindowHandle window;
    std::uint32_t message { 0 };
    Wparam wparam { 0 };
    Lparam lparam { 0 };
    std::uint32_t time { 0 };
};

// Message numbers, as the device numbers them.
inline constexpr std::uint32_t WM_NULL = 0x0000;
inline constexpr std::uint32_t WM_CREATE = 0x0001;
inline constexpr std::uint32_t WM_DESTROY = 0x0002;
inline constexpr std::uint32_t WM_MOVE = 0x0003;
inline constexpr std::uint32_t WM_SIZE = 0x0005;
inline constexpr std::uint32_t WM_ACTIVATE = 0x0006;
inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;
inline constexpr std::uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr std::uint32_t WM_ENABLE = 0x000A;
inline constexpr std::uint32_t WM_PAINT = 0x000F;
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_QUIT = 0x0012;
inline constexpr std::uint32_t WM_ERASEBKGND = 0x0014;
inline constexpr std::uint32_t WM_SETTINGCHANGE = 0x001A;
inline constexpr std::uint32_t WM_COPYDATA = 0x004A;
// A window asks for its context menu: wparam is its handle value, lparam
// the screen point where the menu belongs (x in the low word, y in the high).
inline constexpr std::uint32_t WM_CONTEXTMENU = 0x007B;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr std::uint32_t WM_COMMAND = 0x0111;
inline constexpr std::uint32_t WM_TIMER = 0x0113;
inline constexpr std::uint32_t WM_INITMENUPOPUP = 0x0117;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x0209;
// wparam: the wheel's turn in its high word, signed, WHEEL_DELTA a notch,
// positive away from the user; lparam: the pointer in client coordinates.
inline constexpr std::uint32_t WM_MOUSEWHEEL = 0x020A;
inline constexpr int WHEEL_DELTA = 120;
inline constexpr std::uint32_t WM_CAPTURECHANGED = 0x0215;
inline constexpr std::uint32_t WM_HOTKEY = 0x0312;
inline constexpr std::uint32_t WM_USER = 0x0400;

// The record WM_COPYDATA carries in lparam: a tag, and bytes that live
// until the message has been handled.
struct CopyData {
    std::uintptr_t data_tag { 0 };
    std::uint32_t byte_count { 0 };
    const void* data { nullptr };
};

// Size-message kinds (wparam of WM_SIZE).
inline constexpr Wparam SIZE_RESTORED = 0;
inline constexpr Wparam SIZE_MINIMIZED = 1;

// Packs two 16-bit values the way size and pointer messages carry them.
constexpr Lparam make_lparam(int low, int high)
{
    return static_cast<Lparam>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(low))
        | static_cast<std::uint32_t>(static_cast<std::uint16_t>(high)) << 16);
}
constexpr int low_word(Lparam value)
{
    return static_cast<std::int16_t>(value & 0xFFFF);
}
constexpr int high_word(Lparam value)
{
    return static_cast<std::int16_t>((value >> 16) & 0xFFFF);
}

} // namespace platform
