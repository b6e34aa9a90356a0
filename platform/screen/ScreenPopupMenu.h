#pragma once

#include "platform/PopupMenu.h"
#include "platform/graphics/Canvas.h"
#include "platform/screen/ScreenInput.h"

#include <string>
#include <vector>

namespace platform::detail {

// The popup menus open on the screen: the menu that was opened and the
// sub-menus opened from it, each a column of items over everything else.
// It knows their look and what a pointer event or a key means; the screen
// sends the messages (WM_INITMENUPOPUP before a sub-menu opens, WM_COMMAND
// for a choice).
class ScreenPopupMenu {
public:
    // What an input asks of the screen.
    struct Outcome {
        enum class Kind { None, Choose, OpenSubMenu, Close };
        Kind kind { Kind::None };
        int id { 0 };
        MenuHandle sub_menu;
        // Where the sub-menu goes: beside this item rectangle.
        Rect item;
        bool by_key { false };

        static Outcome of(Kind kind, int id = 0)
        {
            Outcome outcome;
            outcome.kind = kind;
            outcome.id = id;
            return outcome;
        }
    };

    ScreenPopupMenu(WindowHandle owner, Size screen, int bar_height);

    WindowHandle owner() const { return owner_; }
    int depth() const { return static_cast<int>(levels_.size()); }
    bool shows(MenuHandle menu) const;

    // Opens a menu (its items as they are now) at a point; false when it
    // has no items.
    bool open(MenuHandle menu, Point point, PopupAnchor anchor);
    // Opens a sub-menu beside an item of the top column.
    bool open_beside(MenuHandle menu, Rect item, bool select_first);
    // Closes the columns from `level` up.
    void close_from(int level);

    Outcome pointer(PointerAction action, Point point);
    Outcome key(int virtual_key);

    void paint(Canvas& canvas) const;
    // The screen rectangle of item `index` of column `level`, for tests.
    Rect item_rect(int level, int index) const;
    int selected(int level) const;
    // The open columns for the script player's dump: a line per item,
    // "popup LEVEL TEXT enabled=0|1 checked=0|1 LEFT TOP RIGHT BOTTOM".
    std::string describe() const;

private:
    struct Level {
        MenuHandle menu;
        std::vector<MenuItem> items;
        std::vector<Rect> rects;
        Rect rect;
        int selected { -1 };
        // The item whose sub-menu is the next column; -1 for none.
        int opened { -1 };
    };

    bool place(Level& level, Point point, PopupAnchor anchor);
    void lay_out(Level& level, Point origin);
    Size measure(const Level& level) const;
    int level_at(Point point) const;
    int item_at(const Level& level, Point point) const;
    Outcome activate(int level_index, int item, bool by_key);
    void move_selection(Level& level, int step);
    static bool selectable(const MenuItem& item) { return !item.separator && item.enabled; }

    WindowHandle owner_;
    Size screen_;
    int item_height_;
    int separator_height_;
    int padding_;
    int scale_;
    std::vector<Level> levels_;
};

} // namespace platform::detail
