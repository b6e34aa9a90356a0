#include "skinner/MenuManagerImpl.h"

#include "platform/MenuBar.h"

#include "skinner/ControlButtonBase.h"
#include "skinner/ControlMenuMain.h"
#include "skinner/Form.h"
#include "skinner/Skin.h"

#include <algorithm>

namespace skinner {

namespace {

constexpr char16_t SMARTPHONE_OK[] = u"#smartphone_ok#";
constexpr char16_t SMARTPHONE_MENU[] = u"#smartphone_menu#";
constexpr char16_t SMARTPHONE_TAB[] = u"#smartphone_tab#";

bool contains(const std::vector<MenuManager::Item*>& items, const MenuManager::Item* item)
{
    for (const MenuManager::Item* entry : items) {
        if (entry == item || contains(entry->sub_items, item))
            return true;
    }
    return false;
}

} // namespace

std::u16string menu_text(const std::u16string& text)
{
    std::u16string shown = text;
    std::erase(shown, u'&');
    return shown;
}

MenuManagerImpl::MenuManagerImpl(Form& form, platform::WindowHandle window)
    : form_(form)
    , window_(window)
    , table_(FIRST_ITEM_ID, nullptr)
{
    left_root_.command = u"#FakeId#";
    right_root_.command = u"#FakeId#";
    fake_left_.command = u"#FakeIdSoft1#";
    fake_right_.command = u"#FakeIdSoft2#";
    request_update();
}

MenuManagerImpl::~MenuManagerImpl() = default;

void MenuManagerImpl::request_update()
{
    dirty_ = true;
    form_.set_pending_work(true);
}

void MenuManagerImpl::add_item(Item& item)
{
    std::erase(items_, &item);
    auto place = std::upper_bound(items_.begin(), items_.end(), item.order,
        [](int order, const Item* other) { return order < other->order; });
    items_.insert(place, &item);
    request_update();
}

void MenuManagerImpl::remove_item(Item& item)
{
    std::erase(items_, &item);
    // A command that is still queued must not reach a gone item.
    std::replace(table_.begin(), table_.end(), &item, static_cast<Item*>(nullptr));
    request_update();
}

void MenuManagerImpl::item_changed(Item&)
{
    request_update();
}

MenuManagerImpl::Item* MenuManagerImpl::button_item(Control& button)
{
    for (auto& item : button_items_)
        if (item->owner == &button)
            return item.get();
    return nullptr;
}

void MenuManagerImpl::add_button_item(Control& button, const std::u16string& command)
{
    remove_button_item(button);
    auto item = std::make_unique<Item>();
    // A button without a command of its own is pressed by its id.
    item->command = command.empty() ? button.id() : command;
    if (auto* base = dynamic_cast<ControlButtonBase*>(&button)) {
        item->text = base->text();
        item->checked = base->is_checked();
    }
    item->enabled = button.is_enabled();
    item->owner = &button;
    item->order = button.z_order();
    Item& added = *item;
    button_items_.push_back(std::move(item));
    add_item(added);
}

void MenuManagerImpl::remove_button_item(Control& button)
{
    for (auto it = button_items_.begin(); it != button_items_.end(); ++it) {
        if ((*it)->owner == &button) {
            remove_item(**it);
            button_items_.erase(it);
            return;
        }
    }
}

void MenuManagerImpl::button_text_changed(Control& button, const std::u16string& text)
{
    if (Item* item = button_item(button); item && item->text != text) {
        item->text = text;
        request_update();
    }
}

void MenuManagerImpl::button_checked_changed(Control& button, bool checked)
{
    if (Item* item = button_item(button); item && item->checked != checked) {
        item->checked = checked;
        request_update();
    }
}

void MenuManagerImpl::button_enabled_changed(Control& button, bool enabled)
{
    if (Item* item = button_item(button); item && item->enabled != enabled) {
        item->enabled = enabled;
        request_update();
    }
}

void MenuManagerImpl::set_title_ok_button(Control* button)
{
    title_ok_ = button;
    platform::set_title_ok_button(window_, button != nullptr);
}

bool MenuManagerImpl::reachable(const Item* item) const
{
    if (item == &left_root_ || item == &right_root_ || item == &fake_left_ || item == &fake_right_)
        return true;
    return contains(items_, item);
}

MenuManagerImpl::Item* MenuManagerImpl::item_for(int id) const
{
    int index = table_id(id);
    if (index < FIRST_ITEM_ID || index >= static_cast<int>(table_.size()))
        return nullptr;
    Item* item = table_[static_cast<std::size_t>(index)];
    return item && reachable(item) ? item : nullptr;
}

platform::Lresult MenuManagerImpl::command(platform::Wparam wparam, platform::Lparam)
{
    if (wparam == platform::TITLE_OK_ID && title_ok_) {
        if (auto* button = dynamic_cast<ControlButtonBase*>(title_ok_))
            button->fire();
        return 0;
    }
    Item* item = item_for(static_cast<int>(wparam & 0xFFFF));
    if (!item)
        return 0;
    if (item->owner)
        item->owner->on_command(item->command);
    else if (item != &left_root_ && item != &right_root_)
        form_.on_command(item->command);
    return 0;
}

std::vector<MenuManager::Item*> MenuManagerImpl::popup_items(int button_id)
{
    return table_id(button_id) == LEFT_KEY_ID ? left_root_.sub_items : right_root_.sub_items;
}

platform::Lresult MenuManagerImpl::menu_popup(platform::Wparam wparam, platform::Lparam lparam)
{
    if (lparam < FIRST_ITEM_ID)
        return 0;
    // The form may rebuild its entries now; the popup shows them as they
    // are afterwards.
    if (auto* menu = dynamic_cast<ControlMenuMain*>(form_.menu_main()))
        menu->popup_opening();
    update();
    platform::MenuHandle popup { static_cast<std::uint32_t>(wparam) };
    platform::clear_menu(popup);
    table_.resize(bar_entries_);
    fill_popup(popup, popup_items(static_cast<int>(lparam)));
    return 0;
}

void MenuManagerImpl::fill_popup(platform::MenuHandle menu, const std::vector<Item*>& items)
{
    for (Item* item : items) {
        platform::MenuItem entry;
        if (item == &separator_) {
            entry.separator = true;
            platform::append_menu_item(menu, entry);
            continue;
        }
        entry.text = menu_text(item->text);
        entry.checked = item->checked;
        entry.enabled = item->enabled;
        if (!item->sub_items.empty()) {
            entry.sub_menu = platform::create_popup_menu();
            fill_popup(entry.sub_menu, item->sub_items);
        } else {
            entry.id = add_to_table(item);
        }
        platform::append_menu_item(menu, entry);
        if (item->separator_after) {
            platform::MenuItem line;
            line.separator = true;
            platform::append_menu_item(menu, line);
        }
    }
}

int MenuManagerImpl::add_to_table(Item* item)
{
    table_.push_back(item);
    return static_cast<int>(table_.size()) - 1;
}

std::u16string MenuManagerImpl::translate(
    const std::u16string& key, const std::u16string& fallback) const
{
    return form_.get_skin().translate(key, fallback);
}

void MenuManagerImpl::compute_soft_keys()
{
    left_.clear();
    right_.clear();
    VBCollection menus;
    VBCollection tabs;
    for (Item* item : items_) {
        if (item->command == SMARTPHONE_OK)
            left_.add(item);
        else if (item->command == SMARTPHONE_MENU)
            menus.add(item);
        else if (item->command == SMARTPHONE_TAB)
            tabs.add(item);
        else
            right_.add(item);
    }
    for (Item* item : menus.items())
        right_.add(item);
    int right_count = right_.count() + tabs.count();
    if (!tabs.is_empty()) {
        if (!right_.is_empty())
            right_.add(&separator_);
        for (Item* item : tabs.items())
            right_.add(item);
    }

    table_.resize(FIRST_ITEM_ID);
    table_.resize(RIGHT_KEY_ID + 1, nullptr);
    // A key with one item carries it: its command, or for a lone sub-menu
    // that sub-menu's entries as the key's popup under its own text (a key
    // that raised the sub-menu's command would open nothing).
    auto carry = [this](Item* item, Item& root, auto id, SoftKey& key) {
        if (item->sub_items.empty()) {
            table_[id] = item;
            key = { item->text, item->command, false, item->enabled };
            return;
        }
        root.sub_items = item->sub_items;
        table_[id] = &root;
        key = { item->text, {}, true, item->enabled };
    };
    if (left_.count() == 1) {
        carry(left_[0], left_root_, LEFT_KEY_ID, left_key_);
    } else {
        std::u16string text = translate(u"menuSoftButtonOk", u"Action");
        left_root_.sub_items = left_.items();
        fake_left_.text = text;
        bool popup = left_.count() > 1;
        table_[LEFT_KEY_ID] = popup ? &left_root_ : &fake_left_;
        left_key_ = { text, popup ? std::u16string() : fake_left_.command, popup, true };
    }
    if (right_count == 1) {
        carry(right_[0], right_root_, RIGHT_KEY_ID, right_key_);
    } else {
        std::u16string text = translate(u"menuSoftButtonMenu", u"Menu");
        right_root_.sub_items = right_.items();
        fake_right_.text = text;
        bool popup = right_count > 1;
        table_[RIGHT_KEY_ID] = popup ? &right_root_ : &fake_right_;
        right_key_ = { text, popup ? std::u16string() : fake_right_.command, popup, true };
    }
}

void MenuManagerImpl::update()
{
    if (!dirty_)
        return;
    dirty_ = false;
    form_.set_pending_work(false);
    table_.resize(FIRST_ITEM_ID);
    rebuild();
    bar_entries_ = table_.size();
}

void MenuManagerImpl::set_visible(bool visible)
{
    platform::show_menu_bar(window_, visible);
}

void MenuManagerImpl::activated(Form&, bool fullscreen)
{
    set_visible(!fullscreen);
    update();
}

} // namespace skinner
