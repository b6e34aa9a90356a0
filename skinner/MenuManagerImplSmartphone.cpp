#include "skinner/MenuManagerImplSmartphone.h"

#include "os/Log.h"
#include "platform/MenuBar.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "skinner/Form.h"
#include "skinner/KeyCodes.h"
#include "skinner/MenuIdPool.h"

namespace skinner {

namespace {

// Whether the window is a text field of the system classes "EDIT" and
// "CAPEDIT", whose letter case differs between systems.
bool is_edit_window(platform::WindowHandle window)
{
    std::u16string name = platform::window_class_name(window);
    for (char16_t& c : name)
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
    return name == u"EDIT" || name == u"CAPEDIT";
}

} // namespace

MenuManagerImplSmartphone::MenuManagerImplSmartphone(Form& form, platform::WindowHandle window)
    : MenuManagerImpl(form, window)
{
    resource_id_ = MenuIdPool::soft_keys().take();
    bar_ = platform::create_menu_bar(window_, resource_id_);
    if (!bar_)
        os::log() << u"ERROR: SHCreateMenuBar failed\n";
}

MenuManagerImplSmartphone::~MenuManagerImplSmartphone()
{
    if (bar_)
        platform::destroy_menu_bar(window_);
    MenuIdPool::soft_keys().give_back(resource_id_);
}

int MenuManagerImplSmartphone::table_id(int command_id) const
{
    if (command_id == platform::SMARTPHONE_LEFT_BUTTON_ID)
        return LEFT_KEY_ID;
    if (command_id == platform::SMARTPHONE_RIGHT_BUTTON_ID)
        return RIGHT_KEY_ID;
    return command_id;
}

void MenuManagerImplSmartphone::rebuild()
{
    compute_soft_keys();
    if (!bar_)
        return;
    auto set_key = [&](int id, const SoftKey& key) {
        platform::MenuBarButton button;
        button.id = id;
        button.text = menu_text(key.text);
        button.drop_down = key.popup;
        platform::set_menu_bar_button(window_, id, button);
    };
    set_key(platform::SMARTPHONE_LEFT_BUTTON_ID, left_key());
    set_key(platform::SMARTPHONE_RIGHT_BUTTON_ID, right_key());
}

platform::Lresult MenuManagerImplSmartphone::hot_key(platform::Wparam, platform::Lparam lparam)
{
    if (is_edit_window(platform::focus_window())) {
        platform::send_back_to_focus_window(lparam);
        return 1;
    }
    bool up = (platform::low_word(lparam) & platform::MOD_KEYUP) != 0;
    if (!up) {
        bool used = form_.key_down(KEY_ESCAPE);
        used = form_.key_down(KEY_BACKSPACE) || used;
        if (!used && !form_.parent()) {
            os::log() << u"want_to_go_back = true\n";
            want_to_go_back_ = true;
        }
        return 1;
    }
    form_.key_up(KEY_ESCAPE);
    form_.key_up(KEY_BACKSPACE);
    if (want_to_go_back_) {
        want_to_go_back_ = false;
        os::log() << u"SHSendBackToFocusWindow\n";
        platform::navigate_back();
    }
    return 1;
}

} // namespace skinner
