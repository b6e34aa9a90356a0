#pragma once

#include "platform/graphics/SystemCursor.h"

#include <string>

namespace skinner {

// How an edge of a control follows a resize of its container.
enum class Anchor { MIN_SIDE = 0, BOTH_SIDE = 1, MAX_SIDE = 2, RATIO = 3, CENTER = 4 };
enum class HAlignment { LEFT = 0, CENTER = 1, RIGHT = 2 };
enum class VAlignment { TOP = 0, VCENTER = 1, BOTTOM = 2 };
// What pressing a skinned element does to its form.
enum class Action {
    NOTHING = 0,
    CAPTION = 1,
    BORDER_LEFT = 2,
    BORDER_RIGHT = 3,
    BORDER_BOTTOM = 4,
    BORDER_TOP = 5,
    CORNER_BOTTOM_LEFT = 6,
    CORNER_BOTTOM_RIGHT = 7,
    CORNER_TOP_LEFT = 8,
    CORNER_TOP_RIGHT = 9,
    BUTTON_CLOSE = 10,
    BUTTON_MINIMIZE = 11,
    BUTTON_MAXIMIZE = 12,
    BUTTON_SYSMENU = 13,
    BUTTON_OK = 14,
    BUTTON_CANCEL = 15,
    BUTTON_YES = 16,
    BUTTON_NO_MENU = 17,
};

// Keyword lookups; matching is exact and case-sensitive. An unknown anchor
// is MIN_SIDE; the others keep the fallback.
Anchor anchor_keyword(const std::u16string& text);
HAlignment h_alignment_keyword(const std::u16string& text, HAlignment fallback);
VAlignment v_alignment_keyword(const std::u16string& text, VAlignment fallback);
Action action_keyword(const std::u16string& text, Action fallback);
// The system cursor a cursor name selects; None for an unknown name.
platform::SystemCursor cursor_keyword(const std::u16string& text);

// Text drawing flags for a pair of alignments.
unsigned text_format(HAlignment horizontal, VAlignment vertical);

} // namespace skinner
