#include "platform/PopupMenu.h"
#include "platform/screen/DeviceScreen.h"
#include "tests/platform/screen/ScreenTestSupport.h"

using namespace platform;
using test_support::run_pending;
using test_support::ScreenTest;

namespace {

MenuItem item(int id, const std::u16string& text, bool enabled = true, bool checked = false)
{
    MenuItem entry;
    entry.id = id;
    entry.text = text;
    entry.enabled = enabled;
    entry.checked = checked;
    return entry;
}

MenuItem separator()
{
    MenuItem entry;
    entry.separator = true;
    return entry;
}

MenuItem sub_menu(const std::u16string& text, MenuHandle menu)
{
    MenuItem entry;
    entry.text = text;
    entry.sub_menu = menu;
    return entry;
}

void press(int virtual_key)
{
    inject_key(virtual_key, true);
    inject_key(virtual_key, false);
}

void tap(Point point)
{
    inject_pointer(PointerAction::Move, PointerButton::None, point);
    inject_pointer(PointerAction::Down, PointerButton::Left, point);
    inject_pointer(PointerAction::Up, PointerButton::Left, point);
}

Point centre(Rect rect)
{
    return { (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 };
}

} // namespace

class PopupMenus : public ScreenTest {
protected:
    void SetUp() override
    {
        owner_ = windows().create({ 0, 52, 480, 588 }, make_color(200, 200, 200));
        run_pending();
        windows().take();
    }
    void TearDown() override
    {
        close_popup_menus();
        for (MenuHandle menu : menus_)
            destroy_menu(menu);
        ScreenTest::TearDown();
    }
    MenuHandle menu(std::vector<MenuItem> items)
    {
        MenuHandle handle = create_popup_menu();
        for (const MenuItem& entry : items)
            append_menu_item(handle, entry);
        menus_.push_back(handle);
        return handle;
    }
    const detail::ScreenPopupMenu& popup()
    {
        const detail::ScreenPopupMenu* open = detail::DeviceScreen::instance().popup();
        EXPECT_NE(open, nullptr);
        static const detail::ScreenPopupMenu none({}, { 1, 1 }, 26);
        return open ? *open : none;
    }
    // The ids of the WM_COMMANDs the owner got.
    std::vector<Wparam> commands()
    {
        run_pending();
        std::vector<Wparam> ids;
        for (const auto& seen : windows().take_of(WM_COMMAND))
            ids.push_back(seen.wparam);
        return ids;
    }

