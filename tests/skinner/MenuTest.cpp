// Forms' menus in the shell's menu bar on each device. The device is read
// once per process, so this file is built three times: RINGWISE_TEST_DEVICE
// 0 is a Pocket PC with soft keys, 1 a Pocket PC with a command bar, 2 a
// Smartphone.
#include "platform/MenuBar.h"
#include "platform/graphics/PngWriter.h"
#include "platform/screen/DeviceScreen.h"
#include "skinner/Capabilities.h"
#include "skinner/ControlButton.h"
#include "skinner/ControlEdit.h"
#include "skinner/ControlMenuMain.h"
#include "skinner/MenuMainButton.h"
#include "skinner/MenuMainSubMenu.h"
#include "skinner/VBCollection.h"

#include "tests/skinner/ControlFixture.h"

#include <filesystem>

using namespace control_test;
using skinner::ControlMenuMain;
using skinner::MenuMainButton;
using skinner::MenuMainSubMenu;

namespace {

const bool device_chosen = [] {
    ::setenv("RINGWISE_PLATFORM", RINGWISE_TEST_DEVICE == 2 ? "Smartphone" : "PocketPC", 1);
    ::setenv("RINGWISE_OS_MAJOR", RINGWISE_TEST_DEVICE == 1 ? "4" : "5", 1);
    return true;
}();

constexpr bool SOFT_KEYS = RINGWISE_TEST_DEVICE != 1;
constexpr bool SMARTPHONE = RINGWISE_TEST_DEVICE == 2;
constexpr const char* DEVICE_NAMES[] = { "softkeys", "commandbar", "smartphone" };

void press(int virtual_key)
{
    platform::inject_key(virtual_key, true);
    platform::inject_key(virtual_key, false);
}

std::vector<platform::MenuBarButton> bar(const skinner::Form& form)
{
    return platform::menu_bar_buttons(form.window());
}

// Presses the bar button that shows `text`, as a user does.
void press_button(const skinner::Form& form, const std::u16string& text)
{
    for (const auto& button : bar(form)) {
        if (button.text == text) {
            ASSERT_TRUE(platform::press_menu_bar_button(form.window(), button.id));
            return;
        }
    }
    ADD_FAILURE() << "no bar button " << platform::to_utf8(text);
}

std::string shot_path(const std::string& name)
{
    std::string folder = RINGWISE_BINARY_DIR "/screenshots";
    std::filesystem::create_directories(folder);
    return folder + "/" + name + "-" + DEVICE_NAMES[RINGWISE_TEST_DEVICE] + ".png";
}

// A form that rebuilds its settings menu each time a popup opens, as the
// settings form does: a check mark on the current language, a separator,
// a sub-menu, a disabled entry. On a command bar the entries lie under a
// "Tools" drop-down button.
class SettingsMenu : public Recorder {
public:
    explicit SettingsMenu(skinner::Form& form)
        : menu(form, u"menuMain")
    {
        if (!SOFT_KEYS)
            tools = std::make_unique<MenuMainSubMenu>(menu, u"Tools", u"Tools");
        rebuild();
    }
    ~SettingsMenu() override
    {
        entries.clear();
        tools.reset();
    }
    void on_menu_opening(skinner::Control&) override
    {
        ++openings;
        rebuild();
    }
    void on_command(const std::u16string& text) override
    {
        if (text == u"#open-tools#")
            press_button(*menu.form(), u"Tools");
        else
            Recorder::on_command(text);
    }

    ControlMenuMain menu;
    std::unique_ptr<MenuMainSubMenu> tools;
    std::vector<std::unique_ptr<MenuMainButton>> entries;
    int openings { 0 };

private:
    template<typename T> std::unique_ptr<T> top(const char16_t* id, const char16_t* text)
    {
        if (tools)
            return std::make_unique<T>(*tools, id, text);
        return std::make_unique<T>(menu, id, text);
    }
    void rebuild()
    {
        entries.clear();
        auto record = top<MenuMainButton>(u"Record", u"&Record");
        record->set_separator_after(true);
        auto languages = top<MenuMainSubMenu>(u"Languages", u"Language");
        auto english
            = std::make_unique<MenuMainButton>(*languages, u"Language_English", u"English");
        english->set_checked(true);
        auto german = std::make_unique<MenuMainButton>(*languages, u"Language_German", u"Deutsch");
        auto exit = top<MenuMainButton>(u"Exit", u"Exit");
        exit->set_enabled(false);
        // Entries of a sub-menu go before it.
        entries.push_back(std::move(english));
        entries.push_back(std::move(german));
        entries.push_back(std::move(languages));
        entries.push_back(std::move(record));
        entries.push_back(std::move(exit));
    }
};

class MenuTest : public ControlFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(device_chosen);
        ControlFixture::SetUp();
    }
    std::unique_ptr<skinner::Skin> skin(std::vector<skinc::Node> controls = {})
    {
        return load_skin({ form_node(u"Form", std::move(controls), 480, 532) });
    }
    static bool has(const Recorder& recorder, const std::string& event)
    {
        return std::find(recorder.events.begin(), recorder.events.end(), event)
            != recorder.events.end();
    }
};

} // namespace

