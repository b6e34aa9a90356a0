#include "platform/MenuBar.h"
#include "platform/screen/DeviceScreen.h"
#include "tests/platform/screen/ScreenTestSupport.h"

using namespace platform;
using test_support::run_pending;
using test_support::ScreenTest;

namespace {

void tap(Point point)
{
    inject_pointer(PointerAction::Move, PointerButton::None, point);
    inject_pointer(PointerAction::Down, PointerButton::Left, point);
    inject_pointer(PointerAction::Up, PointerButton::Left, point);
}

MenuBarButton key(int id, const std::u16string& text, bool drop_down = false)
{
    MenuBarButton button;
    button.id = id;
    button.text = text;
    button.drop_down = drop_down;
    return button;
}

// The default screen is 480 x 640 with bars of 52: the bottom bar is
// 588 to 640.
constexpr int BAR_Y = 614;

} // namespace

class MenuBars : public ScreenTest {
protected:
    void SetUp() override
    {
        window_ = windows().create({ 0, 52, 480, 588 }, make_color(200, 200, 200));
        run_pending();
        windows().take();
    }
    void TearDown() override
    {
        unsetenv("RINGWISE_PLATFORM");
        ScreenTest::TearDown();
    }
    std::vector<Wparam> commands()
    {
        run_pending();
        std::vector<Wparam> ids;
        for (const auto& seen : windows().take_of(WM_COMMAND))
            ids.push_back(seen.wparam);
        return ids;
    }
    WindowHandle window_;
};

TEST_F(MenuBars, OnlyTheProgramsTemplatesMakeABarAndOnlyOnce)
{
    EXPECT_FALSE(create_menu_bar(window_, 116));
    EXPECT_FALSE(create_menu_bar(window_, 122));
    EXPECT_FALSE(create_menu_bar(window_, 1116));
    EXPECT_TRUE(create_menu_bar(window_, 121));
    EXPECT_FALSE(create_menu_bar(window_, 117)) << "a window has one bar";
    EXPECT_TRUE(menu_bar_buttons(window_).empty()) << "a command bar starts empty";
    EXPECT_TRUE(destroy_menu_bar(window_));
    EXPECT_FALSE(has_menu_bar(window_));

    ASSERT_TRUE(create_menu_bar(window_, 1117));
    auto keys = menu_bar_buttons(window_);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].id, SOFT_KEY_LEFT_ID);
    EXPECT_EQ(keys[1].id, SOFT_KEY_RIGHT_ID);
}

TEST_F(MenuBars, ASmartphonesSoftKeysAreItsButtons18201And18200)
{
    setenv("RINGWISE_PLATFORM", "Smartphone", 1);
    ASSERT_TRUE(create_menu_bar(window_, 1118));
    auto keys = menu_bar_buttons(window_);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].id, SMARTPHONE_LEFT_BUTTON_ID);
    EXPECT_EQ(keys[1].id, SMARTPHONE_RIGHT_BUTTON_ID);
}

TEST_F(MenuBars, TappingOrPressingASoftKeySendsItsCommand)
{
    ASSERT_TRUE(create_menu_bar(window_, 1117));
    ASSERT_TRUE(set_menu_bar_button(window_, SOFT_KEY_LEFT_ID, key(100, u"Call")));
    ASSERT_TRUE(set_menu_bar_button(window_, SOFT_KEY_RIGHT_ID, key(101, u"Back")));
    tap({ 60, BAR_Y });
    tap({ 420, BAR_Y });
    EXPECT_EQ(commands(), (std::vector<Wparam> { 100, 101 }));

    inject_key(VK_TSOFT2, true);
    inject_key(VK_TSOFT2, false);
    EXPECT_EQ(commands(), std::vector<Wparam> { 101 });
    run_pending();
    EXPECT_TRUE(windows().take_of(WM_KEYDOWN).empty()) << "the soft key is the bar's";

    MenuBarButton off = key(100, u"Call");
    off.enabled = false;
    set_menu_bar_button(window_, 100, off);
    tap({ 60, BAR_Y });
    EXPECT_TRUE(commands().empty());
}

TEST_F(MenuBars, APressMovedOffItsButtonSendsNothing)
{
    ASSERT_TRUE(create_menu_bar(window_, 1117));
    set_menu_bar_button(window_, SOFT_KEY_LEFT_ID, key(100, u"Call"));
    set_menu_bar_button(window_, SOFT_KEY_RIGHT_ID, key(101, u"Back"));
    inject_pointer(PointerAction::Down, PointerButton::Left, { 60, BAR_Y });
    inject_pointer(PointerAction::Up, PointerButton::Left, { 420, BAR_Y });
    EXPECT_TRUE(commands().empty());
}

