#pragma once

#include "platform/Message.h"
#include "platform/PopupMenu.h"
#include "skinner/MenuManager.h"
#include "skinner/VBCollection.h"

#include <memory>
#include <string>
#include <vector>

namespace skinner {

class Control;
class Form;

// What every form's menu bar shares: the registered items in order, the
// item table that turns command ids into items, the popups filled right
// before they open, and the two soft keys of the soft-key variants. The
// variants build the bar itself. Made with the form's window and owned by
// it; user-interface thread only.
//
// The item table reserves its first 100 entries: a command id is the index
// of its entry, and ids below 100 are never items. Choosing an entry raises
// its command as a named command on its owner.
class MenuManagerImpl : public MenuManager {
public:
    static constexpr int FIRST_ITEM_ID = 100;
    // The soft keys' command ids in the soft-key variants.
    static constexpr int LEFT_KEY_ID = FIRST_ITEM_ID;
    static constexpr int RIGHT_KEY_ID = FIRST_ITEM_ID + 1;

    // What a soft key shows after the last update.
    struct SoftKey {
        std::u16string text;
        // The command it raises; empty when it opens a popup.
        std::u16string command;
        bool popup { false };
        bool enabled { true };
    };

    MenuManagerImpl(Form& form, platform::WindowHandle window);
    ~MenuManagerImpl() override;

    void add_item(Item& item) override;
    void remove_item(Item& item) override;
    void item_changed(Item& item) override;
    platform::Lresult command(platform::Wparam wparam, platform::Lparam lparam) override;
    platform::Lresult menu_popup(platform::Wparam wparam, platform::Lparam lparam) override;
    platform::Lresult hot_key(platform::Wparam, platform::Lparam) override { return 0; }
    void set_visible(bool visible) override;
    void update() override;
    void activated(Form& form, bool fullscreen) override;

    // Items that soft-key buttons register through SoftKeyItems: the
    // manager keeps them for their buttons.
    void add_button_item(Control& button, const std::u16string& command);
    void remove_button_item(Control& button);
    void button_text_changed(Control& button, const std::u16string& text);
    void button_checked_changed(Control& button, bool checked);
    void button_enabled_changed(Control& button, bool enabled);
    // The button the title bar's OK button presses (none: the bar's close
    // button closes the form).
    void set_title_ok_button(Control* button);
    Control* title_ok_button() const { return title_ok_; }

    const std::vector<Item*>& items() const { return items_; }
    const SoftKey& left_key() const { return left_key_; }
    const SoftKey& right_key() const { return right_key_; }
    platform::WindowHandle window() const { return window_; }
    // The item a command id stands for now; nullptr for none.
    Item* item_for(int id) const;

protected:
    // Makes the bar show the items after a change.
    virtual void rebuild() = 0;
    // The entries of the popup a bar button opens.
    virtual std::vector<Item*> popup_items(int button_id);
    // The item table's id for a command of the bar (the variants may use
    // other ids for their buttons).
    virtual int table_id(int command_id) const { return command_id; }

    // Sorts the items onto the two soft keys (see below) and puts the keys
    // into the table at LEFT_KEY_ID and RIGHT_KEY_ID.
    void compute_soft_keys();
    int add_to_table(Item* item);
    std::u16string translate(const std::u16string& key, const std::u16string& fallback) const;

    Form& form_;
    platform::WindowHandle window_;
    std::vector<Item*> items_;
    std::vector<Item*> table_;

private:
    void request_update();
    void fill_popup(platform::MenuHandle menu, const std::vector<Item*>& items);
    bool reachable(const Item* item) const;
    Item* button_item(Control& button);

    std::vector<std::unique_ptr<Item>> button_items_;
    std::size_t bar_entries_ { FIRST_ITEM_ID };
    // The keys' placeholders and popup roots, and the line before the
    // "#smartphone_tab#" items.
    Item left_root_;
    Item right_root_;
    Item fake_left_;
    Item fake_right_;
    Item separator_;
    VBCollection left_;
    VBCollection right_;
    SoftKey left_key_;
    SoftKey right_key_;
    Control* title_ok_ { nullptr };
    bool dirty_ { true };
};

// The text of a menu entry as the bar shows it: every "&" removed.
std::u16string menu_text(const std::u16string& text);

} // namespace skinner
