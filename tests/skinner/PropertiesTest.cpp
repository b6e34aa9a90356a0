#include "platform/graphics/TextRenderer.h"
#include "skinner/PropertyCatalogue.h"
#include "skinner/Skin.h"

#include "tests/skinner/PictureFixture.h"

#include <gtest/gtest.h>

using namespace skinner;

namespace {

skinc::ColorProperty color_property(const std::u16string& name, std::uint8_t red)
{
    return { name, { red, 0, 0, 0 } };
}

int count_of(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

} // namespace

using Properties = PictureFixture;

TEST_F(Properties, ButtonLooksFallBackAlongTheirChain)
{
    skinc::Node only_normal = skin_builder::node(u"ctl");
    only_normal.properties.colors.push_back(color_property(u"Normal", 10));
    skinc::Node form = skin_builder::variant(u"Form", 100, 100);
    form.controls.push_back(only_normal);
    skinc::Node highlighted = skin_builder::node(u"hl");
    highlighted.properties.colors.push_back(color_property(u"Normal", 10));
    highlighted.properties.colors.push_back(color_property(u"Highlighted", 20));
    highlighted.properties.fonts.push_back({ u"Highlighted", 0 });
    form.controls.push_back(highlighted);
    skinc::SkinSource source = skin_builder::skin({ form });
    source.fonts = { u"14 1 0 0 Verdana" };
    auto skin = load(source);
    ASSERT_TRUE(skin->is_valid());

    ButtonProperties plain;
    plain.read(ElementProperties::control(*skin, u"Form", u"ctl"));
    for (const StateLook& look : plain.looks)
        EXPECT_EQ(look.color.red(), 10);
    EXPECT_EQ(plain.looks[0].font, FontDescription());

    ButtonProperties focused;
    focused.read(ElementProperties::control(*skin, u"Form", u"hl"));
    const StateLook& look = look_of(focused.looks, ButtonState::HighlightedFocus);
    EXPECT_EQ(look.color.red(), 20);
    EXPECT_EQ(look.font.face, u"Verdana");
    EXPECT_TRUE(look.font.bold);
    EXPECT_EQ(look_of(focused.looks, ButtonState::NormalFocus).color.red(), 10);
    EXPECT_EQ(look_of(focused.looks, ButtonState::Pressed).font.face, u"Tahoma");
}

TEST_F(Properties, PointsAreScaledButIntegersAreNot)
{
    skinc::Node control = skin_builder::node(u"ctl");
    control.properties.points.push_back({ u"Position", 10, 20 });
    control.properties.points.push_back({ u"Size", -5, 7 });
    control.properties.integers.push_back({ u"TabOrder", 3 });
    control.properties.strings.push_back({ u"AnchorX", u"center" });
    control.properties.strings.push_back({ u"AnchorY", u"CENTER" });
    control.properties.strings.push_back({ u"Cursor", u"HAND" });
    auto skin = load(skin_with(control, {}), 2);
    ASSERT_TRUE(skin->is_valid());
    ASSERT_EQ(skin->scale(), 2);

    ControlProperties properties;
    properties.read(ElementProperties::control(*skin, u"Form", u"ctl"));
    EXPECT_EQ(properties.position, (Point { 20, 40 }));
    EXPECT_EQ(properties.tab_order, 3);
    // A negative size is taken as 0.
    EXPECT_EQ(properties.size, (Point { 0, 14 }));
    EXPECT_EQ(properties.anchor_x, Anchor::MIN_SIDE);
    EXPECT_EQ(properties.anchor_y, Anchor::CENTER);
    EXPECT_EQ(properties.cursor, platform::SystemCursor::Hand);
    EXPECT_EQ(properties.z_order, 0);
}

TEST_F(Properties, UnsupportedPropertiesAreReportedOnceEach)
{
    skinc::Node control = skin_builder::node(u"ctl");
    control.properties.integers.push_back({ u"Visible", 0 });
    auto skin = load(skin_with(control, {}));
    ASSERT_TRUE(skin->is_valid());

    testing::internal::CaptureStderr();
    ControlProperties properties;
    properties.read(ElementProperties::control(*skin, u"Form", u"ctl"));
    std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_EQ(count_of(shown, "Unsupported:"), 1);
    EXPECT_NE(
        shown.find("Form {Form}\nControl {ctl}\nCount Property {Visible}\n"), std::string::npos);
    EXPECT_TRUE(logged(u"Unsupported: Form {Form}\nControl {ctl}\nCount Property {Visible}\n"));
    EXPECT_EQ(properties.position, (Point { 0, 0 }));
}

TEST_F(Properties, EditReportsItsReservedNames)
{
    skinc::Node control = skin_builder::node(u"ctl");
    control.properties.strings.push_back({ u"InputMode", u"numbers" });
    control.properties.strings.push_back({ u"PasswordChar", u"*" });
    control.properties.colors.push_back(color_property(u"Normal", 30));
    control.properties.colors.push_back(color_property(u"Selection", 40));
    auto skin = load(skin_with(control, {}));
    ASSERT_TRUE(skin->is_valid());

    testing::internal::CaptureStderr();
    EditProperties edit;
    edit.read(ElementProperties::control(*skin, u"Form", u"ctl"));
    std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find("String Property {InputMode}"), std::string::npos);
    EXPECT_NE(shown.find("PasswordChar: Unsupported"), std::string::npos);
    EXPECT_EQ(count_of(shown, "Property {"), 1);
    EXPECT_EQ(edit.color_readonly.red(), 30);
    EXPECT_EQ(edit.color_selection_focused.red(), 40);
}

