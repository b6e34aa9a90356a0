#pragma once

#include <string>
#include <vector>

namespace skinner {

class ControlEdit;

// The context menu of an edit: its items, their texts from the language
// table ("menuCut", "menuCopy", "menuPaste", "menuDelete", "menuSelectAll")
// and which of them apply now, and what each does. Showing it as a popup
// is the menus' part.
class EditContextMenu {
public:
    enum class Command { Cut, Copy, Paste, Delete, SelectAll };

    struct Item {
        Command command;
        std::u16string text;
        bool enabled { false };
    };

    explicit EditContextMenu(ControlEdit& edit);

    // The five items in menu order, as they apply to the edit now: cut and
    // delete need a selection in an editable field, copy a selection,
    // paste an editable field, select all a text.
    std::vector<Item> items() const;
    // Carries out an item; false when it does not apply now.
    bool run(Command command);

private:
    ControlEdit& edit_;
};

} // namespace skinner
