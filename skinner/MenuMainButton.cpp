#include "skinner/MenuMainButton.h"

#include "skinner/ControlMenuMain.h"
#include "skinner/DumpText.h"
#include "skinner/Form.h"
#include "skinner/MenuMainSubMenu.h"

namespace skinner {

MenuMainButton::MenuMainButton(
    ControlMenuMain& menu, std::u16string id, std::u16string text, std::u16string slot)
    : Control(menu.container(), {}, ControlKind::NoSkin)
    , menu_(&menu)
    , parent_(nullptr)
    , item_id_(std::move(id))
{
    item_.command = slot.empty() ? item_id_ : std::move(slot);
    item_.text = std::move(text);
    item_.owner = this;
    Control::set_focusable(false);
    attach();
}

MenuMainButton::MenuMainButton(MenuMainSubMenu& parent, std::u16string id, std::u16string text)
    : Control(parent.container(), {}, ControlKind::NoSkin)
    , menu_(nullptr)
    , parent_(&parent)
    , item_id_(std::move(id))
{
    item_.command = item_id_;
    item_.text = std::move(text);
    item_.owner = this;
    Control::set_focusable(false);
    attach();
}

MenuMainButton::~MenuMainButton()
{
    detach();
}

void MenuMainButton::attach()
{
    if (attached_ || !is_visible())
        return;
    if (parent_) {
        parent_->add_entry(*this);
        attached_ = true;
        return;
    }
    if (MenuManager* manager = form() ? form()->menu_manager() : nullptr) {
        manager->add_item(item_);
        attached_ = true;
    }
}

void MenuMainButton::detach()
{
    if (!attached_)
        return;
    attached_ = false;
    if (parent_) {
        parent_->remove_entry(*this);
        return;
    }
    if (MenuManager* manager = form() ? form()->menu_manager() : nullptr)
        manager->remove_item(item_);
}

void MenuMainButton::changed()
{
    if (!attached_)
        return;
    if (parent_) {
        parent_->entry_changed();
        return;
    }
    if (MenuManager* manager = form() ? form()->menu_manager() : nullptr)
        manager->item_changed(item_);
}

void MenuMainButton::set_text(const std::u16string& text)
{
    if (text == item_.text)
        return;
    item_.text = text;
    changed();
}

void MenuMainButton::set_checked(bool checked)
{
    if (checked == item_.checked)
        return;
    item_.checked = checked;
    changed();
}

void MenuMainButton::set_separator_after(bool separator)
{
    if (separator == item_.separator_after)
        return;
    item_.separator_after = separator;
    changed();
}

void MenuMainButton::set_image_index(int index)
{
    if (index == item_.image_index)
        return;
    item_.image_index = index;
    changed();
}

void MenuMainButton::set_z_order(int z_order)
{
    Control::set_z_order(z_order);
    if (item_.order == z_order)
        return;
    item_.order = z_order;
    // Registering again places the entry by its new order.
    if (attached_) {
        detach();
        attach();
    }
}

void MenuMainButton::visibility_changed()
{
    if (is_visible())
        attach();
    else
        detach();
}

void MenuMainButton::state_changed()
{
    if (item_.enabled == is_enabled())
        return;
    item_.enabled = is_enabled();
    changed();
}

void MenuMainButton::on_command(const std::u16string& text)
{
    Control::on_command(text == item_.command ? item_id_ : text);
}

std::string MenuMainButton::describe() const
{
    std::string fields;
    if (item_.checked)
        fields += "checked ";
    if (!item_.enabled)
        fields += "disabled ";
    return fields + "text=" + dump_text(item_.text);
}

} // namespace skinner
