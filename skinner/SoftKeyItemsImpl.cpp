#include "skinner/SoftKeyItemsImpl.h"

#include "os/Log.h"
#include "platform/Screen.h"
#include "skinner/Capabilities.h"
#include "skinner/Form.h"
#include "skinner/MenuManagerImpl.h"
#include "skinner/MenuManagerImplPocket.h"
#include "skinner/MenuManagerImplSmartphone.h"

namespace skinner {

namespace {

MenuManagerImpl* bar_of(Form& form)
{
    return dynamic_cast<MenuManagerImpl*>(form.menu_manager());
}

std::unique_ptr<MenuManager> make_bar(Form& form, platform::WindowHandle window)
{
    if (is_smartphone())
        return std::make_unique<MenuManagerImplSmartphone>(form, window);
    return std::make_unique<MenuManagerImplPocket>(form, window, has_soft_key_menus());
}

} // namespace

void SoftKeyItemsImpl::add_item(Form& form, Control& button, const std::u16string& command)
{
    if (MenuManagerImpl* bar = bar_of(form))
        bar->add_button_item(button, command);
}

void SoftKeyItemsImpl::remove_item(Form& form, Control& button)
{
    if (MenuManagerImpl* bar = bar_of(form))
        bar->remove_button_item(button);
}

void SoftKeyItemsImpl::item_text_changed(Form& form, Control& button, const std::u16string& text)
{
    if (MenuManagerImpl* bar = bar_of(form))
        bar->button_text_changed(button, text);
}

void SoftKeyItemsImpl::item_checked_changed(Form& form, Control& button, bool checked)
{
    if (MenuManagerImpl* bar = bar_of(form))
        bar->button_checked_changed(button, checked);
}

void SoftKeyItemsImpl::item_enabled_changed(Form& form, Control& button, bool enabled)
{
    if (MenuManagerImpl* bar = bar_of(form))
        bar->button_enabled_changed(button, enabled);
}

void SoftKeyItemsImpl::set_title_ok_button(Form& form, Control* button)
{
    if (MenuManagerImpl* bar = bar_of(form))
        bar->set_title_ok_button(button);
}

void SoftKeyItemsImpl::title_changed(Form& form, const std::u16string& title)
{
    if (!is_smartphone() || !form.window())
        return;
    os::log() << u"Setting gext of hwnd=" << form.window().value << u" to {" << title << u"\n";
    // The task bar ("tray") draws the title: the shell's top bar here.
    platform::invalidate_menu_bar();
}

void install_menus()
{
    static SoftKeyItemsImpl items;
    if (!menu_manager_factory())
        set_menu_manager_factory(&make_bar);
    if (!soft_key_items())
        set_soft_key_items(&items);
}

} // namespace skinner
