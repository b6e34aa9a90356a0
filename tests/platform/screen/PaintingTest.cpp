#include "platform/WindowTimers.h"
#include "tests/platform/MessageTestSupport.h"
#include "tests/platform/screen/ScreenTestSupport.h"

using namespace platform;
using test_support::run_pending;
using test_support::ScreenTest;

namespace {

constexpr Color RED = make_color(200, 0, 0);
constexpr Color BLUE = make_color(0, 0, 200);

std::vector<std::uint32_t> next_messages(int count)
{
    std::vector<std::uint32_t> numbers;
    for (int i = 0; i < count; ++i) {
        Message message;
        if (get_message(message) != GetResult::Message)
            break;
        numbers.push_back(message.message);
        dispatch_message(message);
    }
    return numbers;
}

} // namespace

class Painting : public ScreenTest { };

TEST_F(Painting, PostedMessagesComeBeforePaintAndPaintBeforeTimers)
{
    test_support::FakeClock clock(1000);
    WindowHandle window = windows().create({ 0, 60, 100, 160 }, RED);
    run_pending();
    invalidate_window(window);
    set_timer(window, 1, 10);
    clock.advance(20);
    post_message(window, WM_USER);
    EXPECT_EQ(next_messages(3), (std::vector<std::uint32_t> { WM_USER, WM_PAINT, WM_TIMER }));
}

TEST_F(Painting, InvalidRectanglesAddUpInsideTheClientAreaUntilAPaintValidates)
{
    WindowHandle window = windows().create({ 0, 100, 100, 200 }, RED);
    run_pending();
    Message message;
    EXPECT_FALSE(peek_message(message, {}, Peek::Keep));

    invalidate_window(window, Rect { 10, 10, 20, 20 });
    invalidate_window(window, Rect { 50, 60, 70, 80 });
    invalidate_window(window, Rect { 200, 200, 300, 300 }); // outside: nothing
    ASSERT_TRUE(peek_message(message, {}, Peek::Remove));
    EXPECT_EQ(message.message, WM_PAINT);
    EXPECT_EQ(message.window, window);
    windows().take();
    {
        PaintSession paint(window);
        EXPECT_EQ(paint.invalid(), (Rect { 10, 10, 70, 80 }));
        // Drawing is cut to the invalid part.
        paint.canvas().fill_rect({ 0, 0, 100, 100 }, BLUE);
    }
    EXPECT_EQ(windows().take_numbers(WM_ERASEBKGND, WM_ERASEBKGND),
        (std::vector<std::uint32_t> { WM_ERASEBKGND }));
    EXPECT_FALSE(peek_message(message, {}, Peek::Keep));

    Bitmap screen = capture_screen();
    EXPECT_EQ(screen.pixel(10, 110), BLUE);
    EXPECT_EQ(screen.pixel(69, 179), BLUE);
    EXPECT_EQ(screen.pixel(5, 105), RED);
    EXPECT_EQ(screen.pixel(75, 185), RED);

    invalidate_window(window, Rect { 90, 90, 200, 200 });
    PaintSession paint(window);
    EXPECT_EQ(paint.invalid(), (Rect { 90, 90, 100, 100 }));
}

TEST_F(Painting, OnlyShownWindowsArePaintedAndShowingRepaints)
{
    WindowHandle window = windows().create({ 0, 100, 100, 200 }, RED, WS_POPUP);
    WindowHandle child = windows().create({ 0, 0, 10, 10 }, BLUE, WS_CHILD | WS_VISIBLE, window);
    invalidate_window(window);
    invalidate_window(child);
    Message message;
    EXPECT_FALSE(peek_message(message, { {}, WM_PAINT, WM_PAINT }, Peek::Keep));

    show_window(window, true);
    run_pending();
    auto paints = windows().take_of(WM_PAINT);
    ASSERT_EQ(paints.size(), 2u);
    EXPECT_EQ(paints[0].window, window); // parents first
    EXPECT_EQ(paints[1].window, child);
    EXPECT_EQ(capture_screen().pixel(50, 150), RED);
}

TEST_F(Painting, AChildPaintsIntoItsParentCutToTheParent)
{
    WindowHandle parent = windows().create({ 0, 100, 200, 300 }, RED);
    windows().create({ 150, 150, 250, 250 }, BLUE, WS_CHILD | WS_VISIBLE, parent);
    run_pending();
    Bitmap screen = capture_screen();
    EXPECT_EQ(screen.pixel(149, 249), RED);
    EXPECT_EQ(screen.pixel(150, 250), BLUE);
    EXPECT_EQ(screen.pixel(199, 299), BLUE);
    EXPECT_NE(screen.pixel(210, 260), BLUE);

    // A hidden window's canvas draws nothing.
    show_window(parent, false);
    run_pending();
    PaintSession paint(parent);
    paint.canvas().fill_rect({ 0, 0, 200, 200 }, BLUE);
    show_window(parent, true);
    EXPECT_NE(capture_screen().pixel(10, 110), BLUE);
}

TEST_F(Painting, RepaintingAParentRepaintsTheChildrenItCovers)
{
    WindowHandle parent = windows().create({ 0, 100, 200, 300 }, RED);
    WindowHandle child = windows().create({ 20, 20, 60, 60 }, BLUE, WS_CHILD | WS_VISIBLE, parent);
    run_pending();
    windows().take();
    invalidate_window(parent, Rect { 0, 0, 30, 30 });
    run_pending();
    auto paints = windows().take_of(WM_PAINT);
    ASSERT_EQ(paints.size(), 2u);
    EXPECT_EQ(paints[1].window, child);
    EXPECT_EQ(capture_screen().pixel(25, 125), BLUE);

    invalidate_window(parent, Rect { 100, 100, 200, 200 }); // away from the child
    run_pending();
    EXPECT_EQ(windows().take_of(WM_PAINT).size(), 1u);
}
