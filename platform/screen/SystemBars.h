#pragma once

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Font.h"

#include <string_view>

namespace platform::detail {

// Where the shell's two bars lie on a screen; all empty in full-screen mode
// or where the device has no bars.
struct BarLayout {
    Rect top;
    Rect bottom;
    // The close button at the right of the top bar; empty on a Smartphone.
    Rect close;
};

BarLayout bar_layout(Size screen, bool smartphone, bool fullscreen);

// The top bar: the active window's title at the left, ellipsised to fit,
// and the close button ("ok" with `ok`); `pressed` shows the button held
// down.
void paint_top_bar(Canvas& canvas, const BarLayout& layout, std::u16string_view title, bool pressed,
    bool ok = false);
// The bottom bar without the menu bar's content.
void paint_bottom_bar(Canvas& canvas, const BarLayout& layout);

// The shell's text font for a bar of that height.
Font bar_font(int bar_height, int weight);

// The colours of the shell, shared with the message box.
inline constexpr Color BAR_COLOR = make_color(0x1F, 0x25, 0x2E);
inline constexpr Color BAR_EDGE_COLOR = make_color(0x3A, 0x44, 0x52);
inline constexpr Color BAR_TEXT_COLOR = make_color(0xFF, 0xFF, 0xFF);
inline constexpr Color BAR_PRESSED_COLOR = make_color(0x3D, 0x6F, 0xB6);
inline constexpr Color DESKTOP_COLOR = make_color(0x5B, 0x6B, 0x7F);

} // namespace platform::detail
