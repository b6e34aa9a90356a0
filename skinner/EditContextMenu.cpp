#include "skinner/EditContextMenu.h"

#include "os/Log.h"
#include "skinner/Container.h"
#include "skinner/ControlEdit.h"
#include "skinner/Skin.h"

namespace skinner {

namespace {

struct ItemName {
    EditContextMenu::Command command;
    const char16_t* key;
    const char16_t* fallback;
};

// In menu order, which is the order of Command.
constexpr ItemName ITEMS[] = {
    { EditContextMenu::Command::Cut, u"menuCut", u"Cut" },
    { EditContextMenu::Command::Copy, u"menuCopy", u"Copy" },
    { EditContextMenu::Command::Paste, u"menuPaste", u"Paste" },
    { EditContextMenu::Command::Delete, u"menuDelete", u"Delete" },
    { EditContextMenu::Command::SelectAll, u"menuSelectAll", u"Select All" },
};

} // namespace

EditContextMenu::EditContextMenu(ControlEdit& edit)
    : edit_(edit)
{
}

EditContextMenu::~EditContextMenu()
{
    if (Form* form = edit_.form())
        form->forget_context_client(*this);
}

std::vector<EditContextMenu::Item> EditContextMenu::items() const
{
    bool selected = !edit_.field().selection().is_empty();
    bool editable = edit_.is_editable();
    Skin* skin = edit_.container().skin();
    std::vector<Item> result;
    for (const ItemName& name : ITEMS) {
        bool enabled = false;
        switch (name.command) {
        case Command::Cut:
        case Command::Delete:
            enabled = selected && editable;
            break;
        case Command::Copy:
            enabled = selected;
            break;
        case Command::Paste:
            enabled = editable && edit_.field().can_paste();
            break;
        case Command::SelectAll:
            enabled = !edit_.text().empty();
            break;
        }
        std::u16string text = skin ? skin->translate(name.key, name.fallback) : name.fallback;
        result.push_back({ name.command, text, enabled });
    }
    return result;
}

bool EditContextMenu::run(Command command)
{
    for (const Item& item : items()) {
        if (item.command != command)
            continue;
        if (!item.enabled)
            return false;
        ControlEditImpl& field = edit_.field();
        switch (command) {
        case Command::Cut:
            return field.cut();
        case Command::Copy:
            return field.copy();
        case Command::Paste:
            return field.paste();
        case Command::Delete:
            return field.clear();
        case Command::SelectAll:
            field.select_all();
            return true;
        }
    }
    return false;
}

bool EditContextMenu::show(platform::Point point)
{
    Form* form = edit_.form();
    if (!form || !form->window())
        return false;
    std::vector<Form::ContextEntry> entries;
    std::u16string flags;
    for (const Item& item : items()) {
        entries.push_back(
            { ITEMS[static_cast<std::size_t>(item.command)].key, item.text, item.enabled });
        flags += item.enabled ? u'1' : u'0';
    }
    os::log() << u"EditContextMenu::show " << edit_.id() << u" " << flags << u"\n";
    return form->show_context_menu(entries, point, this);
}

void EditContextMenu::context_menu_chosen(const std::u16string& command)
{
    for (const ItemName& name : ITEMS) {
        if (command == name.key) {
            run(name.command);
            return;
        }
    }
}

} // namespace skinner
