#include "skinner/ControlButton.h"
#include "skinner/ControlCheckBox.h"
#include "skinner/ControlFrame.h"
#include "skinner/ControlPanel.h"
#include "skinner/ControlPicture.h"

#include "tests/skinner/ControlFixture.h"

using namespace control_test;
using skinner::ControlButton;
using skinner::ControlCheckBox;
using skinner::ControlPicture;
using State = skinner::ControlButtonBase::State;

namespace {

class ButtonTest : public ControlFixture {
protected:
    // A form with the button "ok" at (20, 20) of 80 x 40 whose looks are
    // solid colours: Normal red, Pressed green, Highlighted blue, Disabled
    // grey; NormalFocus and HighlightedFocus fall back.
    std::unique_ptr<skinner::Skin> button_skin(std::vector<skinc::Node> more = {})
    {
        skinc::Node ok = control_node(u"ok", 20, 20, 80, 40);
        add_picture(ok, u"Normal", solid(RED));
        add_picture(ok, u"Pressed", solid(GREEN));
        add_picture(ok, u"Highlighted", solid(BLUE));
        add_picture(ok, u"Disabled", solid(GREY));
        more.insert(more.begin(), ok);
        return load_skin({ form_node(u"Form", more) });
    }
};

} // namespace

TEST_F(ButtonTest, EachStatePaintsItsLookWithTheFallbacks)
{
    skinc::Node other = control_node(u"other", 150, 20, 40, 40);
    auto skin = button_skin({ other });
    StepForm form(*skin, u"Form");
    ControlButton ok(form, u"ok");
    ControlButton plain(form, u"other");
    form.run({
        [&] { form.set_focus(&plain); },
        [&] {
            EXPECT_EQ(ok.state(), State::Normal);
            EXPECT_EQ(pixel(form, 30, 30), RED);
            form.set_focus(&ok);
        },
        [&] {
            // NormalFocus falls back to Normal.
            EXPECT_EQ(ok.state(), State::NormalFocus);
            EXPECT_EQ(pixel(form, 30, 30), RED);
            platform::inject_pointer(platform::PointerAction::Move, platform::PointerButton::None,
                screen_point(form, 40, 30));
        },
        [&] {
            // HighlightedFocus falls back to Highlighted.
            EXPECT_EQ(ok.state(), State::HighlightedFocus);
            EXPECT_EQ(pixel(form, 30, 30), BLUE);
            tap(form, 40, 30, false);
        },
        [&] {
            EXPECT_EQ(ok.state(), State::Pressed);
            EXPECT_EQ(pixel(form, 99, 59), GREEN);
            EXPECT_NE(pixel(form, 100, 60), GREEN);
            release_at(form, 40, 30);
            ok.set_enabled(false);
        },
        [&] {
            EXPECT_EQ(ok.state(), State::Disabled);
            EXPECT_EQ(pixel(form, 30, 30), GREY);
        },
    });
}

TEST_F(ButtonTest, PointerFiresOnlyWhenReleasedInsideAnEnabledButton)
{
    auto skin = button_skin();
    Recorder recorder;
    StepForm form(*skin, u"Form", &recorder);
    ControlButton ok(form, u"ok");
    form.run({
        [&] {
            tap(form, 30, 30, false);
            release_at(form, 200, 150);
        },
        [&] {
            EXPECT_TRUE(recorder.events.empty());
            EXPECT_FALSE(ok.is_pressed());
            tap(form, 30, 30);
        },
        [&] {
            EXPECT_EQ(recorder.events, std::vector<std::string> { "control ok" });
            ok.set_enabled(false);
            tap(form, 30, 30);
            ok.fire();
        },
        [&] { EXPECT_EQ(recorder.events.size(), 1u); },
    });
}

