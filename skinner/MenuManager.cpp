#include "skinner/MenuManager.h"

namespace skinner {

namespace {

MenuManagerFactory installed_factory = nullptr;

} // namespace

void set_menu_manager_factory(MenuManagerFactory factory)
{
    installed_factory = factory;
}

std::unique_ptr<MenuManager> make_menu_manager(Form& form)
{
    return installed_factory ? installed_factory(form) : nullptr;
}

} // namespace skinner
