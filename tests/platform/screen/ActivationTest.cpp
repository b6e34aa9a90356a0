#include "tests/platform/screen/ScreenTestSupport.h"

using namespace platform;
using test_support::run_pending;
using test_support::ScreenTest;
using test_support::Seen;

namespace {

constexpr Color RED = make_color(200, 0, 0);

Lparam value_of(WindowHandle window)
{
    return static_cast<Lparam>(window.value);
}

// The activation and focus messages, as (window, message, wparam, lparam).
std::vector<std::tuple<WindowHandle, std::uint32_t, Wparam, Lparam>> changes(std::vector<Seen> seen)
{
    std::vector<std::tuple<WindowHandle, std::uint32_t, Wparam, Lparam>> found;
    for (const Seen& s : seen) {
        if (s.message == WM_ACTIVATE || s.message == WM_SETFOCUS || s.message == WM_KILLFOCUS
            || s.message == WM_CAPTURECHANGED)
            found.emplace_back(s.window, s.message, s.wparam, s.lparam);
    }
    return found;
}

} // namespace

class Activation : public ScreenTest { };

TEST_F(Activation, ShowingAWindowActivatesItAndMovesTheFocus)
{
    WindowHandle first = windows().create({ 0, 52, 480, 588 }, RED);
    EXPECT_EQ(active_window(), first);
    EXPECT_EQ(focus_window(), first);
    EXPECT_EQ(changes(windows().take()),
        (decltype(changes({})) {
            { first, WM_ACTIVATE, WA_ACTIVE, 0 }, { first, WM_SETFOCUS, 0, 0 } }));

    WindowHandle second = windows().create({ 0, 52, 480, 588 }, RED, WS_POPUP);
    EXPECT_EQ(active_window(), first); // hidden windows are not activated
    show_window(second, true);
    EXPECT_EQ(active_window(), second);
    EXPECT_EQ(changes(windows().take()),
        (decltype(changes({})) { { first, WM_ACTIVATE, WA_INACTIVE, value_of(second) },
            { second, WM_ACTIVATE, WA_ACTIVE, value_of(first) },
            { first, WM_KILLFOCUS, second.value, 0 }, { second, WM_SETFOCUS, first.value, 0 } }));

    show_window(second, false);
    EXPECT_EQ(active_window(), first);
    EXPECT_EQ(focus_window(), first);
}

TEST_F(Activation, LosingTheActiveWindowActivatesItsOwnerFirst)
{
    WindowHandle owner = windows().create({ 0, 52, 480, 588 }, RED);
    WindowHandle other = windows().create({ 0, 52, 480, 588 }, RED);
    WindowHandle popup = windows().create({ 10, 100, 200, 200 }, RED, WS_POPUP | WS_VISIBLE, owner);
    EXPECT_EQ(active_window(), popup);
    destroy_window(popup);
    EXPECT_EQ(active_window(), owner);
    destroy_window(owner);
    EXPECT_EQ(active_window(), other);
    destroy_window(other);
    EXPECT_EQ(active_window(), WindowHandle {});
    EXPECT_EQ(focus_window(), WindowHandle {});
}

TEST_F(Activation, SetActiveAndForegroundReturnOrRaise)
{
    WindowHandle first = windows().create({ 0, 52, 480, 588 }, RED);
    WindowHandle second = windows().create({ 0, 52, 480, 588 }, RED);
    EXPECT_EQ(set_active_window(first), second);
    EXPECT_EQ(active_window(), first);
    EXPECT_TRUE(set_foreground_window(second));
    EXPECT_EQ(active_window(), second);
    EXPECT_FALSE(set_foreground_window(WindowHandle { 999999 }));
}

TEST_F(Activation, FocusMovesBetweenChildrenAndActivatesTheirWindow)
{
    WindowHandle first = windows().create({ 0, 52, 480, 588 }, RED);
    WindowHandle child = windows().create({ 0, 0, 50, 20 }, RED, WS_CHILD | WS_VISIBLE, first);
    WindowHandle second = windows().create({ 0, 52, 480, 588 }, RED);
    windows().take();

    EXPECT_EQ(set_focus(child), second);
    EXPECT_EQ(active_window(), first);
    EXPECT_EQ(focus_window(), child);
    auto seen = changes(windows().take());
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), std::make_tuple(child, WM_SETFOCUS, Wparam(first.value), Lparam(0)));

    // Destroying the focus window leaves no focus behind.
    destroy_window(child);
    EXPECT_EQ(focus_window(), WindowHandle {});
}

TEST_F(Activation, CaptureChangesAreReported)
{
    WindowHandle first = windows().create({ 0, 52, 480, 588 }, RED);
    WindowHandle second = windows().create({ 0, 52, 480, 588 }, RED);
    windows().take();
    EXPECT_EQ(set_capture(first), WindowHandle {});
    EXPECT_EQ(set_capture(second), first);
    EXPECT_EQ(capture_window(), second);
    EXPECT_TRUE(release_capture());
    EXPECT_EQ(capture_window(), WindowHandle {});
    EXPECT_EQ(changes(windows().take()),
        (decltype(changes({})) { { first, WM_CAPTURECHANGED, 0, value_of(second) },
            { second, WM_CAPTURECHANGED, 0, 0 } }));
}
