#include "platform/PopupMenu.h"
#include "tests/platform/MessageTestSupport.h"
#include "tests/platform/screen/ScreenTestSupport.h"

using namespace platform;
using test_support::run_pending;
using test_support::ScreenTest;
using test_support::Seen;

namespace {

constexpr Color RED = make_color(200, 0, 0);

void press(Point point, PointerButton button = PointerButton::Left)
{
    inject_pointer(PointerAction::Down, button, point);
    inject_pointer(PointerAction::Up, button, point);
}

std::vector<Seen> pointer_messages(std::vector<Seen> seen)
{
    std::erase_if(seen,
        [](const Seen& s) { return s.message < WM_MOUSEMOVE || s.message > WM_MBUTTONDBLCLK; });
    return seen;
}

} // namespace

class Input : public ScreenTest { };

TEST_F(Input, PointerMessagesGoToTheTopmostWindowUnderThePointerInClientCoordinates)
{
    WindowHandle below = windows().create({ 0, 52, 480, 588 }, RED);
    WindowHandle above = windows().create({ 100, 100, 300, 300 }, RED);
    WindowHandle child = windows().create({ 50, 50, 100, 100 }, RED, WS_CHILD | WS_VISIBLE, above);
    run_pending();
    windows().take();

    inject_pointer(PointerAction::Move, PointerButton::None, { 110, 120 });
    inject_key(VK_SHIFT, true);
    press({ 160, 170 });
    inject_key(VK_SHIFT, false);
    press({ 20, 80 }, PointerButton::Right);
    run_pending();
    auto seen = pointer_messages(windows().take());
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0].window, above);
    EXPECT_EQ(seen[0].message, WM_MOUSEMOVE);
    EXPECT_EQ(low_word(seen[0].lparam), 10);
    EXPECT_EQ(high_word(seen[0].lparam), 20);
    EXPECT_EQ(seen[1].window, child);
    EXPECT_EQ(seen[1].message, WM_LBUTTONDOWN);
    EXPECT_EQ(seen[1].wparam, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(low_word(seen[1].lparam), 10);
    EXPECT_EQ(high_word(seen[1].lparam), 20);
    EXPECT_EQ(seen[2].message, WM_LBUTTONUP);
    EXPECT_EQ(seen[2].wparam, MK_SHIFT);
    EXPECT_EQ(seen[3].window, below);
    EXPECT_EQ(seen[3].message, WM_RBUTTONDOWN);
    EXPECT_EQ(seen[3].wparam, MK_RBUTTON);
    EXPECT_EQ(seen[4].message, WM_RBUTTONUP);
    EXPECT_EQ(seen[4].wparam, 0u);
    // Any press activates the window it lands in.
    EXPECT_EQ(active_window(), below);
}

TEST_F(Input, PressingAnInactiveWindowActivatesItByClick)
{
    WindowHandle first = windows().create({ 0, 52, 200, 300 }, RED);
    windows().create({ 250, 52, 480, 300 }, RED);
    run_pending();
    windows().take();
    press({ 10, 60 });
    EXPECT_EQ(active_window(), first);
    bool click_activated = false;
    for (const Seen& seen : windows().take_of(WM_ACTIVATE))
        click_activated |= seen.window == first && seen.wparam == WA_CLICKACTIVE;
    EXPECT_TRUE(click_activated);
}

TEST_F(Input, TheCapturingWindowTakesEveryPointerMessage)
{
    WindowHandle left = windows().create({ 0, 52, 200, 300 }, RED);
    WindowHandle right = windows().create({ 250, 52, 480, 300 }, RED);
    run_pending();
    set_capture(left);
    windows().take();
    press({ 300, 100 });
    inject_pointer(PointerAction::Move, PointerButton::None, { 5, 10 }); // over the top bar
    run_pending();
    auto seen = pointer_messages(windows().take());
    ASSERT_EQ(seen.size(), 3u);
    for (const Seen& s : seen)
        EXPECT_EQ(s.window, left);
    EXPECT_EQ(low_word(seen[0].lparam), 300);
    EXPECT_EQ(high_word(seen[0].lparam), 48);
    EXPECT_EQ(high_word(seen[2].lparam), -42);
    release_capture();
    press({ 300, 100 });
    run_pending();
    seen = pointer_messages(windows().take());
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0].window, right);
}

