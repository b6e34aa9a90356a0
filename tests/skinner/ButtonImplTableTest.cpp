// How a button shows on each device. The device is read once per process,
// so this file is built three times: RINGWISE_TEST_DEVICE 0 is a Pocket PC
// with soft-key menus, 1 a Pocket PC with a command bar, 2 a Smartphone.
#include "skinner/Capabilities.h"
#include "skinner/ControlButton.h"
#include "skinner/ControlCheckBox.h"
#include "skinner/ControlEdit.h"
#include "skinner/MenuManager.h"

#include "platform/screen/EditField.h"
#include "tests/skinner/ControlFixture.h"

#include <cstdlib>

using namespace control_test;
using skinner::ControlButton;
using skinner::ControlEdit;

namespace {

const bool device_chosen = [] {
    ::setenv("RINGWISE_PLATFORM", RINGWISE_TEST_DEVICE == 2 ? "Smartphone" : "PocketPC", 1);
    ::setenv("RINGWISE_OS_MAJOR", RINGWISE_TEST_DEVICE == 1 ? "4" : "5", 1);
    return true;
}();

struct Row {
    const char16_t* action;
    const char* implementation; // nullptr: none
    bool shown;
    bool focusable;
    const char16_t* command;
};

#if RINGWISE_TEST_DEVICE == 2
const Row ROWS[] = {
    { u"NOTHING", "ControlButtonSoftKeySmartphone", false, false, u"" },
    { u"CAPTION", "ControlButtonImplCaption", false, false, u"" },
    { u"BORDER_LEFT", "ControlButtonImplHidden", false, false, u"" },
    { u"CORNER_TOP_RIGHT", "ControlButtonImplHidden", false, false, u"" },
    { u"BUTTON_CLOSE", "ControlButtonCloseSmartphone", false, false, u"" },
    { u"BUTTON_MINIMIZE", "ControlButtonImplHidden", false, false, u"" },
    { u"BUTTON_MAXIMIZE", "ControlButtonImplHidden", false, false, u"" },
    { u"BUTTON_SYSMENU", nullptr, true, true, u"" },
    { u"BUTTON_OK", "ControlButtonSoftKeySmartphone", false, false, u"#smartphone_ok#" },
    { u"BUTTON_YES", "ControlButtonSoftKeySmartphone", false, false, u"#smartphone_ok#" },
    { u"BUTTON_CANCEL", "ControlButtonSoftKeySmartphone", false, false, u"#smartphone_menu#" },
    { u"BUTTON_NO_MENU", "ControlButtonImplPocket", true, true, u"" },
    { u"SOMETHING_ELSE", "ControlButtonSoftKeySmartphone", false, false, u"" },
};
#elif RINGWISE_TEST_DEVICE == 1
const Row ROWS[] = {
    { u"NOTHING", "ControlButtonImplPocket", true, true, u"" },
    { u"CAPTION", "ControlButtonImplCaption", false, false, u"" },
    { u"BORDER_BOTTOM", "ControlButtonImplHidden", false, false, u"" },
    { u"CORNER_BOTTOM_LEFT", "ControlButtonImplHidden", false, false, u"" },
    { u"BUTTON_CLOSE", "ControlButtonImplClosePocket", true, true, u"" },
    { u"BUTTON_MINIMIZE", "ControlButtonImplPocket", true, true, u"" },
    { u"BUTTON_MAXIMIZE", "ControlButtonImplPocket", true, true, u"" },
    { u"BUTTON_SYSMENU", nullptr, true, true, u"" },
    { u"BUTTON_OK", "ControlButtonImplOkPocket", false, false, u"" },
    { u"BUTTON_YES", "ControlButtonImplPocket", true, true, u"" },
    { u"BUTTON_CANCEL", "ControlButtonImplPocket", true, true, u"" },
    { u"BUTTON_NO_MENU", "ControlButtonImplPocket", true, true, u"" },
};
#else
const Row ROWS[] = {
    { u"NOTHING", "ControlButtonImplPocket", true, true, u"" },
    { u"CAPTION", "ControlButtonImplCaption", false, false, u"" },
    { u"BORDER_TOP", "ControlButtonImplHidden", false, false, u"" },
    { u"CORNER_TOP_LEFT", "ControlButtonImplHidden", false, false, u"" },
    { u"BUTTON_CLOSE", "ControlButtonImplClosePocket", true, true, u"" },
    { u"BUTTON_MINIMIZE", "ControlButtonImplPocket", true, true, u"" },
    { u"BUTTON_SYSMENU", nullptr, true, true, u"" },
    { u"BUTTON_OK", "ControlButtonImplSoftKeyPocket", false, false, u"" },
    { u"BUTTON_YES", "ControlButtonImplSoftKeyPocket", false, false, u"#smartphone_ok#" },
    { u"BUTTON_CANCEL", "ControlButtonImplSoftKeyPocket", false, false, u"#smartphone_menu#" },
    { u"BUTTON_NO_MENU", "ControlButtonImplPocket", true, true, u"" },
};
#endif

// The menus' side, written down.
class SoftKeyRecorder final : public skinner::SoftKeyItems {
public:
    void add_item(skinner::Form&, skinner::Control& button, const std::u16string& command) override
    {
        events.push_back(
            "add " + platform::to_utf8(button.id()) + " " + platform::to_utf8(command));
    }
    void remove_item(skinner::Form&, skinner::Control& button) override
    {
        events.push_back("remove " + platform::to_utf8(button.id()));
    }
    void item_text_changed(skinner::Form&, skinner::Control&, const std::u16string& text) override
    {
        events.push_back("text " + platform::to_utf8(text));
    }
    void item_checked_changed(skinner::Form&, skinner::Control&, bool checked) override
    {
        events.push_back(std::string("checked ") + (checked ? "1" : "0"));
    }
    void set_title_ok_button(skinner::Form&, skinner::Control* button) override
    {
        events.push_back(std::string("title ok ") + (button ? "set" : "cleared"));
    }
    void title_changed(skinner::Form&, const std::u16string& title) override
    {
        events.push_back("title " + platform::to_utf8(title));
    }
    std::vector<std::string> events;
};

class ButtonImplTable : public ControlFixture {
protected:
    void SetUp() override
    {
        ControlFixture::SetUp();
        skinner::set_soft_key_items(&items_);
    }
    void TearDown() override
    {
        skinner::set_soft_key_items(nullptr);
        ControlFixture::TearDown();
    }

