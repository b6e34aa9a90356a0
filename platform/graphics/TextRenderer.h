#pragma once

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Font.h"

#include <string_view>

namespace platform {

// Text format flags, with the device's values.
enum TextFormat : unsigned {
    TEXT_LEFT = 0x0,
    TEXT_CENTER = 0x1,
    TEXT_RIGHT = 0x2,
    TEXT_TOP = 0x0,
    TEXT_VCENTER = 0x4,
    TEXT_BOTTOM = 0x8,
    TEXT_WORDBREAK = 0x10,
    TEXT_SINGLELINE = 0x20,
    TEXT_NOCLIP = 0x100,
    TEXT_NOPREFIX = 0x800,
    TEXT_END_ELLIPSIS = 0x8000,
};

// Draws text into the local rectangle with a transparent background in the
// colour's red, green and blue. The text is never scanned for '&' prefixes.
// Alignment is literal: TEXT_LEFT keeps text at the left also for
// right-to-left scripts. Without TEXT_NOCLIP the text is cut to the rectangle.
void draw_text(Canvas& canvas, const Font& font, std::u16string_view text, Rect rectangle,
    unsigned format, Color color);

// The size the text takes when drawn: one line, or with `wrap_width` > 0
// the lines that word wrapping at that width gives.
Size measure_text(const Font& font, std::u16string_view text, int wrap_width = 0);

} // namespace platform
