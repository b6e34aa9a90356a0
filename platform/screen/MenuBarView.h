#pragma once

#include "platform/graphics/Canvas.h"
#include "platform/screen/MenuBarState.h"

#include <vector>

namespace platform::detail {

// Where a menu bar's buttons lie in the bottom system bar and how they
// look: two halves for the soft keys, a row from the left for a command
// bar (images as square buttons, texts as wide ones, separators as gaps).
struct MenuBarSlot {
    Rect rect;
    // Index into the bar's buttons.
    std::size_t button { 0 };
};

std::vector<MenuBarSlot> menu_bar_slots(const MenuBarState& bar, Rect area);
// The id of the enabled button at a point; 0 for none.
int menu_bar_button_at(const MenuBarState& bar, Rect area, Point point);
Rect menu_bar_button_rect(const MenuBarState& bar, Rect area, int id);
void paint_menu_bar(Canvas& canvas, const MenuBarState& bar, Rect area);

} // namespace platform::detail
