#pragma once

#include "platform/graphics/Geometry.h"
#include "skinner/Form.h"

#include <string>
#include <vector>

namespace skinner {

class ControlEdit;

// The context menu of an edit: its items, their texts from the language
// table ("menuCut", "menuCopy", "menuPaste", "menuDelete", "menuSelectAll")
// and which of them apply now, and what each does. show() opens it as the
// shell's popup on the edit's form; the choice comes back here and acts on
// the edit, not on the form. Owned by its edit.
class EditContextMenu final : public ContextMenuClient {
public:
    enum class Command { Cut, Copy, Paste, Delete, SelectAll };

    struct Item {
        Command command;
        std::u16string text;
        bool enabled { false };
    };

    explicit EditContextMenu(ControlEdit& edit);
    ~EditContextMenu();
    EditContextMenu(const EditContextMenu&) = delete;
    EditContextMenu& operator=(const EditContextMenu&) = delete;

    // The five items in menu order, as they apply to the edit now: cut and
    // delete need a selection in an editable field, copy a selection,
    // paste an editable field and text on the clipboard, select all a text.
    std::vector<Item> items() const;
    // Carries out an item; false when it does not apply now.
    bool run(Command command);
    // Opens the menu at a screen point, the items that do not apply now
    // disabled; false when nothing opened (the edit has no form window).
    bool show(platform::Point point);

    void context_menu_chosen(const std::u16string& command) override;

private:
    ControlEdit& edit_;
};

} // namespace skinner