TEST_F(Input, DisabledWindowsGetNoPointerInputAndCoverWhatIsBelow)
{
    WindowHandle below = windows().create({ 0, 52, 480, 588 }, RED);
    WindowHandle above = windows().create({ 100, 100, 300, 300 }, RED);
    WindowHandle child = windows().create({ 0, 0, 50, 50 }, RED, WS_CHILD | WS_VISIBLE, above);
    run_pending();
    enable_window(child, false);
    windows().take();
    press({ 110, 110 }); // on the disabled child: its parent gets it
    run_pending();
    auto seen = pointer_messages(windows().take());
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].window, above);

    enable_window(above, false);
    windows().take();
    press({ 150, 150 });
    run_pending();
    EXPECT_TRUE(pointer_messages(windows().take()).empty());
    press({ 50, 400 });
    run_pending();
    seen = pointer_messages(windows().take());
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].window, below);
}

TEST_F(Input, DoubleClicksOnlyForClassesThatAskForThem)
{
    test_support::FakeClock clock(5000);
    WindowHandle plain = windows().create({ 0, 52, 200, 300 }, RED);
    WindowHandle clicks = windows().create(
        { 250, 52, 480, 300 }, RED, WS_POPUP | WS_VISIBLE, {}, u"Clicks", u"Clicks");
    run_pending();
    windows().take();
    auto numbers = [&] {
        run_pending();
        std::vector<std::uint32_t> found;
        for (const Seen& seen : pointer_messages(windows().take()))
            found.push_back(seen.message);
        return found;
    };

    press({ 10, 60 });
    clock.advance(100);
    press({ 11, 61 });
    EXPECT_EQ(numbers(),
        (std::vector<std::uint32_t> {
            WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP }));

    press({ 300, 100 });
    clock.advance(100);
    press({ 303, 104 });
    clock.advance(100);
    press({ 303, 104 }); // a third press starts again
    EXPECT_EQ(numbers(),
        (std::vector<std::uint32_t> { WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP,
            WM_LBUTTONDOWN, WM_LBUTTONUP }));

    clock.advance(1000);
    press({ 300, 100 });
    clock.advance(501);
    press({ 300, 100 }); // too late
    clock.advance(100);
    press({ 310, 100 }); // too far
    clock.advance(100);
    inject_pointer(PointerAction::Down, PointerButton::Right, { 310, 100 }); // another button
    inject_pointer(PointerAction::Up, PointerButton::Right, { 310, 100 });
    EXPECT_EQ(numbers(),
        (std::vector<std::uint32_t> { WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP,
            WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP }));
    (void)plain;
    (void)clicks;
}

TEST_F(Input, KeysGoToTheFocusWindowWithAltMakingThemSystemKeys)
{
    WindowHandle window = windows().create({ 0, 52, 480, 588 }, RED);
    WindowHandle child = windows().create({ 0, 0, 50, 20 }, RED, WS_CHILD | WS_VISIBLE, window);
    run_pending();
    windows().take();

    inject_key(VK_LEFT, true);
    inject_key(VK_LEFT, false);
    set_focus(child);
    inject_key(VK_MENU, true);
    EXPECT_TRUE(is_key_down(VK_MENU));
    inject_key('X', true);
    inject_key('X', false);
    inject_key(VK_MENU, false);
    EXPECT_FALSE(is_key_down(VK_MENU));
    run_pending();

    std::vector<std::tuple<WindowHandle, std::uint32_t, Wparam>> keys;
    for (const Seen& seen : windows().take()) {
        if (seen.message >= WM_KEYDOWN && seen.message <= WM_SYSKEYUP)
            keys.emplace_back(seen.window, seen.message, seen.wparam);
    }
    EXPECT_EQ(keys,
        (decltype(keys) { { window, WM_KEYDOWN, VK_LEFT }, { window, WM_KEYUP, VK_LEFT },
            { child, WM_SYSKEYDOWN, VK_MENU }, { child, WM_SYSKEYDOWN, 'X' },
            { child, WM_SYSKEYUP, 'X' }, { child, WM_SYSKEYUP, VK_MENU } }));
}