TEST_F(Properties, KeywordsAndSizesKeepSafeValues)
{
    skinc::Node control = skin_builder::node(u"ctl");
    control.properties.strings.push_back({ u"HAlignment", u"RIGHT" });
    control.properties.strings.push_back({ u"VAlignment", u"MIDDLE" });
    control.properties.strings.push_back({ u"Action", u"BUTTON_OK" });
    control.properties.integers.push_back({ u"ItemHeight", 0 });
    control.properties.integers.push_back({ u"TrackSize", -9 });
    control.properties.points.push_back({ u"BorderMin", 2, 3 });
    auto skin = load(skin_with(control, {}));
    ElementProperties element = ElementProperties::control(*skin, u"Form", u"ctl");

    ButtonProperties button;
    button.read(element);
    EXPECT_EQ(button.h_alignment, HAlignment::RIGHT);
    EXPECT_EQ(button.v_alignment, VAlignment::VCENTER);
    EXPECT_EQ(button.action, Action::BUTTON_OK);
    EXPECT_EQ(button.borders.max, (Point { 2, 3 }));

    GridProperties grid;
    grid.read(element);
    EXPECT_EQ(grid.item_height, 1);
    ProgressProperties progress;
    progress.read(element);
    EXPECT_EQ(progress.track_size, 0);
    EXPECT_EQ(progress.orientation, 3);
}

TEST_F(Properties, ElementsWithoutANodeKeepTheirDefaults)
{
    CheckBoxProperties check;
    check.checked = true;
    check.read(ElementProperties::no_skin());
    EXPECT_TRUE(check.checked);
    EXPECT_EQ(check.h_alignment, HAlignment::CENTER);
    GridFilterProperties grid;
    grid.read(ElementProperties::no_skin());
    EXPECT_EQ(grid.item_height, 40);
    EXPECT_TRUE(grid.item_selection_filtered.picture.is_empty());
}

TEST_F(Properties, PanelsTakeTheBackgroundOfTheirTemplateForm)
{
    write_png("back.png", platform::Bitmap(4, 4, platform::make_color(1, 2, 3)));
    write_png("own.png", platform::Bitmap(2, 2, platform::make_color(7, 7, 7)));
    skinc::Node panel = skin_builder::node(u"panel");
    panel.properties.strings.push_back({ u"FormTemplate", u"Page" });
    panel.properties.pictures.push_back(
        picture_property(u"Background", { 0, 0, 0, 0, 2, 2, 2, 2 }, 1));
    skinc::Node form = skin_builder::variant(u"Form", 100, 100);
    form.controls.push_back(panel);
    skinc::Node page = skin_builder::variant(u"Page", 50, 50);
    page.properties.pictures.push_back(
        picture_property(u"Background", { 0, 0, 0, 0, 4, 4, 4, 4 }, 0));
    skinc::SkinSource source = skin_builder::skin({ form, page });
    source.pictures = { u"back", u"own" };
    auto skin = load(source);
    ASSERT_TRUE(skin->is_valid());

    PanelProperties properties;
    properties.read(ElementProperties::control(*skin, u"Form", u"panel"));
    EXPECT_EQ(properties.form_template, u"Page");
    ASSERT_TRUE(properties.background.is_loaded());
    EXPECT_EQ(properties.background.image()->width(), 4);

    FormProperties form_properties;
    form_properties.read(ElementProperties::form(*skin, u"Page"));
    EXPECT_EQ(form_properties.size, (Point { 50, 50 }));
    EXPECT_EQ(form_properties.size_no_buttons, (Point { 50, 50 }));
    EXPECT_TRUE(form_properties.background.is_loaded());
}

TEST(Keywords, TablesMatchExactlyAndAlignmentsBecomeTextFlags)
{
    EXPECT_EQ(anchor_keyword(u"RATIO"), Anchor::RATIO);
    EXPECT_EQ(anchor_keyword(u"ratio"), Anchor::MIN_SIDE);
    EXPECT_EQ(anchor_keyword(u""), Anchor::MIN_SIDE);
    EXPECT_EQ(h_alignment_keyword(u"Left", HAlignment::RIGHT), HAlignment::RIGHT);
    EXPECT_EQ(v_alignment_keyword(u"BOTTOM", VAlignment::TOP), VAlignment::BOTTOM);
    EXPECT_EQ(action_keyword(u"BUTTON_NO_MENU", Action::NOTHING), Action::BUTTON_NO_MENU);
    EXPECT_EQ(action_keyword(u"BUTTON_NO", Action::CAPTION), Action::CAPTION);
    EXPECT_EQ(cursor_keyword(u"APPSTARTING"), platform::SystemCursor::AppStarting);
    EXPECT_EQ(cursor_keyword(u"arrow"), platform::SystemCursor::None);
    EXPECT_EQ(text_format(HAlignment::CENTER, VAlignment::BOTTOM),
        platform::TEXT_CENTER | platform::TEXT_BOTTOM);
    EXPECT_EQ(text_format(HAlignment::LEFT, VAlignment::TOP), 0u);
}
