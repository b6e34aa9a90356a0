#pragma once

#include "platform/graphics/Geometry.h"

#include <string>

namespace skinner {

class Control;

// The events through which controls report to their owners. Every event
// passes on by default: a control hands it to its container, a container to
// its external listener (usually the application's form class), so an
// application receives every event that no control or container used.
//
// Events raised by a control carry it as `sender`. The first event is
// on_control (a control was activated: a button fired), the fourteenth
// on_command (a named command, as text only: menu items, soft keys, and
// "#ScreenResolution#" when the screen or the work area changes).
class Listener {
public:
    virtual ~Listener() = default;

    // 1. A control was activated (a button or check box fired).
    virtual void on_control(Control& sender)
    {
        if (auto* next = next_listener())
            next->on_control(sender);
    }
    // 2. A tap-and-hold on a control, at a point in its container.
    virtual void on_control_hold(Control& sender, platform::Point point)
    {
        if (auto* next = next_listener())
            next->on_control_hold(sender, point);
    }
    // 3. A check box's checked state changed.
    virtual void on_check_changed(Control& sender, bool checked)
    {
        if (auto* next = next_listener())
            next->on_check_changed(sender, checked);
    }
    // 4. A scroll bar's position changed.
    virtual void on_scroll_position(Control& sender, int position)
    {
        if (auto* next = next_listener())
            next->on_scroll_position(sender, position);
    }
    // 5. A progress bar's value changed (set by code).
    virtual void on_value_changed(Control& sender, double value)
    {
        if (auto* next = next_listener())
            next->on_value_changed(sender, value);
    }
    // 6. A progress bar used as a slider asks for a value (the listener decides).
    virtual void on_value_requested(Control& sender, double value)
    {
        if (auto* next = next_listener())
            next->on_value_requested(sender, value);
    }
    // 7. A progress bar's drag ended.
    virtual void on_drag_finished(Control& sender)
    {
        if (auto* next = next_listener())
            next->on_drag_finished(sender);
    }
    // 8. An edit's text changed.
    virtual void on_text_changed(Control& sender, const std::u16string& text)
    {
        if (auto* next = next_listener())
            next->on_text_changed(sender, text);
    }
    // 9. A grid's selected row changed (-1: none).
    virtual void on_selection_changed(Control& sender, int row)
    {
        if (auto* next = next_listener())
            next->on_selection_changed(sender, row);
    }
    // 10. A grid's row was activated (tapped again, or Return).
    virtual void on_item_activated(Control& sender, int row)
    {
        if (auto* next = next_listener())
            next->on_item_activated(sender, row);
    }
    // 11. A grid's highlighted row changed (-1: none).
    virtual void on_item_highlighted(Control& sender, int row)
    {
        if (auto* next = next_listener())
            next->on_item_highlighted(sender, row);
    }
    // 12. A tap-and-hold on a grid's row, at a point in the grid's container.
    virtual void on_item_hold(Control& sender, int row, platform::Point point)
    {
        if (auto* next = next_listener())
            next->on_item_hold(sender, row, point);
    }
    // 13. A grid's rows were scrolled so that `first_row` is the first shown.
    virtual void on_items_scrolled(Control& sender, int first_row)
    {
        if (auto* next = next_listener())
            next->on_items_scrolled(sender, first_row);
    }
    // 14. A named command.
    virtual void on_command(const std::u16string& text)
    {
        if (auto* next = next_listener())
            next->on_command(text);
    }
    // 15. A control gained the focus of its container.
    virtual void on_focus_gained(Control& sender)
    {
        if (auto* next = next_listener())
            next->on_focus_gained(sender);
    }
    // 16. A control lost the focus of its container.
    virtual void on_focus_lost(Control& sender)
    {
        if (auto* next = next_listener())
            next->on_focus_lost(sender);
    }
    // 17. The pointer entered a control.
    virtual void on_pointer_entered(Control& sender)
    {
        if (auto* next = next_listener())
            next->on_pointer_entered(sender);
    }
    // 18. The pointer left a control.
    virtual void on_pointer_left(Control& sender)
    {
        if (auto* next = next_listener())
            next->on_pointer_left(sender);
    }
    // 19. A key that no control used (key code of the framework).
    virtual void on_key_unused(Control& sender, int key)
    {
        if (auto* next = next_listener())
            next->on_key_unused(sender, key);
    }
    // 20. A control's visibility changed.
    virtual void on_visibility_changed(Control& sender, bool visible)
    {
        if (auto* next = next_listener())
            next->on_visibility_changed(sender, visible);
    }
    // 21. A control's enabled state changed.
    virtual void on_enabled_changed(Control& sender, bool enabled)
    {
        if (auto* next = next_listener())
            next->on_enabled_changed(sender, enabled);
    }
    // 22. A control's timer fired and the control did not use it.
    virtual void on_control_timer(Control& sender, unsigned timer_id)
    {
        if (auto* next = next_listener())
            next->on_control_timer(sender, timer_id);
    }
    // 23. A control's menu is about to open (edit context menu, drop-down button).
    virtual void on_menu_opening(Control& sender)
    {
        if (auto* next = next_listener())
            next->on_menu_opening(sender);
    }
    // 24. A control's state changed in a way its owner may show (pressed, highlighted).
    virtual void on_state_changed(Control& sender)
    {
        if (auto* next = next_listener())
            next->on_state_changed(sender);
    }

protected:
    // Where an event goes that this object does not use; nullptr: nowhere.
    virtual Listener* next_listener() { return nullptr; }
};

} // namespace skinner
