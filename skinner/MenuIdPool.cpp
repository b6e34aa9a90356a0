#include "skinner/MenuIdPool.h"

#include "os/Assertion.h"
#include "platform/MenuBar.h"

#include <bit>

namespace skinner {

MenuIdPool::MenuIdPool(int first)
    : first_(first)
    , free_((1u << platform::MENU_BAR_TEMPLATES) - 1)
{
}

MenuIdPool& MenuIdPool::command_bar()
{
    static MenuIdPool pool(platform::COMMAND_BAR_FIRST_TEMPLATE);
    return pool;
}

MenuIdPool& MenuIdPool::soft_keys()
{
    static MenuIdPool pool(platform::SOFT_KEY_FIRST_TEMPLATE);
    return pool;
}

int MenuIdPool::take()
{
    if (free_ == 0)
        report_assertion(u"ControlMenuMainImpl", u"Add more tolbar ids to the resource file! :)");
    int index = std::countr_zero(free_);
    free_ &= ~(1u << index);
    return first_ + index;
}

void MenuIdPool::give_back(int id)
{
    int index = id - first_;
    if (index >= 0 && index < platform::MENU_BAR_TEMPLATES)
        free_ |= 1u << index;
}

int MenuIdPool::available() const
{
    return std::popcount(free_);
}

} // namespace skinner
