#include "platform/MessageQueue.h"
#include "platform/Screen.h"
#include "platform/Window.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace platform;

namespace {

Lresult paint_procedure(WindowHandle window, std::uint32_t message, Wparam wparam, Lparam lparam)
{
    if (message == WM_PAINT) {
        PaintSession paint(window);
        paint.canvas().fill_rect(paint.invalid(), make_color(40, 90, 160));
        return 0;
    }
    return default_window_procedure(window, message, wparam, lparam);
}

void run_pending()
{
    Message message;
    while (peek_message(message))
        dispatch_message(message);
}

// Three windows on a headless 480 × 640 screen: a full form, a popup it
// owns and a second form beneath.
WindowHandle three_windows()
{
    static WindowHandle top = [] {
        setenv("RINGWISE_HEADLESS", "1", 1);
        setenv("RINGWISE_SCREEN", "480x640", 1);
        register_window_class({ u"Bench", 0, &paint_procedure });
        auto make = [](Rect rect, WindowHandle owner, const char16_t* title) {
            WindowCreate create;
            create.class_name = u"Bench";
            create.title = title;
            create.style = WS_POPUP | WS_VISIBLE;
            create.parent = owner;
            create.x = rect.left;
            create.y = rect.top;
            create.width = rect.width();
            create.height = rect.height();
            return create_window(create);
        };
        make({ 0, 52, 480, 588 }, {}, u"Calls");
        WindowHandle form = make({ 0, 52, 480, 588 }, {}, u"Contacts");
        make({ 40, 200, 440, 400 }, form, u"Voice tag");
        run_pending();
        return form;
    }();
    return top;
}

void BM_ComposeScreenOfThreeWindows(benchmark::State& state)
{
    three_windows();
    for (auto _ : state) {
        invalidate_menu_bar(); // the screen has to be composed again
        Bitmap screen = capture_screen();
        benchmark::DoNotOptimize(screen.data());
    }
}
BENCHMARK(BM_ComposeScreenOfThreeWindows);

void BM_PaintSmallRectAndCompose(benchmark::State& state)
{
    WindowHandle form = three_windows();
    for (auto _ : state) {
        invalidate_window(form, Rect { 20, 300, 220, 320 });
        run_pending();
        Bitmap screen = capture_screen();
        benchmark::DoNotOptimize(screen.data());
    }
}
BENCHMARK(BM_PaintSmallRectAndCompose);

} // namespace