TEST_F(MenuTest, TheDeviceIsTheOneThisProgramWasBuiltFor)
{
    EXPECT_EQ(skinner::is_smartphone(), SMARTPHONE);
    EXPECT_EQ(skinner::has_soft_key_menus(), SOFT_KEYS);
}

TEST_F(MenuTest, ChoosingAnEntryGivesTheFormItsIdAndHiddenEntriesAreNotShown)
{
    auto loaded = skin();
    Recorder recorder;
    StepForm form(*loaded, u"Form", &recorder);
    ControlMenuMain menu(form, u"menuMain");
    MenuMainButton cancel(menu, u"Cancel", u"Cancel", u"#smartphone_ok#");
    MenuMainButton correct(menu, u"Correct", u"Correct", u"#smartphone_ok#");
    MenuMainButton wrong(menu, u"Wrong", u"Wrong", u"#smartphone_menu#");
    correct.set_visible(false);
    wrong.set_visible(false);
    EXPECT_FALSE(menu.is_focusable());
    EXPECT_EQ(form.menu_main(), &menu);
    form.run({
        [&] {
            auto buttons = bar(form);
            if (SOFT_KEYS) {
                ASSERT_EQ(buttons.size(), 2u);
                EXPECT_EQ(buttons[0].text, u"Cancel");
            } else {
                ASSERT_EQ(buttons.size(), 1u);
                EXPECT_EQ(buttons[0].text, u"Cancel");
            }
            if (SOFT_KEYS)
                press(platform::VK_TSOFT1);
            else
                press_button(form, u"Cancel");
        },
        [&] {
            EXPECT_TRUE(has(recorder, "command Cancel"));
            cancel.set_visible(false);
            correct.set_visible(true);
            wrong.set_visible(true);
        },
        [&] {
            auto buttons = bar(form);
            if (SOFT_KEYS) {
                EXPECT_EQ(buttons[0].text, u"Correct");
                EXPECT_EQ(buttons[1].text, u"Wrong");
                press(platform::VK_TSOFT2);
            } else {
                ASSERT_EQ(buttons.size(), 2u);
                EXPECT_EQ(buttons[0].text, u"Correct");
                press_button(form, u"Wrong");
            }
        },
        [&] { EXPECT_TRUE(has(recorder, "command Wrong")); },
    });
    EXPECT_EQ(std::count(recorder.events.begin(), recorder.events.end(), "command Cancel"), 1);
}

TEST_F(MenuTest, CommandIdsBelowTheItemTableDoNothing)
{
    auto loaded = skin();
    Recorder recorder;
    StepForm form(*loaded, u"Form", &recorder);
    ControlMenuMain menu(form, u"menuMain");
    MenuMainButton call(menu, u"Call", u"Call", u"#smartphone_ok#");
    form.run({
        [&] {
            for (platform::Wparam id : { 0, 1, 99 })
                platform::send_message(form.window(), platform::WM_COMMAND, id, 0);
            EXPECT_TRUE(recorder.events.empty());
            platform::send_message(form.window(), platform::WM_COMMAND, 100, 0);
            EXPECT_TRUE(has(recorder, "command Call"));
        },
    });
}

TEST_F(MenuTest, AnEntryWhoseIdIsAButtonsPressesThatButton)
{
    skinc::Node record = control_node(u"btnRecord", 10, 10, 80, 30);
    auto loaded = skin({ record });
    Recorder recorder;
    StepForm form(*loaded, u"Form", &recorder);
    skinner::ControlButton button(form, u"btnRecord");
    ControlMenuMain menu(form, u"menuMain");
    MenuMainButton entry(menu, u"btnRecord", u"Record", u"#smartphone_ok#");
    form.run({ [&] {
                  if (SOFT_KEYS)
                      press(platform::VK_TSOFT1);
                  else
                      press_button(form, u"Record");
              },
        [] {} });
    EXPECT_TRUE(has(recorder, "control btnRecord"));
}