TEST_F(ButtonTest, KeysPressTheFocusedButtonAndTheFormsDefaultAndCancelButtons)
{
    skinc::Node cancel = control_node(u"cancel", 150, 20, 40, 40);
    skinc::Node label = control_node(u"label", 150, 100, 40, 40);
    auto skin = button_skin({ cancel, label });
    Recorder recorder;
    StepForm form(*skin, u"Form", &recorder);
    ControlButton ok(form, u"ok");
    ControlButton escape(form, u"cancel");
    skinner::ControlFrame frame(form, u"label");
    form.set_cancel_button(&escape);
    form.run({
        [&] {
            form.set_focus(&ok);
            platform::inject_key(platform::VK_RETURN, true);
        },
        [&] {
            // Pressed while the key is down, fired when it comes up.
            EXPECT_EQ(ok.state(), State::Pressed);
            EXPECT_TRUE(recorder.events.empty());
            platform::inject_key(platform::VK_RETURN, false);
        },
        [&] {
            EXPECT_EQ(recorder.events, std::vector<std::string> { "control ok" });
            // Losing the focus ends a key press without firing.
            platform::inject_key(platform::VK_RETURN, true);
            form.set_focus(&frame);
            platform::inject_key(platform::VK_RETURN, false);
        },
        [&] {
            EXPECT_FALSE(ok.is_pressed());
            EXPECT_EQ(recorder.events.size(), 1u);
            form.set_default_button(&ok);
            key(platform::VK_RETURN);
            key(platform::VK_ESCAPE);
        },
        [&] {
            EXPECT_EQ(recorder.events,
                (std::vector<std::string> { "control ok", "control ok", "control cancel" }));
        },
    });
}

TEST_F(ButtonTest, ANamedCommandEqualToItsIdFiresTheButton)
{
    skinc::Node soft = control_node(u"#smartphone_ok#", 150, 20, 40, 40);
    auto skin = button_skin({ soft });
    Recorder recorder;
    StepForm form(*skin, u"Form", &recorder);
    ControlButton ok(form, u"#smartphone_ok#");
    std::string path = script("soft.txt", "command #smartphone_ok#\ncommand other\n");
    form.run({
                 [&] { ASSERT_TRUE(platform::play_script(path)); },
                 [&] {
                     EXPECT_EQ(recorder.events,
                         (std::vector<std::string> { "control #smartphone_ok#", "command other" }));
                 },
             },
        0.2);
}

TEST_F(ButtonTest, HitTestingFollowsTheMaskOfTheCurrentLook)
{
    skinc::Node ok = control_node(u"ok", 20, 20, 80, 40);
    add_picture(ok, u"Normal", half_masked(RED));
    auto skin = load_skin({ form_node(u"Form", { ok }) });
    StepForm form(*skin, u"Form");
    ControlButton button(form, u"ok");
    EXPECT_EQ(form.control_at({ 30, 30 }), &button);
    EXPECT_EQ(form.control_at({ 90, 30 }), nullptr);
    EXPECT_EQ(form.control_at({ 110, 30 }), nullptr);
}

TEST_F(ButtonTest, CheckBoxTogglesItsLooksAndTexts)
{
    skinc::Node same = control_node(u"same", 20, 20, 80, 40);
    add_string(same, u"Text", u"Sound");
    add_string(same, u"CheckedText", u"Sound");
    add_picture(same, u"Normal", solid(RED));
    add_picture(same, u"CheckedNormal", solid(GREEN));
    skinc::Node two = control_node(u"two", 20, 100, 80, 40);
    add_string(two, u"Text", u"Off");
    add_string(two, u"CheckedText", u"On");
    add_integer(two, u"Checked", 1);
    auto skin = load_skin({ form_node(u"Form", { same, two }) });
    Recorder recorder;
    StepForm form(*skin, u"Form", &recorder);
    ControlCheckBox sound(form, u"same");
    ControlCheckBox power(form, u"two");
    EXPECT_FALSE(sound.is_checked());
    EXPECT_TRUE(power.is_checked());
    EXPECT_EQ(power.text(), u"On");
    form.run({
        [&] {
            EXPECT_EQ(pixel(form, 30, 30), RED);
            tap(form, 30, 30);
        },
        [&] {
            EXPECT_TRUE(sound.is_checked());
            EXPECT_EQ(sound.text(), u"Sound");
            EXPECT_EQ(pixel(form, 25, 25), GREEN);
            EXPECT_EQ(sound.describe(), "checked=1 text=Sound");
            EXPECT_EQ(recorder.events, std::vector<std::string> { "control same" });
            power.fire();
            EXPECT_EQ(power.text(), u"Off");
            power.set_checked_text(u"Yes");
            EXPECT_EQ(power.text(), u"Off");
            power.set_checked(true);
            EXPECT_EQ(power.text(), u"Yes");
            power.set_text(u"Both");
            EXPECT_EQ(power.checked_text(), u"Both");
            EXPECT_EQ(power.unchecked_text(), u"Both");
        },
    });
}

