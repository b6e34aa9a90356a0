#include "skinner/MenuManagerImplPocket.h"

#include "os/Log.h"
#include "platform/MenuBar.h"
#include "platform/Screen.h"
#include "skinner/MenuIdPool.h"

namespace skinner {

namespace {

MenuIdPool& pool_of(bool soft_keys)
{
    return soft_keys ? MenuIdPool::soft_keys() : MenuIdPool::command_bar();
}

// A 192-dpi screen: on Linux one 480 pixels wide or more.
bool high_resolution_screen()
{
    return platform::screen_size().width >= 480;
}

} // namespace

MenuManagerImplPocket::MenuManagerImplPocket(
    Form& form, platform::WindowHandle window, bool soft_keys)
    : MenuManagerImpl(form, window)
    , soft_keys_(soft_keys)
    , left_id_(platform::SOFT_KEY_LEFT_ID)
    , right_id_(platform::SOFT_KEY_RIGHT_ID)
{
    build();
}

MenuManagerImplPocket::~MenuManagerImplPocket()
{
    if (bar_)
        platform::destroy_menu_bar(window_);
    os::log() << u"~MenuManagerImplPocket() returning id" << resource_id_ << u"\n";
    pool_of(soft_keys_).give_back(resource_id_);
}

void MenuManagerImplPocket::build()
{
    resource_id_ = pool_of(soft_keys_).take();
    auto& log = os::log();
    log << u"MenuManagerImplPocket::build() creating " << resource_id_ << u"\n";
    bar_ = platform::create_menu_bar(window_, resource_id_);
    if (!bar_) {
        log << u"ERROR: SHCreateMenuBar failed\n";
        return;
    }
    if (soft_keys_) {
        log << u"MenuManagerImplPocket::build() creating softbuttons\n";
        for (int id : { left_id_, right_id_ }) {
            platform::MenuBarButton key;
            key.id = id;
            platform::set_menu_bar_button(window_, id, key);
        }
        return;
    }
    log << u"MenuManagerImplPocket::build() loading bitmaps\n";
    load_images();
}

void MenuManagerImplPocket::load_images()
{
    auto& log = os::log();
    int size = 32;
    std::optional<platform::Bitmap> strip;
    if (high_resolution_screen())
        strip = platform::load_toolbar_bitmap(platform::TOOLBAR_STRIP_32);
    if (!strip) {
        size = 16;
        strip = platform::load_toolbar_bitmap(platform::TOOLBAR_STRIP_16);
    }
    if (!strip) {
        log << u"ERROR: LoadBitmap failed\n";
        return;
    }
    image_count_ = strip->width() / size;
    if (platform::add_menu_bar_bitmap(window_, *strip, size) < 0) {
        log << u"ERROR: Toolbar image failed to load\n";
        image_count_ = 0;
    }
}

void MenuManagerImplPocket::set_visible(bool visible)
{
    os::log() << u"MenuManagerImplPocket::set_visible=" << (visible ? 1 : 0) << u"\n";
    MenuManagerImpl::set_visible(visible);
}

void MenuManagerImplPocket::rebuild()
{
    if (!soft_keys_) {
        rebuild_command_bar();
        return;
    }
    compute_soft_keys();
    if (!bar_)
        return;
    auto set_key = [&](int& current, int id, const SoftKey& key) {
        platform::MenuBarButton button;
        button.id = id;
        button.text = menu_text(key.text);
        button.enabled = key.enabled;
        button.drop_down = key.popup;
        if (platform::set_menu_bar_button(window_, current, button))
            current = id;
    };
    set_key(left_id_, LEFT_KEY_ID, left_key());
    set_key(right_id_, RIGHT_KEY_ID, right_key());
}

void MenuManagerImplPocket::rebuild_command_bar()
{
    if (!bar_)
        return;
    auto& log = os::log();
    platform::delete_menu_bar_buttons(window_);
    for (Item* item : items_) {
        int id = add_to_table(item);
        platform::MenuBarButton button;
        button.id = id;
        int index = item->image_index;
        if (index >= 0 && index < image_count_) {
            log << u"Using bitmap with wince_bug_resource_id=" << index << u"\n";
            button.image = index;
        } else if (index >= image_count_) {
            log << u"ERROR: invalid toolbar image requested. wince_bug_resource_id=" << index
                << u"\n";
        }
        button.text = menu_text(item->text);
        button.enabled = item->enabled;
        button.drop_down = !item->sub_items.empty();
        log << u"wince_bug_resource_id=" << index << u" text=" << button.text << u" id=" << id
            << u"\n";
        platform::insert_menu_bar_button(window_, -1, button);
        if (item->separator_after) {
            platform::MenuBarButton separator;
            separator.separator = true;
            platform::insert_menu_bar_button(window_, -1, separator);
        }
    }
}

std::vector<MenuManager::Item*> MenuManagerImplPocket::popup_items(int button_id)
{
    if (soft_keys_)
        return MenuManagerImpl::popup_items(button_id);
    Item* item = item_for(button_id);
    return item ? item->sub_items : std::vector<Item*> {};
}

} // namespace skinner
