#include "platform/Screen.h"

#include "platform/screen/DeviceScreen.h"
#include "platform/screen/ScreenInput.h"

// The screen's areas, its picture and the entry points of its input.
namespace platform {

using detail::DeviceScreen;

Size screen_size()
{
    return DeviceScreen::instance().size();
}

Rect work_area()
{
    DeviceScreen& screen = DeviceScreen::instance();
    Size size = screen.size();
    detail::BarLayout bars = screen.bars();
    return { 0, bars.top.bottom, size.width,
        bars.bottom.is_empty() ? size.height : bars.bottom.top };
}

void set_fullscreen(bool fullscreen)
{
    DeviceScreen::instance().set_fullscreen(fullscreen);
}

bool is_fullscreen()
{
    return DeviceScreen::instance().fullscreen();
}

Rect input_panel_rect()
{
    return {};
}

void show_input_panel(bool) { }

bool is_input_panel_shown()
{
    return false;
}

Bitmap capture_screen()
{
    return DeviceScreen::instance().capture();
}

void set_menu_bar_painter(MenuBarPainter painter)
{
    DeviceScreen::instance().set_menu_bar_painter(std::move(painter));
}

void invalidate_menu_bar()
{
    DeviceScreen& screen = DeviceScreen::instance();
    screen.mark_dirty();
    screen.wake();
}

bool is_key_down(int virtual_key)
{
    return DeviceScreen::instance().is_key_down(virtual_key);
}

std::u16string composition_result()
{
    return DeviceScreen::instance().composition();
}

void inject_pointer(PointerAction action, PointerButton button, Point point)
{
    DeviceScreen::instance().pointer(action, button, point);
}

void inject_wheel(Point point, int delta)
{
    DeviceScreen::instance().wheel(point, delta);
}

void inject_key(int virtual_key, bool down)
{
    DeviceScreen::instance().key(virtual_key, down);
}

void inject_text(std::u16string_view text)
{
    DeviceScreen::instance().text(text);
}

void resize_screen(Size size)
{
    DeviceScreen::instance().resize(size);
}

bool play_script(const std::string& path, std::string* error)
{
    return DeviceScreen::instance().play_script(path, error);
}

bool is_script_playing()
{
    return DeviceScreen::instance().is_script_playing();
}

} // namespace platform
