#include "skinner/ControlButton.h"
#include "skinner/ControlEdit.h"
#include "skinner/EditContextMenu.h"

#include "platform/screen/Clipboard.h"
#include "tests/skinner/ControlFixture.h"

#include <sstream>

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
    // Cut, copy, paste, delete, select all: no selection yet, and nothing
    // to paste until the clipboard holds text.
    platform::set_clipboard_text(u"");
    EXPECT_EQ(enabled(), "00001");
    platform::set_clipboard_text(u"x");
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

namespace {

// The "popup" lines of a dump: each item's text and enabled flag.
std::string popup_of(const std::string& dump)
{
    std::istringstream lines(dump);
    std::string items;
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("popup 0 "))
            continue;
        std::size_t flag = line.find(" enabled=");
        items += line.substr(8, flag - 8) + "=" + line.substr(flag + 9, 1) + ";";
    }
    return items;
}

} // namespace

TEST_F(EditTest, AHoldOrTheApplicationsKeyOpensTheMenuWhoseChoiceActsOnTheEdit)
{
    auto skin = edit_skin();
    Recorder recorder;
    StepForm form(*skin, u"Form", &recorder);
    ControlEdit edit(form, u"name");
    skinner::ControlButton other(form, u"other");
    edit.set_text(u"Ringwise");
    platform::set_clipboard_text(u"");
    platform::Rect at = platform::window_rect(form.window()).value_or(platform::Rect {});
    std::string x = std::to_string(at.left + 150);
    std::string y = std::to_string(at.top + 35);
    std::string held = temp.native("held.dump");
    std::string keyed = temp.native("keyed.dump");
    // Selects "Ring", holds inside the field (the selection stays), copies
    // it; then at the end of the text the applications key opens the menu
    // again, and Paste, the first entry that applies, inserts the copy.
    std::string path = script("menu.txt",
        "tap " + x + " " + y
            + "\nkey Home\nkeydown Shift\nkey Right\nkey Right\nkey Right\n"
              "key Right\nkeyup Shift\nhold "
            + x + " " + y + "\ndump " + held
            + "\nkey Down\nkey Down\nkey Return\nkey End\nkey Apps\ndump " + keyed
            + "\nkey Down\nkey Return\ncommand #close#\n");
    form.run({ [&] { ASSERT_TRUE(platform::play_script(path)); }, [] {} }, 10);

    EXPECT_EQ(popup_of(file_text("held.dump")), "Cut=1;Copy=1;Paste=0;Delete=1;Select All=1;");
    EXPECT_EQ(popup_of(file_text("keyed.dump")), "Cut=0;Copy=0;Paste=1;Delete=0;Select All=1;");
    EXPECT_EQ(platform::clipboard_text(), u"Ring");
    EXPECT_EQ(edit.text(), u"RingwiseRing");
    EXPECT_TRUE(logged(u"EditContextMenu::show name 11011\n"));
    // The choices went to the edit, not to the form as commands.
    for (const std::string& event : recorder.events)
        EXPECT_FALSE(event.starts_with("command menu")) << event;
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