    std::unique_ptr<skinner::Skin> skin_with_actions()
    {
        std::vector<skinc::Node> controls;
        std::int16_t y = 0;
        for (const Row& row : ROWS) {
            skinc::Node button = control_node(row.action, 0, y, 40, 10);
            add_string(button, u"Action", row.action);
            add_string(button, u"Text", std::u16string(u"text ") + row.action);
            add_picture(button, u"Normal", solid(RED));
            controls.push_back(button);
            y += 12;
        }
        skinc::Node frame = skin_builder::node(u"FrameTop");
        add_point(frame, u"Size", 40, 10);
        return load_skin({ form_node(u"Form", controls, 240, 240) }, { frame });
    }

    SoftKeyRecorder items_;
};

} // namespace

TEST_F(ButtonImplTable, EachActionGetsTheDevicesImplementation)
{
    EXPECT_EQ(skinner::is_smartphone(), RINGWISE_TEST_DEVICE == 2);
    EXPECT_EQ(skinner::has_soft_key_menus(), RINGWISE_TEST_DEVICE != 1);
    auto skin = skin_with_actions();
    StepForm form(*skin, u"Form");
    for (const Row& row : ROWS) {
        SCOPED_TRACE(platform::to_utf8(row.action));
        ControlButton button(form, row.action);
        const skinner::ControlButtonImpl* impl = button.implementation();
        if (!row.implementation) {
            EXPECT_EQ(impl, nullptr);
        } else {
            ASSERT_NE(impl, nullptr);
            EXPECT_STREQ(impl->name(), row.implementation);
            EXPECT_EQ(impl->is_shown(), row.shown);
            EXPECT_EQ(impl->command(), row.command);
        }
        EXPECT_EQ(button.is_focusable(), row.focusable);
        // A button that is not shown is neither hit nor painted.
        platform::Point inside { 5, button.position().y + 5 };
        EXPECT_EQ(form.control_at(inside) == &button, row.shown);
    }
}

