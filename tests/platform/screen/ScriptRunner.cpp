// A small program on the device screen for the script player's tests: one
// form-like window over the work area and a script host; it plays
// RINGWISE_SCRIPT and ends with exit code 0 when the script has ended.
// Arguments: the window's title, and a message box's text to show first.

#include "platform/Convert.h"
#include "platform/MessageBox.h"
#include "platform/MessageQueue.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "platform/graphics/TextRenderer.h"
#include "platform/screen/ScreenInput.h"
#include "tests/platform/screen/ScriptHostSupport.h"

using namespace platform;

namespace {

Lresult procedure(WindowHandle window, std::uint32_t message, Wparam wparam, Lparam lparam)
{
    if (message == WM_PAINT) {
        PaintSession paint(window);
        Canvas& canvas = paint.canvas();
        Rect rect = window_rect(window).value_or(Rect {});
        canvas.fill_rect({ 0, 0, rect.width(), rect.height() }, make_color(255, 255, 255));
        Rect button { 12, 12, rect.width() - 12, 12 + rect.height() / 8 };
        canvas.fill_rect(button, make_color(0x3D, 0x6F, 0xB6));
        draw_text(canvas, Font {}, u"OK", button, TEXT_CENTER | TEXT_VCENTER | TEXT_SINGLELINE,
            make_color(255, 255, 255));
        return 0;
    }
    return default_window_procedure(window, message, wparam, lparam);
}

} // namespace

int main(int argc, char** argv)
{
    register_window_class({ u"ScriptForm", 0, &procedure });
    test_support::FakeScriptHost host;
    set_script_host(&host);
    WindowCreate create;
    create.class_name = u"ScriptForm";
    create.title = argc > 1 ? from_utf8(argv[1]) : u"Contacts";
    create.style = WS_POPUP;
    WindowHandle window = create_window(create);
    Rect area = work_area();
    move_window(window, area);
    host.controls[u"ok"]
        = { area.left + 12, area.top + 12, area.right - 12, area.top + 12 + area.height() / 8 };
    show_window(window, true);
    // A second argument shows a message box first, answered by the script;
    // the answer's number becomes the exit code.
    if (argc > 2) {
        MessageBoxAnswer answer
            = message_box(from_utf8(argv[2]), u"Ringwise", MessageBoxButtons::YesNoCancel);
        return static_cast<int>(answer);
    }

    Message message;
    while (get_message(message) == GetResult::Message) {
        dispatch_message(message);
        if (!is_script_playing())
            break;
    }
    return 0;
}