TEST_F(MenuBars, ADropDownButtonHasItsPopupFilledByTheOwnerThenShown)
{
    ASSERT_TRUE(create_menu_bar(window_, 1117));
    set_menu_bar_button(window_, SOFT_KEY_RIGHT_ID, key(101, u"Menu", true));
    MenuHandle popup = menu_bar_popup(window_, 101);
    ASSERT_TRUE(popup);
    windows().on(window_, [&](const test_support::Seen& seen) {
        if (seen.message != WM_INITMENUPOPUP)
            return;
        EXPECT_EQ(seen.wparam, popup.value);
        EXPECT_EQ(seen.lparam, 101);
        MenuItem item;
        item.id = 120;
        item.text = u"Settings";
        append_menu_item(popup, item);
    });
    tap({ 420, BAR_Y });
    ASSERT_TRUE(is_popup_menu_open());
    const detail::ScreenPopupMenu* open = detail::DeviceScreen::instance().popup();
    Rect item = open->item_rect(0, 0);
    EXPECT_LE(item.bottom, 588) << "above the bar";
    EXPECT_GE(item.right, 400) << "at the right key's side";
    EXPECT_TRUE(commands().empty());
    tap({ (item.left + item.right) / 2, (item.top + item.bottom) / 2 });
    EXPECT_EQ(commands(), std::vector<Wparam> { 120 });
}

TEST_F(MenuBars, AStripHoldsAsManyImagesAsItsWidthAllows)
{
    ASSERT_TRUE(create_menu_bar(window_, 117));
    auto small = load_toolbar_bitmap(TOOLBAR_STRIP_16);
    auto large = load_toolbar_bitmap(TOOLBAR_STRIP_32);
    ASSERT_TRUE(small && large);
    EXPECT_FALSE(load_toolbar_bitmap(116));
    EXPECT_EQ(small->height(), 16);
    EXPECT_EQ(large->height(), 32);
    EXPECT_EQ(add_menu_bar_bitmap(window_, *small, 16), 7);
    EXPECT_EQ(add_menu_bar_bitmap(window_, *large, 32), 7);
    EXPECT_EQ(add_menu_bar_bitmap(window_, *small, 32), -1) << "images taller than the strip";
}

TEST_F(MenuBars, CommandBarButtonsKeepTheirOrderAndSeparators)
{
    ASSERT_TRUE(create_menu_bar(window_, 117));
    MenuBarButton record = key(100, u"Record");
    record.image = 1;
    MenuBarButton line;
    line.separator = true;
    insert_menu_bar_button(window_, -1, record);
    insert_menu_bar_button(window_, -1, line);
    insert_menu_bar_button(window_, -1, key(102, u"Tools", true));
    insert_menu_bar_button(window_, 0, key(99, u"First"));
    auto buttons = menu_bar_buttons(window_);
    ASSERT_EQ(buttons.size(), 4u);
    EXPECT_EQ(buttons[0].id, 99);
    EXPECT_EQ(buttons[1].id, 100);
    EXPECT_TRUE(buttons[2].separator);
    EXPECT_TRUE(menu_bar_popup(window_, 102));
    EXPECT_FALSE(menu_bar_popup(window_, 100));
    EXPECT_TRUE(delete_menu_bar_buttons(window_));
    EXPECT_TRUE(menu_bar_buttons(window_).empty());
}

TEST_F(MenuBars, TheActiveWindowsBarIsDrawnAndAHiddenBarIsNot)
{
    Bitmap empty = capture_screen();
    ASSERT_TRUE(create_menu_bar(window_, 1117));
    set_menu_bar_button(window_, SOFT_KEY_LEFT_ID, key(100, u"Call"));
    auto differs = [&](const Bitmap& a, const Bitmap& b) {
        for (int y = 588; y < 640; ++y)
            for (int x = 0; x < 240; ++x)
                if (a.pixel(x, y) != b.pixel(x, y))
                    return true;
        return false;
    };
    EXPECT_TRUE(differs(empty, capture_screen()));
    show_menu_bar(window_, false);
    EXPECT_FALSE(differs(empty, capture_screen()));
}

TEST_F(MenuBars, ASmartphonesBackKeyIsTheBarsHotKey)
{
    setenv("RINGWISE_PLATFORM", "Smartphone", 1);
    ASSERT_TRUE(create_menu_bar(window_, 1117));
    inject_key(VK_TBACK, true);
    inject_key(VK_TBACK, false);
    run_pending();
    auto hot = windows().take_of(WM_HOTKEY);
    ASSERT_EQ(hot.size(), 2u);
    EXPECT_EQ(hot[0].wparam, BACK_HOT_KEY_ID);
    EXPECT_EQ(high_word(hot[0].lparam), VK_TBACK);
    EXPECT_EQ(low_word(hot[0].lparam) & MOD_KEYUP, 0);
    EXPECT_NE(low_word(hot[1].lparam) & MOD_KEYUP, 0);

    send_back_to_focus_window(hot[0].lparam);
    run_pending();
    auto keys = windows().take_of(WM_KEYDOWN);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].wparam, static_cast<Wparam>(VK_BACK));

    int before = navigate_back_count();
    navigate_back();
    EXPECT_EQ(navigate_back_count(), before + 1);
}
