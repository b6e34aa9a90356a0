#pragma once

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/SystemCursor.h"
#include "platform/screen/ScreenInput.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform::detail {

// One event of the display, already in the screen's terms.
struct DisplayEvent {
    enum class Kind { Pointer, Wheel, Key, Text, Resize, Quit };
    Kind kind { Kind::Quit };
    PointerAction action { PointerAction::Move };
    PointerButton button { PointerButton::None };
    Point point;
    int virtual_key { 0 };
    bool down { false };
    std::u16string text;
    Size size;
    // Wheel: the turn, WHEEL_DELTA a notch, positive away from the user.
    int wheel { 0 };
};

// Where the screen shows: an SDL window or nothing (headless). Owned by the
// screen and used on its user-interface thread, except wake(), which any
// thread may call.
class Display {
public:
    virtual ~Display() = default;

    // Whether presented bitmaps are seen at all.
    virtual bool shows() const = 0;
    // The next event that has arrived; false when there is none.
    virtual bool poll(DisplayEvent& event) = 0;
    virtual void present(const Bitmap& screen) = 0;
    // Sleeps until an event arrives, wake() is called (also before the
    // wait) or `timeout` milliseconds pass.
    virtual void wait(std::optional<std::uint32_t> timeout) = 0;
    virtual void wake() = 0;
    virtual void set_cursor(SystemCursor cursor) = 0;
    // The device screen that the display shows, in pixels.
    virtual Size size() const = 0;
    // Puts the window away, as going back to the previous application does.
    virtual void minimize() { }
};

// Nothing shown, a screen of `size`.
std::unique_ptr<Display> make_headless_display(Size size);
// The logical size of the window that make_sdl_display() opens without a
// forced size, without opening it; nothing without a display. On a
// high-density display the screen will have more pixels.
std::optional<Size> sdl_window_size();
// The SDL window, placed by place_window() (`forced`: RINGWISE_SCREEN), or
// nullptr (with the reason on standard error) when SDL video cannot start.
std::unique_ptr<Display> make_sdl_display(std::optional<Size> forced);

} // namespace platform::detail