TEST_F(MenuTest, TheFormRebuildsItsEntriesRightBeforeAPopupOpens)
{
    auto loaded = skin();
    StepForm form(*loaded, u"Form");
    SettingsMenu settings(form);
    form.set_listener(&settings);
    std::string bar_shot = shot_path("menu-bar");
    std::string popup_shot = shot_path("menu-popup");
    // Record, the separator, Language: its sub-menu opens on English; then
    // Deutsch.
    std::string path = script("popup.txt",
        "screenshot " + bar_shot + "\n" + (SOFT_KEYS ? "key SoftRight\n" : "command #open-tools#\n")
            + "key Down\nkey Down\nkey Right\nkey Down\nscreenshot " + popup_shot
            + "\nkey Return\ncommand #close#\n");
    ASSERT_TRUE(platform::play_script(path));
    form.do_modal();
    EXPECT_EQ(settings.openings, 1);
    EXPECT_TRUE(has(settings, "command Language_German"));
    EXPECT_FALSE(has(settings, "command Exit"));
    EXPECT_TRUE(std::filesystem::exists(popup_shot));
    EXPECT_TRUE(std::filesystem::exists(bar_shot));
}

TEST_F(MenuTest, PointingOpensTheSubMenuAndATapChooses)
{
    auto loaded = skin();
    StepForm form(*loaded, u"Form");
    SettingsMenu settings(form);
    form.set_listener(&settings);
    form.run({ [&] {
                  if (SOFT_KEYS)
                      press(platform::VK_TSOFT2);
                  else
                      press_button(form, u"Tools");
                  ASSERT_TRUE(platform::is_popup_menu_open());
                  // The popup's items are ever as high as on the screen's other
                  // popups; the sub-menu opens when the pointer rests on its item.
                  auto* shown = platform::detail::DeviceScreen::instance().popup();
                  ASSERT_NE(shown, nullptr);
                  platform::Rect language = shown->item_rect(0, 2);
                  platform::inject_pointer(platform::PointerAction::Move,
                      platform::PointerButton::None, { language.left + 10, language.top + 5 });
                  ASSERT_EQ(shown->depth(), 2);
                  platform::Rect german = shown->item_rect(1, 1);
                  platform::Point at { german.left + 10, german.top + 5 };
                  platform::inject_pointer(
                      platform::PointerAction::Down, platform::PointerButton::Left, at);
                  platform::inject_pointer(
                      platform::PointerAction::Up, platform::PointerButton::Left, at);
              },
        [] {} });
    EXPECT_TRUE(has(settings, "command Language_German"));
}

TEST_F(MenuTest, ASixthFormOfOneVariantEndsTheProcessWithThePoolAssertion)
{
    auto loaded = skin();
    std::vector<std::unique_ptr<skinner::Form>> forms;
    for (int i = 0; i < 5; ++i)
        forms.push_back(std::make_unique<StepForm>(*loaded, u"Form"));
    forms.clear();
    // Closed forms gave their templates back: five more fit.
    for (int i = 0; i < 5; ++i)
        forms.push_back(std::make_unique<StepForm>(*loaded, u"Form"));
    EXPECT_EXIT(StepForm(*loaded, u"Form"), testing::ExitedWithCode(70),
        "Add more tolbar ids to the resource file! :\\)");
}

TEST(VBCollection, ReadingOutsideIsTheAssertion)
{
    skinner::VBCollection items;
    skinner::MenuManager::Item item;
    items.add(&item);
    EXPECT_EQ(items[0], &item);
    EXPECT_EXIT(items[1], testing::ExitedWithCode(70), "pos is invalid");
    EXPECT_EXIT(items[-1], testing::ExitedWithCode(70), "pos is invalid");
}

#if RINGWISE_TEST_DEVICE != 1
TEST_F(MenuTest, WithoutAnOkEntryTheLeftKeyShowsItsTranslationOrAction)
{
    auto loaded = skin();
    {
        StepForm form(*loaded, u"Form");
        ControlMenuMain menu(form, u"menuMain");
        MenuMainButton first(menu, u"One", u"One");
        MenuMainButton second(menu, u"Two", u"Two");
        form.run({ [&] {
            auto buttons = bar(form);
            ASSERT_EQ(buttons.size(), 2u);
            EXPECT_EQ(buttons[0].text, u"Action");
            EXPECT_FALSE(buttons[0].drop_down);
            EXPECT_EQ(buttons[1].text, u"Menu");
            EXPECT_TRUE(buttons[1].drop_down) << "two entries open a popup";
        } });
    }
    std::ofstream(temp.native("keys.lng")) << "menuSoftButtonOk Choose\nmenuSoftButtonMenu More\n";
    ASSERT_TRUE(loaded->set_language(platform::from_utf8(temp.native("keys.lng"))));
    StepForm form(*loaded, u"Form");
    ControlMenuMain menu(form, u"menuMain");
    form.run({ [&] {
        auto buttons = bar(form);
        ASSERT_EQ(buttons.size(), 2u);
        EXPECT_EQ(buttons[0].text, u"Choose");
        EXPECT_EQ(buttons[1].text, u"More");
        EXPECT_FALSE(buttons[1].drop_down) << "no entries, no popup";
    } });
}