TEST_F(Input, TextBecomesCharactersOrAComposition)
{
    WindowHandle window = windows().create({ 0, 52, 480, 588 }, RED);
    run_pending();
    windows().take();
    inject_text(u"é");
    run_pending();
    auto chars = windows().take_of(WM_CHAR);
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].window, window);
    EXPECT_EQ(chars[0].wparam, Wparam(u'é'));

    inject_text(u"日本");
    run_pending();
    auto compositions = windows().take_of(WM_IME_COMPOSITION);
    ASSERT_EQ(compositions.size(), 1u);
    EXPECT_EQ(compositions[0].lparam, GCS_RESULTSTR);
    EXPECT_EQ(composition_result(), u"日本");
}

class TapAndHold : public ScreenTest {
protected:
    void SetUp() override
    {
        window_ = windows().create({ 0, 52, 480, 588 }, RED);
        run_pending();
        windows().on(window_, [this](const Seen& seen) {
            if (seen.message == WM_LBUTTONDOWN) {
                Point origin { 0, 52 };
                results_.push_back(recognize_tap_and_hold(window_,
                    { origin.x + low_word(seen.lparam), origin.y + high_word(seen.lparam) }));
            }
        });
        windows().take();
    }

    std::vector<std::uint32_t> buttons()
    {
        std::vector<std::uint32_t> found;
        for (const Seen& seen : pointer_messages(windows().take())) {
            if (seen.message != WM_MOUSEMOVE)
                found.push_back(seen.message);
        }
        return found;
    }

    WindowHandle window_;
    std::vector<bool> results_;
};

TEST_F(TapAndHold, AHeldPressIsRecognisedAndItsReleaseConsumed)
{
    inject_pointer(PointerAction::Down, PointerButton::Left, { 100, 200 });
    inject_pointer(PointerAction::Move, PointerButton::None, { 102, 201 }); // a tremble
    run_pending();
    EXPECT_EQ(results_, std::vector<bool> { true });
    inject_pointer(PointerAction::Up, PointerButton::Left, { 102, 201 });
    run_pending();
    EXPECT_EQ(buttons(), std::vector<std::uint32_t> { WM_LBUTTONDOWN });
}

TEST_F(TapAndHold, TheReleaseDoesNotChooseFromAMenuTheHoldOpenedUnderTheFinger)
{
    MenuHandle menu = create_popup_menu();
    MenuItem entry;
    entry.id = 7;
    entry.text = u"Copy";
    append_menu_item(menu, entry);
    inject_pointer(PointerAction::Down, PointerButton::Left, { 100, 200 });
    run_pending();
    ASSERT_EQ(results_, std::vector<bool> { true });
    // Opened a little above and left of the finger, so that it lies on the item.
    ASSERT_TRUE(track_popup_menu(menu, window_, { 90, 190 }));
    inject_pointer(PointerAction::Up, PointerButton::Left, { 100, 200 });
    run_pending();
    EXPECT_TRUE(is_popup_menu_open());
    EXPECT_TRUE(windows().take_of(WM_COMMAND).empty());
    close_popup_menus();
    destroy_menu(menu);
}

TEST_F(TapAndHold, AnEarlyReleaseOrAMoveIsNoHold)
{
    press({ 100, 200 });
    run_pending();
    inject_pointer(PointerAction::Down, PointerButton::Left, { 100, 200 });
    inject_pointer(PointerAction::Move, PointerButton::None, { 120, 200 });
    inject_pointer(PointerAction::Up, PointerButton::Left, { 120, 200 });
    run_pending();
    EXPECT_EQ(results_, (std::vector<bool> { false, false }));
    EXPECT_EQ(buttons(),
        (std::vector<std::uint32_t> {
            WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP }));
}
