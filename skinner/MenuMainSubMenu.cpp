#include "skinner/MenuMainSubMenu.h"

#include <algorithm>

namespace skinner {

MenuMainSubMenu::MenuMainSubMenu(
    ControlMenuMain& menu, std::u16string id, std::u16string text, std::u16string slot)
    : MenuMainButton(menu, std::move(id), std::move(text), std::move(slot))
{
}

MenuMainSubMenu::MenuMainSubMenu(MenuMainSubMenu& parent, std::u16string id, std::u16string text)
    : MenuMainButton(parent, std::move(id), std::move(text))
{
}

MenuMainSubMenu::~MenuMainSubMenu()
{
    entries_.clear();
    item().sub_items.clear();
}

void MenuMainSubMenu::add_entry(MenuMainButton& entry)
{
    remove_entry(entry);
    auto place = std::upper_bound(entries_.begin(), entries_.end(), entry.item().order,
        [](int order, const MenuMainButton* other) { return order < other->item().order; });
    entries_.insert(place, &entry);
    rebuild_items();
}

void MenuMainSubMenu::remove_entry(MenuMainButton& entry)
{
    auto found = std::find(entries_.begin(), entries_.end(), &entry);
    if (found == entries_.end())
        return;
    entries_.erase(found);
    rebuild_items();
}

void MenuMainSubMenu::rebuild_items()
{
    std::vector<MenuManager::Item*>& items = item().sub_items;
    items.clear();
    for (MenuMainButton* entry : entries_)
        items.push_back(&entry->item());
    changed();
}

} // namespace skinner
