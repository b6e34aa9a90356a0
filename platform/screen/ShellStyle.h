#pragma once

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Font.h"

// The colours and the font of what the shell draws in the program's own
// look: popup menus and the command bar's images.
namespace platform::detail {

inline constexpr Color SURFACE_COLOR = make_color(0xFF, 0xFF, 0xFF);
inline constexpr Color BORDER_COLOR = make_color(0xC9, 0xDD, 0xD0);
inline constexpr Color PRIMARY_COLOR = make_color(0x2E, 0x7D, 0x4F);
inline constexpr Color DARK_GREEN_COLOR = make_color(0x1F, 0x5A, 0x39);
inline constexpr Color SELECTION_COLOR = make_color(0xDC, 0xEF, 0xE3);
inline constexpr Color TEXT_COLOR = make_color(0x1B, 0x2A, 0x21);
inline constexpr Color SECONDARY_TEXT_COLOR = make_color(0x5C, 0x6F, 0x63);
inline constexpr Color DANGER_COLOR = make_color(0xB2, 0x3A, 0x3A);
inline constexpr Color DISABLED_COLOR = make_color(0xA9, 0xB5, 0xAD);

// "DejaVu Sans" of that pixel height, made once per size.
Font shell_font(int pixels, int weight);

} // namespace platform::detail
