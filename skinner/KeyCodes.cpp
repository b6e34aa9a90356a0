#include "skinner/KeyCodes.h"

#include "platform/Screen.h"

namespace skinner {

int key_code(int virtual_key)
{
    using namespace platform;
    if (virtual_key >= 'A' && virtual_key <= 'Z')
        return KEY_A + (virtual_key - 'A');
    if (virtual_key >= '0' && virtual_key <= '9')
        return KEY_0 + (virtual_key - '0');
    switch (virtual_key) {
    case VK_SHIFT:
        return KEY_SHIFT;
    case VK_CONTROL:
        return KEY_CONTROL;
    case VK_MENU:
        return KEY_ALT;
    case VK_LEFT:
        return KEY_LEFT;
    case VK_RIGHT:
        return KEY_RIGHT;
    case VK_UP:
        return KEY_UP;
    case VK_DOWN:
        return KEY_DOWN;
    case VK_ESCAPE:
        return KEY_ESCAPE;
    case VK_RETURN:
        return KEY_RETURN;
    case VK_SPACE:
        return KEY_SPACE;
    case VK_BACK:
        return KEY_BACKSPACE;
    case VK_DELETE:
        return KEY_DELETE;
    case VK_INSERT:
        return KEY_INSERT;
    case VK_HOME:
        return KEY_HOME;
    case VK_END:
        return KEY_END;
    case VK_NEXT:
        return KEY_PAGE_DOWN;
    case VK_PRIOR:
        return KEY_PAGE_UP;
    case VK_TAB:
        return KEY_TAB;
    case VK_APPS:
        return KEY_APPS;
    default:
        return KEY_NONE;
    }
}

} // namespace skinner