TEST_F(MenuTest, SeveralOkEntriesMakeTheLeftKeyAPopupOfThem)
{
    auto loaded = skin();
    Recorder recorder;
    StepForm form(*loaded, u"Form", &recorder);
    ControlMenuMain menu(form, u"menuMain");
    MenuMainButton call(menu, u"Call", u"Call", u"#smartphone_ok#");
    MenuMainButton send(menu, u"Send", u"Send", u"#smartphone_ok#");
    send.set_order(-1);
    form.run({
        [&] {
            EXPECT_EQ(bar(form)[0].text, u"Action");
            EXPECT_TRUE(bar(form)[0].drop_down);
            press(platform::VK_TSOFT1);
            EXPECT_TRUE(platform::is_popup_menu_open());
            press(platform::VK_DOWN);
            press(platform::VK_RETURN);
        },
        [] {},
    });
    EXPECT_TRUE(has(recorder, "command Send")) << "ordered first";
}

// A form whose whole menu is one sub-menu on the right key, as the settings
// form's: the key opens that sub-menu under the sub-menu's own text, and the
// keys alone reach an entry of a nested sub-menu.
TEST_F(MenuTest, ALoneSubMenuOnAKeyIsThatKeysPopup)
{
    auto loaded = skin();
    Recorder recorder;
    StepForm form(*loaded, u"Form", &recorder);
    ControlMenuMain menu(form, u"menuMain");
    MenuMainSubMenu main(menu, u"Main", u"Options", u"#smartphone_menu#");
    MenuMainButton refresh(main, u"Refresh", u"Refresh");
    MenuMainSubMenu settings(main, u"Settings", u"Settings");
    MenuMainButton sound(settings, u"Play_sound", u"Sound");
    MenuMainButton precise(settings, u"Precise", u"Precise");
    refresh.set_order(0);
    settings.set_order(1);
    sound.set_order(2);
    precise.set_order(3);
    form.run({
        [&] {
            auto buttons = bar(form);
            ASSERT_EQ(buttons.size(), 2u);
            EXPECT_EQ(buttons[1].text, u"Options");
            EXPECT_TRUE(buttons[1].drop_down);
            press(platform::VK_TSOFT2);
            ASSERT_TRUE(platform::is_popup_menu_open());
            press(platform::VK_DOWN);
            press(platform::VK_DOWN);
            press(platform::VK_RIGHT);
        },
        [&] {
            auto* shown = platform::detail::DeviceScreen::instance().popup();
            ASSERT_NE(shown, nullptr);
            ASSERT_EQ(shown->depth(), 2);
            EXPECT_EQ(shown->selected(1), 0) << "a sub-menu opened by key selects its first entry";
            press(platform::VK_DOWN);
            press(platform::VK_RETURN);
        },
        [] {},
    });
    EXPECT_TRUE(has(recorder, "command Precise"));
    EXPECT_FALSE(has(recorder, "command Main"));
}

TEST_F(MenuTest, ASkinnedYesButtonIsTheLeftSoftKey)
{
    skinc::Node yes = control_node(u"btnYes", 10, 10, 80, 30);
    add_string(yes, u"Action", u"BUTTON_YES");
    add_string(yes, u"Text", u"Yes");
    auto loaded = skin({ yes });
    Recorder recorder;
    StepForm form(*loaded, u"Form", &recorder);
    skinner::ControlButton button(form, u"btnYes");
    form.run({ [&] {
                  EXPECT_EQ(bar(form)[0].text, u"Yes");
                  button.set_text(u"Sure");
              },
        [&] {
            EXPECT_EQ(bar(form)[0].text, u"Sure");
            button.set_enabled(false);
        },
        [&] {
            if (!SMARTPHONE) {
                EXPECT_FALSE(bar(form)[0].enabled);
            }
            button.set_enabled(true);
        },
        [&] { press(platform::VK_TSOFT1); }, [] {} });
    EXPECT_TRUE(has(recorder, "control btnYes"));
}
#endif

