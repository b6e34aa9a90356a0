#pragma once

#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"

#include <string>
#include <vector>

namespace skinner {

// One line of a laid-out text and the size it takes.
struct TextLine {
    std::u16string text;
    platform::Size size;
};

// Breaks a text into lines: a line feed ends a line, so does `separator`
// (when not empty; it is dropped), and a line that grows wider than
// `width` is broken at its last character of code 32 or below, which is
// dropped. A line without such a character stays whole however wide.
std::vector<TextLine> break_lines(const platform::Font& font, const std::u16string& text,
    const std::u16string& separator, int width);

// The text shortened at its end with U+2026 so that it fits `width`; the
// text itself when it fits, the ellipsis alone when nothing else does.
std::u16string shorten_with_ellipsis(
    const platform::Font& font, const std::u16string& text, int width);

} // namespace skinner
