#include "skinner/MenuManager.h"

namespace skinner {

namespace {

MenuManagerFactory installed_factory = nullptr;
SoftKeyItems* installed_items = nullptr;

} // namespace

void set_menu_manager_factory(MenuManagerFactory factory)
{
    installed_factory = factory;
}

MenuManagerFactory menu_manager_factory()
{
    return installed_factory;
}

std::unique_ptr<MenuManager> make_menu_manager(Form& form, platform::WindowHandle window)
{
    return installed_factory ? installed_factory(form, window) : nullptr;
}

void set_soft_key_items(SoftKeyItems* items)
{
    installed_items = items;
}

SoftKeyItems* soft_key_items()
{
    return installed_items;
}

} // namespace skinner
