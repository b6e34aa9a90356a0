#pragma once

#include "skinner/MenuManager.h"

#include <vector>

namespace skinner {

// An ordered collection of menu entries, from which a popup or a soft key
// is built. The entries belong to their controls. Reading outside it is a
// broken rule ("pos is invalid").
class VBCollection {
public:
    void add(MenuManager::Item* item) { items_.push_back(item); }
    void clear() { items_.clear(); }
    int count() const { return static_cast<int>(items_.size()); }
    bool is_empty() const { return items_.empty(); }
    MenuManager::Item* operator[](int pos) const;
    const std::vector<MenuManager::Item*>& items() const { return items_; }

private:
    std::vector<MenuManager::Item*> items_;
};

} // namespace skinner
