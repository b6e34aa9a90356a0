#include "platform/screen/Stacking.h"
#include "platform/screen/SystemBars.h"
#include "tests/platform/screen/ScreenTestSupport.h"

using namespace platform;
using test_support::run_pending;
using test_support::ScreenTest;

namespace {

constexpr Color RED = make_color(200, 0, 0);
constexpr Color GREEN = make_color(0, 200, 0);
constexpr Color BLUE = make_color(0, 0, 200);

Color at(int x, int y)
{
    return capture_screen().pixel(x, y);
}

} // namespace

class Compositing : public ScreenTest { };

TEST_F(Compositing, OwnedWindowsLieAboveTheirOwnersAndTheActiveAboveTheRest)
{
    WindowHandle first = windows().create({ 0, 100, 200, 300 }, RED);
    WindowHandle second = windows().create({ 100, 100, 300, 300 }, GREEN);
    run_pending();
    EXPECT_EQ(at(150, 200), GREEN); // the newer, active window

    set_active_window(first);
    EXPECT_EQ(at(150, 200), RED);
    EXPECT_EQ(at(250, 200), GREEN);

    WindowHandle popup
        = windows().create({ 120, 180, 180, 220 }, BLUE, WS_POPUP | WS_VISIBLE, second);
    run_pending();
    set_active_window(second);
    EXPECT_EQ(at(150, 200), BLUE);
    // The owner is active, its popup still lies above it.
    set_active_window(popup);
    set_active_window(second);
    EXPECT_EQ(active_window(), second);
    EXPECT_EQ(at(150, 200), BLUE);

    show_window(popup, false);
    EXPECT_EQ(at(150, 200), GREEN);
    show_window(second, false);
    EXPECT_EQ(at(150, 200), RED);
    EXPECT_EQ(at(250, 200), detail::DESKTOP_COLOR);
}

TEST(Stacking, FamiliesStayTogetherWithTheActiveFamilyOnTop)
{
    using detail::StackedWindow;
    WindowHandle a { 1 }, b { 2 }, a_popup { 3 }, a_popup_popup { 4 }, c { 5 };
    std::vector<StackedWindow> windows { { a, {}, 1 }, { b, {}, 2 }, { a_popup, a, 3 },
        { a_popup_popup, a_popup, 4 }, { c, {}, 5 } };
    EXPECT_EQ(detail::stacking_order(windows, a_popup),
        (std::vector<WindowHandle> { b, c, a, a_popup, a_popup_popup }));
    EXPECT_EQ(detail::stacking_order(windows, c),
        (std::vector<WindowHandle> { a, a_popup, a_popup_popup, b, c }));
    // An owner that is gone leaves its windows at the top level.
    windows.erase(windows.begin());
    EXPECT_EQ(detail::stacking_order(windows, b),
        (std::vector<WindowHandle> { a_popup, a_popup_popup, c, b }));
}

TEST_F(Compositing, TheBarsFrameTheWorkAreaExceptInFullScreen)
{
    EXPECT_EQ(screen_size(), (Size { 480, 640 }));
    EXPECT_EQ(work_area(), (Rect { 0, 52, 480, 588 }));
    windows().create({ 0, 0, 480, 640 }, GREEN);
    run_pending();
    EXPECT_EQ(at(2, 2), detail::BAR_COLOR);
    EXPECT_EQ(at(2, 637), detail::BAR_COLOR);
    EXPECT_EQ(at(2, 300), GREEN);

    set_fullscreen(true);
    EXPECT_TRUE(is_fullscreen());
    EXPECT_EQ(work_area(), (Rect { 0, 0, 480, 640 }));
    EXPECT_EQ(at(2, 2), GREEN);
    EXPECT_EQ(at(2, 637), GREEN);
}

TEST_F(Compositing, TheTopBarShowsTheActiveWindowsTitle)
{
    auto bar_text_pixels = [] {
        Bitmap screen = capture_screen();
        int light = 0;
        // The title's part of the bar, left of the close button.
        for (int y = 0; y < 52; ++y) {
            for (int x = 0; x < 400; ++x)
                light += brightness_of(screen.pixel(x, y)) > 160 ? 1 : 0;
        }
        return light;
    };
    WindowHandle window
        = windows().create({ 0, 52, 480, 588 }, GREEN, WS_POPUP | WS_VISIBLE, {}, u"");
    run_pending();
    EXPECT_EQ(bar_text_pixels(), 0);
    set_window_text(window, u"Contacts");
    int short_title = bar_text_pixels();
    EXPECT_GT(short_title, 20);
    set_window_text(window, u"Contacts and every one of their numbers");
    EXPECT_GT(bar_text_pixels(), short_title);
}

