#pragma once

#include "platform/MenuBar.h"
#include "platform/graphics/Bitmap.h"

#include <map>
#include <vector>

namespace platform::detail {

// What the shell keeps of one window's menu bar.
struct MenuBarState {
    int template_id { 0 };
    bool soft_keys { false };
    bool shown { true };
    Bitmap strip;
    Mask strip_mask;
    int image_size { 0 };
    int image_count { 0 };
    std::vector<MenuBarButton> buttons;
    // The popup of each drop-down button, by button id; owned by the bar.
    std::map<int, MenuHandle> popups;
    // The button held down by the pointer or a soft key; 0 for none.
    int pressed_id { 0 };
};

// The bar of a window; nullptr when it has none.
MenuBarState* menu_bar_state(WindowHandle owner);

} // namespace platform::detail
