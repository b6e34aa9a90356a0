#include "platform/screen/KeyNames.h"

#include "platform/Screen.h"

#include <array>
#include <utility>

namespace platform::detail {

std::optional<int> virtual_key_named(std::string_view name)
{
    static constexpr std::array<std::pair<std::string_view, int>, 22> keys { {
        { "Left", VK_LEFT },
        { "Right", VK_RIGHT },
        { "Up", VK_UP },
        { "Down", VK_DOWN },
        { "Return", VK_RETURN },
        { "Escape", VK_ESCAPE },
        { "Tab", VK_TAB },
        { "Backspace", VK_BACK },
        { "Delete", VK_DELETE },
        { "Insert", VK_INSERT },
        { "Home", VK_HOME },
        { "End", VK_END },
        { "PageUp", VK_PRIOR },
        { "PageDown", VK_NEXT },
        { "Space", VK_SPACE },
        { "Shift", VK_SHIFT },
        { "Control", VK_CONTROL },
        { "Alt", VK_MENU },
        { "SoftLeft", VK_TSOFT1 },
        { "SoftRight", VK_TSOFT2 },
        { "Back", VK_TBACK },
        { "Apps", VK_APPS },
    } };
    for (const auto& [key_name, key] : keys) {
        if (key_name == name)
            return key;
    }
    if (name.size() == 1
        && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9')))
        return name[0];
    return std::nullopt;
}

char16_t character_of_key(int virtual_key, bool shift)
{
    if (virtual_key >= 'A' && virtual_key <= 'Z')
        return static_cast<char16_t>(shift ? virtual_key : virtual_key - 'A' + 'a');
    if ((virtual_key >= '0' && virtual_key <= '9') || virtual_key == VK_SPACE)
        return static_cast<char16_t>(virtual_key);
    return 0;
}

} // namespace platform::detail