TEST_F(Compositing, TappingTheCloseButtonClosesTheActiveWindow)
{
    WindowHandle below = windows().create({ 0, 52, 480, 588 }, RED);
    WindowHandle window = windows().create({ 0, 52, 480, 588 }, GREEN);
    run_pending();
    windows().take();
    inject_pointer(PointerAction::Down, PointerButton::Left, { 470, 20 });
    inject_pointer(PointerAction::Up, PointerButton::Left, { 470, 20 });
    auto closes = windows().take_of(WM_CLOSE);
    ASSERT_EQ(closes.size(), 1u);
    EXPECT_EQ(closes[0].window, window);
    EXPECT_FALSE(is_window(window));
    EXPECT_EQ(active_window(), below);

    // Pressing elsewhere on the bar closes nothing.
    inject_pointer(PointerAction::Down, PointerButton::Left, { 100, 20 });
    inject_pointer(PointerAction::Up, PointerButton::Left, { 470, 20 });
    run_pending();
    EXPECT_TRUE(windows().take_of(WM_CLOSE).empty());
}

TEST_F(Compositing, ASmartphoneHasItsOwnBarsAndNoCloseButton)
{
    setenv("RINGWISE_PLATFORM", "smartPHONE", 1);
    EXPECT_TRUE(is_smartphone());
    EXPECT_EQ(work_area(), (Rect { 0, 54, 480, 586 }));
    windows().create({ 0, 0, 480, 640 }, GREEN);
    run_pending();
    windows().take();
    inject_pointer(PointerAction::Down, PointerButton::Left, { 470, 20 });
    inject_pointer(PointerAction::Up, PointerButton::Left, { 470, 20 });
    run_pending();
    EXPECT_TRUE(windows().take_of(WM_CLOSE).empty());
    unsetenv("RINGWISE_PLATFORM");
    EXPECT_FALSE(is_smartphone());
}

TEST(SystemBars, HeightsFollowTheDevicesTable)
{
    EXPECT_EQ(system_bar_height({ 176, 220 }, true), 20);
    EXPECT_EQ(system_bar_height({ 240, 320 }, true), 27);
    EXPECT_EQ(system_bar_height({ 352, 416 }, true), 40);
    EXPECT_EQ(system_bar_height({ 480, 640 }, true), 54);
    EXPECT_EQ(system_bar_height({ 320, 240 }, true), 0);
    EXPECT_EQ(system_bar_height({ 480, 640 }, false), 52);
    EXPECT_EQ(system_bar_height({ 640, 480 }, false), 52);
    EXPECT_EQ(system_bar_height({ 240, 320 }, false), 26);
    EXPECT_EQ(system_bar_height({ 320, 240 }, false), 26);
}

TEST(SystemBars, OnAPocketPCTheyGrowWithThePhonesShorterSide)
{
    EXPECT_EQ(system_bar_height({ 360, 720 }, false), 39);
    // High density: exactly twice the bars of the logical screen.
    EXPECT_EQ(system_bar_height({ 720, 1440 }, false), 78);
    EXPECT_EQ(system_bar_height({ 720, 360 }, false), 39);
    // Never below the device's own height.
    EXPECT_EQ(system_bar_height({ 100, 100 }, false), 26);
}

TEST_F(Compositing, ResizingTheScreenTellsEveryTopLevelWindow)
{
    WindowHandle first = windows().create({ 0, 52, 480, 588 }, RED);
    WindowHandle second = windows().create({ 0, 52, 480, 588 }, GREEN, WS_POPUP);
    run_pending();
    windows().take();
    resize_screen({ 240, 320 });
    run_pending();
    EXPECT_EQ(screen_size(), (Size { 240, 320 }));
    EXPECT_EQ(work_area(), (Rect { 0, 26, 240, 294 }));
    EXPECT_EQ(capture_screen().size(), (Size { 240, 320 }));
    std::vector<WindowHandle> told;
    for (const auto& seen : windows().take_of(WM_SETTINGCHANGE)) {
        EXPECT_EQ(seen.wparam, SPI_SETWORKAREA);
        told.push_back(seen.window);
    }
    EXPECT_EQ(told, (std::vector<WindowHandle> { first, second }));
}