TEST_F(ButtonTest, ACheckedBoxWithoutSkinTextKeepsItsTwoTextsOnReload)
{
    skinc::Node box = control_node(u"box", 20, 20, 80, 40);
    add_string(box, u"CheckedText", u"On");
    auto skin = load_skin({ form_node(u"Form", { box }) });
    StepForm form(*skin, u"Form");
    ControlCheckBox power(form, u"box");
    power.set_unchecked_text(u"Off");
    power.set_checked(true);
    EXPECT_EQ(power.text(), u"On");
    power.read_properties();
    EXPECT_EQ(power.text(), u"On");
    EXPECT_EQ(power.unchecked_text(), u"Off");
    power.set_checked(false);
    EXPECT_EQ(power.text(), u"Off");
}

TEST_F(ButtonTest, PictureIsShrunkWithItsProportionsAndPlacedByItsAlignments)
{
    std::uint8_t wide = solid(BLUE, 40, 20);
    skinc::Node centred = control_node(u"centred", 20, 20, 20, 20);
    add_picture(centred, u"Picture", wide);
    skinc::Node corner = control_node(u"corner", 100, 20, 60, 40);
    add_picture(corner, u"Picture", solid(GREEN, 10, 10));
    add_string(corner, u"PictureHAlignment", u"RIGHT");
    add_string(corner, u"PictureVAlignment", u"BOTTOM");
    skinc::Node empty = control_node(u"empty", 20, 100, 20, 20);
    auto skin = load_skin({ form_node(u"Form", { centred, corner, empty }) });
    StepForm form(*skin, u"Form");
    ControlPicture shrunk(form, u"centred");
    ControlPicture placed(form, u"corner");
    ControlPicture nothing(form, u"empty");
    EXPECT_EQ(shrunk.picture_rect(), (platform::Rect { 20, 25, 40, 35 }));
    EXPECT_EQ(placed.picture_rect(), (platform::Rect { 150, 50, 160, 60 }));
    EXPECT_TRUE(nothing.picture_rect().is_empty());
    form.run({
        [&] {
            EXPECT_EQ(pixel(form, 20, 25), BLUE);
            EXPECT_EQ(pixel(form, 39, 34), BLUE);
            EXPECT_NE(pixel(form, 30, 24), BLUE);
            EXPECT_NE(pixel(form, 30, 35), BLUE);
            EXPECT_EQ(pixel(form, 155, 55), GREEN);
            EXPECT_NE(pixel(form, 145, 55), GREEN);
        },
    });
}

TEST_F(ButtonTest, AutomaticEntriesMakeTheStandardControls)
{
    skinc::Node form = form_node(u"Form",
        { control_node(u"b", 0, 0, 10, 10), control_node(u"f", 0, 20, 10, 10),
            control_node(u"p", 0, 40, 10, 10), control_node(u"n", 0, 60, 10, 10) });
    form.auto_controls = { { u"b", u"Auto.Button" }, { u"f", u"Auto.Frame" },
        { u"p", u"Auto.Picture" }, { u"n", u"Auto.Panel" } };
    auto skin = load_skin({ form });
    StepForm shown(*skin, u"Form");
    ASSERT_NE(shown.find_control(u"b"), nullptr);
    EXPECT_STREQ(shown.find_control(u"b")->class_name(), "ControlButton");
    EXPECT_NE(dynamic_cast<ControlButton*>(shown.find_control(u"b")), nullptr);
    EXPECT_STREQ(shown.find_control(u"f")->class_name(), "ControlFrame");
    EXPECT_STREQ(shown.find_control(u"p")->class_name(), "ControlPicture");
    EXPECT_STREQ(shown.find_control(u"n")->class_name(), "ControlPanel");
    EXPECT_FALSE(logged(u"not created"));
}

TEST_F(ButtonTest, TheDumpShowsEscapedTextsLast)
{
    skinc::Node label = control_node(u"label", 0, 0, 100, 20);
    add_string(label, u"Text", u"one\ttwo\\three\nfour");
    auto skin = load_skin({ form_node(u"Form", { label }) });
    StepForm form(*skin, u"Form");
    skinner::ControlFrame frame(form, u"label");
    std::string path
        = script("dump.txt", "dump " + temp.native("dump.out") + "\ncommand #close#\n");
    form.run({ [&] { ASSERT_TRUE(platform::play_script(path)); }, [] {} }, 5);
    std::string dump = file_text("dump.out");
    EXPECT_NE(dump.find(" ControlFrame "), std::string::npos) << dump;
    EXPECT_NE(dump.find(" text=one\\ttwo\\\\three\\nfour\n"), std::string::npos) << dump;
}