#if RINGWISE_TEST_DEVICE == 2
TEST_F(MenuTest, BackInAnEditDeletesACharacterAndStays)
{
    skinc::Node edit = control_node(u"name", 20, 20, 200, 30);
    add_picture(edit, u"Normal", solid(WHITE));
    add_color(edit, u"Normal", BLACK);
    auto loaded = skin({ edit });
    StepForm form(*loaded, u"Form");
    skinner::ControlEdit field(form, u"name");
    int gone_back = platform::navigate_back_count();
    std::string path
        = script("back.txt", "tap-control name\ntext Anna\nkey Back\ncommand #close#\n");
    ASSERT_TRUE(platform::play_script(path));
    form.do_modal();
    EXPECT_EQ(field.text(), u"Ann");
    EXPECT_EQ(platform::navigate_back_count(), gone_back);
}

TEST_F(MenuTest, BackOutsideAnEditGoesBackToThePreviousApplication)
{
    auto loaded = skin();
    StepForm form(*loaded, u"Form");
    int gone_back = platform::navigate_back_count();
    form.run({ [&] { press(platform::VK_TBACK); }, [] {} });
    EXPECT_EQ(platform::navigate_back_count(), gone_back + 1);
    EXPECT_TRUE(logged(u"want_to_go_back = true\n"));
    EXPECT_TRUE(logged(u"SHSendBackToFocusWindow\n"));
}
#endif

#if RINGWISE_TEST_DEVICE == 1
TEST_F(MenuTest, CommandBarButtonsShowImagesAndTextsWithoutAmpersands)
{
    auto loaded = skin();
    StepForm form(*loaded, u"Form");
    ControlMenuMain menu(form, u"menuMain");
    MenuMainButton record(menu, u"Record", u"&Record");
    record.set_image_index(1);
    record.set_separator_after(true);
    MenuMainButton odd(menu, u"Odd", u"O&dd");
    odd.set_image_index(99);
    MenuMainSubMenu tools(menu, u"Tools", u"&Tools");
    MenuMainButton help(tools, u"Help", u"Help");
    // Every image of the strip, the last one disabled.
    std::vector<std::unique_ptr<MenuMainButton>> images;
    for (int index = 0; index < 7; ++index) {
        images.push_back(std::make_unique<MenuMainButton>(
            menu, u"Image" + platform::from_utf8(std::to_string(index)), u"image"));
        images.back()->set_image_index(index);
        images.back()->set_order(1);
    }
    images.back()->set_enabled(false);
    form.run({ [&] {
        auto buttons = bar(form);
        ASSERT_EQ(buttons.size(), 11u);
        EXPECT_TRUE(platform::write_png(platform::capture_screen(), shot_path("menu-images")));
        EXPECT_EQ(buttons[0].image, 1);
        EXPECT_EQ(buttons[0].text, u"Record");
        EXPECT_TRUE(buttons[1].separator);
        EXPECT_EQ(buttons[2].image, -1);
        EXPECT_EQ(buttons[2].text, u"Odd");
        EXPECT_TRUE(buttons[3].drop_down);
        EXPECT_EQ(buttons[3].text, u"Tools");
    } });
    EXPECT_TRUE(logged(u"MenuManagerImplPocket::build() loading bitmaps\n"));
    EXPECT_TRUE(logged(u"Using bitmap with wince_bug_resource_id=1\n"));
    EXPECT_TRUE(logged(u"ERROR: invalid toolbar image requested. wince_bug_resource_id=99\n"));
    EXPECT_TRUE(logged(u"wince_bug_resource_id=1 text=Record id=100\n"));
}
#endif

#if RINGWISE_TEST_DEVICE == 1
TEST_F(MenuTest, AnOkButtonIsTheTitleBarsOkButton)
{
    skinc::Node ok = control_node(u"btnOk", 10, 10, 80, 30);
    add_string(ok, u"Action", u"BUTTON_OK");
    auto loaded = skin({ ok });
    Recorder recorder;
    StepForm form(*loaded, u"Form", &recorder);
    {
        skinner::ControlButton button(form, u"btnOk");
        EXPECT_TRUE(platform::has_title_ok_button(form.window()));
        // The top bar's button: its right end, 52 pixels square.
        form.run({ [&] { tap(form, 480 - 26, 26 - 52); }, [] {} });
        EXPECT_TRUE(has(recorder, "control btnOk"));
    }
    EXPECT_FALSE(platform::has_title_ok_button(form.window()));
}
#endif