    WindowHandle owner_;
    std::vector<MenuHandle> menus_;
};

TEST_F(PopupMenus, KeysSkipSeparatorsAndDisabledItemsAndReturnChooses)
{
    MenuHandle handle
        = menu({ item(1, u"Record"), separator(), item(2, u"Play", false), item(3, u"Delete") });
    ASSERT_TRUE(track_popup_menu(handle, owner_, { 20, 100 }));
    EXPECT_EQ(popup().selected(0), -1);
    press(VK_DOWN);
    EXPECT_EQ(popup().selected(0), 0);
    press(VK_DOWN);
    EXPECT_EQ(popup().selected(0), 3);
    press(VK_DOWN); // wraps
    EXPECT_EQ(popup().selected(0), 0);
    press(VK_UP);
    EXPECT_EQ(popup().selected(0), 3);
    press(VK_RETURN);
    EXPECT_FALSE(is_popup_menu_open());
    EXPECT_EQ(commands(), std::vector<Wparam> { 3 });
}

TEST_F(PopupMenus, TheOwnerFillsTheMenuRightBeforeItOpens)
{
    MenuHandle handle = menu({});
    int fills = 0;
    windows().on(owner_, [&](const test_support::Seen& seen) {
        if (seen.message != WM_INITMENUPOPUP)
            return;
        EXPECT_EQ(seen.wparam, handle.value);
        EXPECT_EQ(seen.lparam, POPUP_FROM_CONTEXT);
        clear_menu(handle);
        append_menu_item(handle, item(7, u"Fill " + std::u16string(1, u'0' + ++fills)));
    });
    ASSERT_TRUE(track_popup_menu(handle, owner_, { 20, 100 }));
    close_popup_menus();
    ASSERT_TRUE(track_popup_menu(handle, owner_, { 20, 100 }));
    EXPECT_EQ(fills, 2);
    EXPECT_EQ(menu_items(handle).size(), 1u);
    EXPECT_EQ(menu_items(handle)[0].text, u"Fill 2");

    windows().on(owner_, [](const test_support::Seen&) {});
    close_popup_menus();
    EXPECT_FALSE(track_popup_menu(menu({}), owner_, { 20, 100 })) << "nothing to show";
    EXPECT_FALSE(is_popup_menu_open());
}

TEST_F(PopupMenus, RightOpensASubMenuLeftAndEscapeCloseOneLevel)
{
    MenuHandle skins = create_popup_menu();
    append_menu_item(skins, item(10, u"Green", true, true));
    append_menu_item(skins, item(11, u"Blue"));
    MenuHandle handle = menu({ item(1, u"Record"), sub_menu(u"Skin", skins) });
    ASSERT_TRUE(track_popup_menu(handle, owner_, { 20, 100 }));
    windows().take();
    press(VK_DOWN);
    press(VK_DOWN);
    press(VK_RIGHT);
    EXPECT_EQ(popup().depth(), 2);
    EXPECT_EQ(popup().selected(1), 0) << "keys select the sub-menu's first item";
    auto inits = windows().take_of(WM_INITMENUPOPUP);
    ASSERT_EQ(inits.size(), 1u);
    EXPECT_EQ(inits[0].wparam, skins.value);
    EXPECT_EQ(inits[0].lparam, POPUP_SUB_MENU);
    press(VK_LEFT);
    EXPECT_EQ(popup().depth(), 1);
    press(VK_RETURN); // Return on a sub-menu's item opens it too
    EXPECT_EQ(popup().depth(), 2);
    press(VK_ESCAPE);
    EXPECT_EQ(popup().depth(), 1);
    press(VK_ESCAPE);
    EXPECT_FALSE(is_popup_menu_open());
    EXPECT_TRUE(commands().empty());
}

TEST_F(PopupMenus, PointingOpensASubMenuAndATapChoosesFromIt)
{
    MenuHandle skins = create_popup_menu();
    append_menu_item(skins, item(10, u"Green"));
    append_menu_item(skins, item(11, u"Blue"));
    MenuHandle handle = menu({ item(1, u"Record"), sub_menu(u"Skin", skins) });
    ASSERT_TRUE(track_popup_menu(handle, owner_, { 20, 100 }));
    Rect skin = popup().item_rect(0, 1);
    inject_pointer(PointerAction::Move, PointerButton::None, centre(skin));
    ASSERT_EQ(popup().depth(), 2);
    Rect blue = popup().item_rect(1, 1);
    EXPECT_GE(blue.left, skin.right - 2) << "the sub-menu opens beside its item";
    tap(centre(blue));
    EXPECT_FALSE(is_popup_menu_open());
    EXPECT_EQ(commands(), std::vector<Wparam> { 11 });
}

TEST_F(PopupMenus, ATapOutsideClosesWithoutReachingTheWindowBelow)
{
    MenuHandle handle = menu({ item(1, u"Record") });
    ASSERT_TRUE(track_popup_menu(handle, owner_, { 20, 100 }));
    tap({ 400, 500 });
    EXPECT_FALSE(is_popup_menu_open());
    run_pending();
    EXPECT_TRUE(windows().take_of(WM_LBUTTONDOWN).empty());
    EXPECT_TRUE(windows().take_of(WM_LBUTTONUP).empty());
}

TEST_F(PopupMenus, DisabledItemsAreNotChosen)
{
    MenuHandle handle = menu({ item(1, u"Record", false), item(2, u"Play") });
    ASSERT_TRUE(track_popup_menu(handle, owner_, { 20, 100 }));
    tap(centre(popup().item_rect(0, 0)));
    EXPECT_TRUE(is_popup_menu_open());
    EXPECT_TRUE(commands().empty());
}

TEST_F(PopupMenus, DestroyingAMenuDestroysItsSubMenusAndClosesItsPopup)
{
    MenuHandle skins = create_popup_menu();
    append_menu_item(skins, item(10, u"Green"));
    MenuHandle handle = create_popup_menu();
    append_menu_item(handle, sub_menu(u"Skin", skins));
    ASSERT_TRUE(track_popup_menu(handle, owner_, { 20, 100 }));
    EXPECT_TRUE(destroy_menu(handle));
    EXPECT_FALSE(is_menu(skins));
    EXPECT_FALSE(is_popup_menu_open());
}

TEST_F(PopupMenus, StaysInsideTheScreenAboveABottomAnchor)
{
    MenuHandle handle = menu({ item(1, u"Record"), item(2, u"Play"), item(3, u"Delete") });
    ASSERT_TRUE(track_popup_menu(handle, owner_, { 470, 588 }, PopupAnchor::BottomRight));
    Rect last = popup().item_rect(0, 2);
    EXPECT_LE(last.bottom, 588);
    EXPECT_LE(last.right, 480);
    EXPECT_GT(last.left, 0);
}
