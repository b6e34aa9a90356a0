#pragma once

#include "platform/graphics/Geometry.h"

#include <string>
#include <string_view>

// Input as the device screen receives it. The SDL window feeds these same
// functions, so that tests and the script player drive exactly the path a
// user does. User-interface thread only; the screen must be up (a top-level
// window exists).
namespace platform {

enum class PointerAction { Down, Up, Move };
enum class PointerButton { None, Left, Right, Middle };

// A pointer event at a point of the screen. Touch is the left button.
void inject_pointer(PointerAction action, PointerButton button, Point point);
// The wheel turned over a point: WHEEL_DELTA a notch, positive away from
// the user (the content moves down, towards its start).
void inject_wheel(Point point, int delta);
// A key going down or up, as a virtual-key code of Screen.h.
void inject_key(int virtual_key, bool down);
// Text typed or composed: one UTF-16 unit becomes WM_CHAR, more becomes
// WM_IME_COMPOSITION with the text in composition_result().
void inject_text(std::u16string_view text);
// The device screen takes a new size, as when the user resizes the window:
// every top-level window gets WM_SETTINGCHANGE(SPI_SETWORKAREA).
void resize_screen(Size size);

// Starts playing a script file (the format of RINGWISE_SCRIPT, see the
// README) from the next idle moment of the user-interface thread. False when
// the screen is not up, another script is playing, or the file cannot be
// read or has a bad line (then `error`, when given, says which).
bool play_script(const std::string& path, std::string* error = nullptr);
// Whether a script is playing; when it ends the thread gets a WM_NULL.
bool is_script_playing();

} // namespace platform