TEST_F(ButtonImplTable, SoftKeyItemsRegisterAndFollowTheirButton)
{
    auto skin = skin_with_actions();
    StepForm form(*skin, u"Form");
    {
        skinner::ControlCheckBox cancel(form, u"BUTTON_CANCEL");
        cancel.set_text(u"Back");
        cancel.set_checked(true);
    }
    if (RINGWISE_TEST_DEVICE == 1) {
        EXPECT_TRUE(items_.events.empty());
        ControlButton ok(form, u"BUTTON_OK");
        EXPECT_EQ(items_.events, std::vector<std::string> { "title ok set" });
        return;
    }
    EXPECT_EQ(items_.events,
        (std::vector<std::string> { "add BUTTON_CANCEL #smartphone_menu#", "text Back", "checked 1",
            "remove BUTTON_CANCEL" }));
}

TEST_F(ButtonImplTable, ACaptionIsTheWindowTitle)
{
    auto skin = skin_with_actions();
    StepForm form(*skin, u"Form");
    ControlButton caption(form, u"CAPTION");
    EXPECT_EQ(platform::window_text(form.window()), u"text CAPTION");
    caption.set_text(u"Contacts");
    EXPECT_EQ(platform::window_text(form.window()), u"Contacts");
    EXPECT_EQ(items_.events.back(), "title Contacts");
}

TEST_F(ButtonImplTable, TheCloseButtonClosesTheForm)
{
    auto skin = skin_with_actions();
    StepForm form(*skin, u"Form");
    ControlButton close(form, u"BUTTON_CLOSE");
    // The steps never end by themselves: only the button closes the form.
    form.run({ [&] { close.fire(); }, [] { ADD_FAILURE() << "the form stayed open"; } }, 2);
    EXPECT_FALSE(form.in_modal_loop());
    EXPECT_TRUE(
        logged(RINGWISE_TEST_DEVICE == 2 ? u"ControlButtonCloseSmartphone WM_CLOSE sent\n"
                                         : u"ControlButtonImplClosePocket WM_CLOSE sent\n"));
    EXPECT_TRUE(logged(u" WM_CLOSE received\n"));
}

TEST_F(ButtonImplTable, FrameElementsAndUnfocusableButtonsStayOnASmartphoneForm)
{
    auto skin = skin_with_actions();
    StepForm form(*skin, u"Form");
    ControlButton top(form, u"", skinner::ControlKind::TopLevel, u"FrameTop");
    ControlButton nothing(form, u"NOTHING");
    nothing.set_focusable(false);
    nothing.read_properties();
    const char* expected
        = RINGWISE_TEST_DEVICE == 2 ? "ControlButtonStaticSmartphone" : "ControlButtonImplPocket";
    EXPECT_STREQ(top.implementation()->name(), expected);
    EXPECT_STREQ(nothing.implementation()->name(), expected);
    EXPECT_TRUE(top.implementation()->is_shown());
}

TEST_F(ButtonImplTable, OnlyASmartphoneEditTakesAnInputMode)
{
    skinc::Node node = control_node(u"edit", 0, 0, 100, 20);
    auto skin = load_skin({ form_node(u"Form", { node }) });
    StepForm form(*skin, u"Form");
    skinner::ControlEdit edit(form, u"edit");
    platform::WindowHandle field = edit.field().window();
    int untouched = platform::edit_input_mode(field);
    edit.set_input_mode(u"Numbers");
    bool smartphone = RINGWISE_TEST_DEVICE == 2;
    EXPECT_EQ(
        platform::edit_input_mode(field), smartphone ? ControlEdit::INPUT_MODE_NUMBERS : untouched);
    edit.set_input_mode(u"TextDefault");
    EXPECT_EQ(
        platform::edit_input_mode(field), smartphone ? ControlEdit::INPUT_MODE_TEXT : untouched);
    // An unknown name changes nothing.
    edit.set_input_mode(u"Letters");
    EXPECT_EQ(
        platform::edit_input_mode(field), smartphone ? ControlEdit::INPUT_MODE_TEXT : untouched);
}
