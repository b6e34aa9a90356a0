#include "skinner/ControlButton.h"
#include "skinner/ControlEdit.h"
#include "skinner/EditContextMenu.h"

#include "platform/screen/Clipboard.h"
#include "tests/skinner/ControlFixture.h"

using namespace control_test;
using skinner::ControlEdit;
using skinner::EditContextMenu;

namespace {

class EditTest : public ControlFixture {
protected:
    std::unique_ptr<skinner::Skin> edit_skin()
    {
        skinc::Node edit = control_node(u"name", 20, 20, 200, 30);
        add_point(edit, u"BorderMin", 4, 4);
        add_picture(edit, u"Normal", solid(WHITE));
        add_color(edit, u"Normal", BLACK);
        skinc::Node other = control_node(u"other", 20, 100, 60, 30);
        return load_skin({ form_node(u"Form", { edit, other }) });
    }
};

} // namespace

TEST_F(EditTest, TheScriptTypesSelectsAndEditsThroughTheNativeField)
{
    auto skin = edit_skin();
    Recorder recorder;
    StepForm form(*skin, u"Form", &recorder);
    ControlEdit edit(form, u"name");
    skinner::ControlButton other(form, u"other");
    EXPECT_TRUE(logged(u"ControlEditNativeImpl::ControlEditNativeImpl hwnd="));
    EXPECT_TRUE(logged(u" form_hwnd=" + platform::from_utf8(std::to_string(form.window().value))));
    EXPECT_EQ(platform::window_class_name(edit.field().window()), u"edit");
    EXPECT_EQ(platform::window_rect(edit.field().window()), (platform::Rect { 24, 24, 216, 46 }));
    std::string path = script("type.txt",
        "tap-control name\ntext Hello\nkey Space\ntext world\n"
        "keydown Shift\nkey Left\nkey Left\nkeyup Shift\n"
        "key Backspace\nkey Home\nkey Delete\n"
        "command #close#\n");
    form.run({ [&] { ASSERT_TRUE(platform::play_script(path)); }, [] {} }, 10);
    EXPECT_EQ(edit.text(), u"ello wor");
    ASSERT_FALSE(recorder.events.empty());
    EXPECT_NE(std::find(recorder.events.begin(), recorder.events.end(), "text name Hello world"),
        recorder.events.end());
    EXPECT_EQ(recorder.events.back(), "text name ello wor");
    EXPECT_TRUE(logged(u"ControlEditNativeImpl::on_en_change text=Hello world\n"));
    EXPECT_TRUE(logged(u"ControlEditNativeImpl::WM_SETFOCUS hwnd="));
    EXPECT_EQ(edit.describe(), "text=ello wor");
}

TEST_F(EditTest, TheClipboardRoundTripsAndTheContextMenuFollowsTheState)
{
    auto skin = edit_skin();
    Recorder recorder;
    StepForm form(*skin, u"Form", &recorder);
    ControlEdit edit(form, u"name");
    edit.set_text(u"0123456789");
    EXPECT_TRUE(recorder.events.empty());
    EditContextMenu menu(edit);
    auto enabled = [&] {
        std::string flags;
        for (const EditContextMenu::Item& item : menu.items())
            flags += item.enabled ? '1' : '0';
        return flags;
    };
    std::vector<EditContextMenu::Item> items = menu.items();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].text, u"Cut");
    EXPECT_EQ(items[4].text, u"Select All");
    // Cut, copy, paste, delete, select all: no selection yet.
    EXPECT_EQ(enabled(), "00101");
    edit.field().set_selection(2, 5);
    EXPECT_EQ(enabled(), "11111");
    EXPECT_TRUE(menu.run(EditContextMenu::Command::Cut));
    EXPECT_EQ(edit.text(), u"0156789");
    EXPECT_EQ(platform::clipboard_text(), u"234");
    edit.field().set_selection(7, 7);
    EXPECT_TRUE(menu.run(EditContextMenu::Command::Paste));
    EXPECT_EQ(edit.text(), u"0156789234");
    EXPECT_EQ(recorder.events.back(), "text name 0156789234");

    edit.set_read_only(true);
    edit.field().set_selection(0, 3);
    EXPECT_EQ(enabled(), "01001");
    EXPECT_FALSE(menu.run(EditContextMenu::Command::Delete));
    EXPECT_TRUE(menu.run(EditContextMenu::Command::Copy));
    EXPECT_EQ(platform::clipboard_text(), u"015");
    EXPECT_EQ(edit.text(), u"0156789234");
    edit.set_read_only(false);
    edit.set_enabled(false);
    EXPECT_FALSE(platform::is_window_enabled(edit.field().window()));
    EXPECT_EQ(enabled(), "01001");
    edit.set_enabled(true);
    EXPECT_TRUE(menu.run(EditContextMenu::Command::SelectAll));
    EXPECT_TRUE(menu.run(EditContextMenu::Command::Delete));
    EXPECT_EQ(edit.text(), u"");
}

TEST_F(EditTest, TheFieldDrawsTextSelectionAndCaretOverTheSkin)
{
    auto skin = edit_skin();
    StepForm form(*skin, u"Form");
    ControlEdit edit(form, u"name");
    skinner::ControlButton other(form, u"other");
    form.run({
        // The edit took the focus when the form became active.
        [&] { form.set_focus(&other); },
        [&] {
            EXPECT_EQ(pixel(form, 22, 22), WHITE);
            EXPECT_FALSE(drawn_in(form, { 24, 24, 216, 46 }, WHITE));
            edit.set_text(u"Ringwise");
        },
        [&] {
            EXPECT_TRUE(drawn_in(form, { 24, 24, 100, 46 }, WHITE));
            EXPECT_FALSE(drawn_in(form, { 150, 24, 216, 46 }, WHITE));
            form.set_focus(&edit);
            edit.field().set_selection(0, 3);
        },
        [&] {
            EXPECT_EQ(platform::focus_window(), edit.field().window());
            // The default selection colour is the text's: black behind white.
            EXPECT_EQ(pixel(form, 26, 26), BLACK);
            form.set_focus(&other);
        },
        [&] { EXPECT_NE(platform::focus_window(), edit.field().window()); },
    });
}
