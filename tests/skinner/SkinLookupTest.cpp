#include "platform/Convert.h"
#include "platform/LittleEndian.h"
#include "skinner/ImageEntry.h"
#include "skinner/PictureLoader.h"
#include "skinner/PropertiesImpl.h"
#include "skinner/Skin.h"

#include "SkinBuilder.h"

#include <map>

using namespace skin_builder;
using skinner::Color;
using skinner::FontDescription;
using skinner::Point;
using skinner::Skin;
using skinner::SkinDevice;
using skinner::SkinPicture;
namespace format = skinner::format;

namespace {

const SkinDevice pocket_pc {};

std::u16string text(const std::string& narrow)
{
    return platform::from_utf8(narrow);
}

// Stand-in images, one per picture name, so that a test can tell which
// image a picture property refers to.
std::shared_ptr<skinner::ImageEntry> token_image(const std::u16string& name)
{
    static std::map<std::u16string, std::shared_ptr<skinner::ImageEntry>> images;
    auto& image = images[name];
    if (!image)
        image = std::make_shared<skinner::ImageEntry>();
    return image;
}

// Installs a picture loader for one test and restores the previous one.
class LoaderScope {
public:
    explicit LoaderScope(skinner::PictureLoader loader)
        : previous_(skinner::set_picture_loader(std::move(loader)))
    {
    }
    ~LoaderScope() { skinner::set_picture_loader(std::move(previous_)); }

private:
    skinner::PictureLoader previous_;
};

// One form with a control that has a property of every type, a top-level
// node and auto controls; design size 240 x 320, so scale 2 on 480 x 640.
skinc::SkinSource full_skin()
{
    auto main = variant(u"FormMain", 240, 260);
    main.properties.integers.push_back({ u"StartPosition", 6 });
    main.properties.pictures.push_back({ u"Background", { 0, 0, 0, 0, 240, 320, 240, 320 }, 0, 1 });
    main.auto_controls
        = { { u"btnClose", u"Auto.Button" }, { u"frmBack", u"Auto.Frame" }, { u"x", u"Custom" } };

    auto button = node(u"btnOk");
    auto& p = button.properties;
    p.integers = { { u"TabOrder", 3 }, { u"ZOrder", -7 }, { u"Big", 0x40000001 } };
    p.points = { { u"Position", 10, 20 }, { u"Size", -5, -32768 } };
    p.strings = { { u"Text", u"Call_failed" }, { u"Cursor", u"HAND" }, { u"Empty", u"" } };
    p.colors = { { u"Normal", { 255, 128, 0, 7 } } };
    p.pictures = { { u"Normal", { 0, 0, 3, 3, 7, 7, 10, 10 }, 1, 1 },
        { u"Pressed", { 1, 2, 3, 4, 5, 6, 7, 8 }, 2, 0 } };
    p.fonts = { { u"Normal", 0 }, { u"Small", 1 } };
    main.controls = { button, node(u"lblTitle") };

    auto scroll = node(u"ScrollV");
    scroll.properties.integers = { { u"Vertical", 1 } };
    scroll.properties.strings = { { u"KindMin", u"ScrollUp" } };

    auto source = skin({ main });
    source.design_sizes[1] = {};
    source.pictures = { u"back", u"button", u"button_pressed" };
    source.fonts = { u"14 1 0 0 Tahoma", u"10" };
    source.nodes = { scroll, node(u"ScrollUp") };
    return source;
}

} // namespace

TEST(SkinVariant, LargestFittingVariantWinsAndTheListShowsEveryNodeInPreOrder)
{
    TempDirectory directory;
    auto source = skin({
        variant(u"FormA", 240, 320),
        variant(u"FormB", 480, 500, u"P"),
        variant(u"FormC", 480, 600),
        variant(u"FormD", 200, 200, u"S"),
        variant(u"FormE", 480, 500),
        variant(u"Help", 100, 100),
    });
    Skin skin(write(directory, "forms.skin", source), { 480, 640 }, pocket_pc);
    auto& properties = skin.properties();

    // Of the equal 480 x 500 variants the one visited last wins.
    EXPECT_EQ(properties.node_name(properties.select_form(u"Form")), u"FormE");
    EXPECT_EQ(properties.form_list(),
        u"+FormD Size=200 200 Devices=S\n"
        u"+FormB Size=480 500 Devices=P good_for_device\n"
        u"+FormA Size=240 320 Devices= good_for_device\n"
        u"+FormC Size=480 600 Devices= good_for_device\n"
        u"-Help\n"
        u"+FormE Size=480 500 Devices= good_for_device\n");

    EXPECT_EQ(properties.node_name(properties.select_form(u"FormA")), u"FormA");
    EXPECT_EQ(properties.select_form(u"FormAB"), 0u);
    EXPECT_EQ(properties.select_form(u"FormC"), 0u); // taller than the work area
    EXPECT_EQ(properties.select_form(u""), 0u);
    EXPECT_EQ(properties.form_list(), u"");
}

TEST(SkinVariant, FullscreenVariantsMayUseTheWholeScreenAndSizesAreScaled)
{
    TempDirectory directory;
    auto source = skin({ variant(u"Form", 240, 260), variant(u"Form_full", 240, 320, u"", 1),
        variant(u"Form_x", 240, 300) });
    source.design_sizes[1] = {};
    Skin skin(write(directory, "full.skin", source), { 480, 640 }, pocket_pc);
    ASSERT_EQ(skin.scale(), 2);
    auto& properties = skin.properties();
    EXPECT_EQ(properties.node_name(properties.select_form(u"Form")), u"Form_full");
    EXPECT_NE(properties.form_list().find(u"+Form_full Size=480 640 Devices= good_for_device\n"),
        std::u16string::npos);
    // Without full screen, 600 rows are more than the 536 of the work area.
    EXPECT_EQ(properties.node_name(properties.select_form(u"Form_")), u"Form_full");
    EXPECT_EQ(properties.select_form(u"Form_x"), 0u);
}

TEST(SkinProperties, EveryTypeReadsBackAsCompiled)
{
    TempDirectory directory;
    LoaderScope loader(
        [](const std::u16string&, const std::u16string& name, int) { return token_image(name); });
    Skin skin(write(directory, "full.skin", full_skin()), { 480, 640 }, pocket_pc);
    ASSERT_TRUE(skin.is_valid());
    ASSERT_EQ(skin.scale(), 2);
    const std::u16string form = u"FormMain";
    const std::u16string id = u"btnOk";

    EXPECT_EQ(skin.integer(form, id, u"TabOrder", 0), 3);
    EXPECT_EQ(skin.integer(form, id, u"ZOrder", 0), -7);
    EXPECT_EQ(skin.scaled_integer(form, id, u"ZOrder", 0), -14);
    EXPECT_EQ(skin.scaled_integer(form, id, u"Missing", 5), 5);
    EXPECT_EQ(skin.point(form, id, u"Position", {}), (Point { 20, 40 }));
    EXPECT_EQ(skin.point(form, id, u"Size", {}), (Point { -10, -65536 }));
    EXPECT_EQ(skin.point(form, id, u"Missing", { 3, 4 }), (Point { 3, 4 }));
    EXPECT_EQ(skin.color(form, id, u"Normal", {}), (Color { { 255, 128, 0, 7 } }));
    EXPECT_EQ(
        skin.color(form, id, u"Pressed", Color { { 1, 2, 3, 4 } }), (Color { { 1, 2, 3, 4 } }));
    EXPECT_EQ(skin.string(form, id, u"Text", u""), u"Call_failed");
    EXPECT_EQ(skin.string(form, id, u"Empty", u"x"), u"");
    EXPECT_EQ(skin.string(form, id, u"Missing", u"Call_failed"), u"Call_failed");
    EXPECT_EQ(skin.cursor(form, id, u"Cursor", u""), u"HAND");

    SkinPicture normal = skin.picture(form, id, u"Normal", {});
    EXPECT_EQ(normal.name, u"button");
    EXPECT_EQ(normal.image, token_image(u"button"));
    EXPECT_EQ(normal.coordinates, (std::array<std::uint16_t, 8> { 0, 0, 3, 3, 7, 7, 10, 10 }));
    EXPECT_TRUE(normal.stretch);
    SkinPicture pressed = skin.picture(form, id, u"Pressed", {});
    EXPECT_EQ(pressed.image, token_image(u"button_pressed"));
    EXPECT_FALSE(pressed.stretch);
    EXPECT_TRUE(skin.picture(form, id, u"Disabled", {}).empty());

    FontDescription font = skin.font(form, id, u"Normal", {});
    EXPECT_EQ(font, (FontDescription { 14, 2, true, false, false, u"Tahoma" }));
    EXPECT_EQ(skin.font(form, id, u"Small", {}),
        (FontDescription { 10, 2, false, false, false, u"Tahoma" }));

    EXPECT_EQ(skin.form_point(form, u"Size", {}), (Point { 480, 520 }));
    EXPECT_EQ(skin.form_integer(form, u"StartPosition", 0), 6);
    EXPECT_EQ(skin.form_integer(form, u"StartPositionX", -1), -1);
    EXPECT_EQ(skin.form_picture(form, u"Background", {}).name, u"back");

    EXPECT_EQ(skin.integer(u"", u"ScrollV", u"Vertical", 0), 1);
    EXPECT_EQ(skin.string(u"", u"ScrollV", u"KindMin", u""), u"ScrollUp");
    EXPECT_EQ(skin.integer(u"", u"ScrollUp", u"Vertical", 9), 9);
    // An empty id in the kind tree finds nothing and reports nothing.
    EXPECT_EQ(skin.integer(u"", u"", u"Vertical", 9), 9);

    ASSERT_EQ(skin.auto_control_count(form), 3u);
    EXPECT_EQ(skin.auto_control(form, 0).id, u"btnClose");
    EXPECT_EQ(skin.auto_control(form, 1).type, u"Auto.Frame");
    EXPECT_EQ(skin.auto_control(form, 2).type, u"Custom");
    EXPECT_EQ(skin.auto_control(form, 3).id, u"");
}

TEST(SkinProperties, BinarySearchFindsEveryNameAmongManyAndPrefixes)
{
    TempDirectory directory;
    auto form = variant(u"Form", 240, 200);
    auto control = node(u"c");
    std::vector<std::u16string> names
        = { u"P", u"Pos", u"Position", u"PositionX", u"Q", u"\u0436" };
    for (int i = 0; i < 50; ++i)
        names.push_back(text("N" + std::to_string(i)));
    for (std::size_t i = 0; i < names.size(); ++i)
        control.properties.integers.push_back({ names[i], static_cast<int>(i) + 100 });
    form.controls = { control };
    Skin skin(write(directory, "many.skin", skin_builder::skin({ form })), { 240, 320 }, pocket_pc);
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(skin.integer(u"Form", u"c", names[i], -1), static_cast<int>(i) + 100) << i;
    for (auto absent : { u"", u"O", u"Po", u"Positio", u"PositionXY", u"ZZ", u"N5x" })
        EXPECT_EQ(skin.integer(u"Form", u"c", absent, -1), -1);
}

TEST(SkinProperties, ControlOfTheSameIdInAnotherFormIsNotTakenFromTheCache)
{
    TempDirectory directory;
    auto a = variant(u"FormA", 240, 320);
    auto b = variant(u"FormB", 240, 320);
    auto in_a = node(u"btn");
    in_a.properties.integers = { { u"TabOrder", 1 } };
    auto in_b = node(u"btn");
    in_b.properties.integers = { { u"TabOrder", 2 } };
    a.controls = { in_a };
    b.controls = { in_b };
    Skin skin(write(directory, "two.skin", skin_builder::skin({ a, b })), { 480, 640 }, pocket_pc);
    EXPECT_EQ(skin.integer(u"FormA", u"btn", u"TabOrder", 0), 1);
    EXPECT_EQ(skin.integer(u"FormB", u"btn", u"TabOrder", 0), 2);
    EXPECT_EQ(skin.integer(u"FormA", u"btn", u"TabOrder", 0), 1);
}

TEST(SkinLanguage, StringsPassThroughTheLanguageAndClientsRereadTheirTexts)
{
    TempDirectory directory;
    directory.write("English.lng", "Call_failed Call failed\nTitle=  Ringwise\n");
    Skin skin(write(directory, "full.skin", full_skin()), { 480, 640 }, pocket_pc);

    struct Form : Skin::Client {
        void reload_texts() override { ++reloads; }
        int reloads { 0 };
    } form, closed;
    skin.add_client(&form);
    skin.add_client(&closed);
    skin.remove_client(&closed);

    EXPECT_FALSE(skin.set_language(directory.wide("Missing.lng")));
    EXPECT_EQ(form.reloads, 0);
    EXPECT_EQ(skin.translate(u"Title"), u"Title");

    ASSERT_TRUE(skin.set_language(directory.wide("English.lng")));
    EXPECT_EQ(form.reloads, 1);
    EXPECT_EQ(closed.reloads, 0);
    EXPECT_EQ(skin.string(u"FormMain", u"btnOk", u"Text", u""), u"Call failed");
    EXPECT_EQ(skin.string(u"FormMain", u"btnOk", u"Missing", u"Call_failed"),
        u"Call_failed"); // defaults untranslated
    EXPECT_EQ(skin.translate(u"Title"), u"  Ringwise");
    EXPECT_EQ(skin.translate(u"Nope", u"fallback"), u"fallback");

    // A failed switch keeps the language in force.
    EXPECT_FALSE(skin.set_language(directory.wide("Missing.lng")));
    EXPECT_EQ(skin.translate(u"Call_failed"), u"Call failed");
    EXPECT_EQ(form.reloads, 1);
}

TEST(SkinPictures, PictureThatCannotBeLoadedMakesTheSkinInvalid)
{
    TempDirectory directory;
    auto path = write(directory, "full.skin", full_skin());
    std::vector<std::u16string> asked;
    LoaderScope loader([&](const std::u16string& skin_path, const std::u16string& name, int scale) {
        EXPECT_EQ(skin_path, path);
        EXPECT_EQ(scale, 2);
        asked.push_back(name);
        return name == u"button" ? nullptr : token_image(name);
    });
    Skin skin(path, { 480, 640 }, pocket_pc);
    EXPECT_FALSE(skin.is_valid());
    EXPECT_EQ(asked, (std::vector<std::u16string> { u"back", u"button" }));
}

TEST(SkinPictures, WithoutLoaderPicturesAreKeptByName)
{
    TempDirectory directory;
    Skin skin(write(directory, "full.skin", full_skin()), { 480, 640 }, pocket_pc);
    ASSERT_TRUE(skin.is_valid());
    auto& pictures = skin.properties().pictures();
    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_EQ(pictures[2].name, u"button_pressed");
    EXPECT_EQ(pictures[2].image, nullptr);
    EXPECT_EQ(skin.properties().fonts().size(), 2u);
}

TEST(SkinReportDeathTest, MissingPartsEndTheProcessWithTheirReports)
{
    TempDirectory directory;
    auto path = write(directory, "full.skin", full_skin());
    EXPECT_EXIT(
        {
            Skin skin(path, { 480, 640 }, pocket_pc);
            skin.integer(u"FormMain", u"btnNone", u"TabOrder", 0);
        },
        ::testing::ExitedWithCode(70),
        "report_no_control: Skin file .*full.skin. form .FormMain. has no control .btnNone.");
    EXPECT_EXIT(
        {
            Skin skin(path, { 480, 640 }, pocket_pc);
            skin.integer(u"", u"ScrollH", u"Vertical", 0);
        },
        ::testing::ExitedWithCode(70),
        "report_no_form: Skin file .*full.skin. has no kind .ScrollH.");
    EXPECT_EXIT(
        {
            Skin skin(path, { 480, 640 }, pocket_pc);
            skin.form_point(u"FormOther", u"Size", {});
        },
        ::testing::ExitedWithCode(70),
        "report_no_form: Skin file .*full.skin. has no form .FormOther. for workarea_size=480 536. "
        "list of all forms:");
    EXPECT_EXIT(
        {
            Skin skin(directory.wide("missing.skin"), { 480, 640 }, pocket_pc);
            skin.point(u"FormMain", u"btnOk", u"Size", {});
        },
        ::testing::ExitedWithCode(70),
        "report_no_skin: Skin file .*missing.skin. was invalid, but no check_version performed");
}

// Damaged descriptions: every offset is checked before use.
class SkinDamage : public ::testing::Test {
protected:
    void SetUp() override
    {
        bytes = description(full_skin());
        form = u32(bytes, format::HEADER_VARIANT_TREE);
        control_tree = u32(bytes, form + format::NODE_CONTROL_TREE);
        button = find(control_tree, u"btnOk");
        ASSERT_NE(button, 0u);
    }

    std::uint32_t find(std::uint32_t node, const std::u16string& name)
    {
        for (int steps = 0; node != 0 && steps < 10; ++steps) {
            std::u16string own;
            for (std::uint32_t at = u32(bytes, node + format::NODE_NAME);
                 bytes[at] || bytes[at + 1]; at += 2)
                own.push_back(platform::read_u16le(&bytes[at]));
            if (own == name)
                return node;
            node = u32(bytes, node + (name < own ? format::NODE_LEFT : format::NODE_RIGHT));
        }
        return 0;
    }

    std::uint32_t array(std::uint32_t node, format::PropertyType type)
    {
        return node + format::NODE_ARRAYS + 8 * static_cast<std::uint32_t>(type);
    }

    std::unique_ptr<Skin> load()
    {
        auto skin = std::make_unique<Skin>(
            write(directory, "damaged.skin", bytes), Point { 480, 640 }, pocket_pc);
        EXPECT_TRUE(skin->is_valid());
        return skin;
    }

    TempDirectory directory;
    std::vector<std::uint8_t> bytes;
    std::uint32_t form { 0 };
    std::uint32_t control_tree { 0 };
    std::uint32_t button { 0 };
};

TEST_F(SkinDamage, TreeLinksThatLoopEndTheWalkAsNotFound)
{
    put32(bytes, control_tree + format::NODE_LEFT, control_tree);
    put32(bytes, control_tree + format::NODE_RIGHT, control_tree);
    put32(bytes, form + format::NODE_LEFT, form);
    auto skin = load();
    EXPECT_TRUE(skin->has_form(u"FormMain"));
    EXPECT_FALSE(skin->has_node(u"FormMain", u"aaa"));
    EXPECT_FALSE(skin->has_node(u"FormMain", u"zzz"));
    EXPECT_FALSE(skin->has_form(u"Nope"));
}

TEST_F(SkinDamage, LinksAndNamesOutsideTheDescriptionAreNotFound)
{
    put32(bytes, form + format::NODE_CONTROL_TREE, static_cast<std::uint32_t>(bytes.size()) - 10);
    std::uint32_t scroll = u32(bytes, format::HEADER_KIND_TREE);
    put32(bytes, scroll + format::NODE_NAME, 0xFFFFFFFE);
    auto skin = load();
    EXPECT_FALSE(skin->has_node(u"FormMain", u"btnOk"));
    EXPECT_FALSE(skin->has_node(u"", u"ScrollV"));
    EXPECT_FALSE(skin->has_node(u"", u"ScrollUp"));
}

TEST_F(SkinDamage, BadArraysStringsAndIndexesReadAsMissing)
{
    auto length = static_cast<std::uint32_t>(bytes.size());
    put32(bytes, array(button, format::PropertyType::Integer) + 4, length + 8);
    put32(bytes, array(button, format::PropertyType::Point), length);
    std::uint32_t strings = u32(bytes, array(button, format::PropertyType::String));
    std::uint32_t pictures = u32(bytes, array(button, format::PropertyType::Picture));
    std::uint32_t fonts = u32(bytes, array(button, format::PropertyType::Font));
    ASSERT_LT(length, 0x10000u);
    // "Cursor" sorts first among the strings: its value now starts on the
    // last byte of the description.
    platform::write_u16le(&bytes[strings + 2], static_cast<std::uint16_t>(length - 1));
    bytes[pictures + 18] = 200; // "Normal": beyond the three pictures
    platform::write_u32le(&bytes[fonts + 4], 99); // "Normal": beyond the two fonts
    put32(bytes, form + format::NODE_AUTO_COUNT, 0xFFFFFFFF);
    auto skin = load();
    EXPECT_EQ(skin->integer(u"FormMain", u"btnOk", u"TabOrder", -1), -1);
    EXPECT_EQ(skin->point(u"FormMain", u"btnOk", u"Position", { 1, 1 }), (Point { 1, 1 }));
    EXPECT_EQ(skin->cursor(u"FormMain", u"btnOk", u"Cursor", u"ARROW"), u"ARROW");
    EXPECT_EQ(skin->string(u"FormMain", u"btnOk", u"Text", u""), u"Call_failed");
    EXPECT_TRUE(skin->picture(u"FormMain", u"btnOk", u"Normal", {}).empty());
    EXPECT_EQ(skin->picture(u"FormMain", u"btnOk", u"Pressed", {}).name, u"button_pressed");
    EXPECT_EQ(skin->font(u"FormMain", u"btnOk", u"Normal", {}).size, 12);
    EXPECT_EQ(skin->font(u"FormMain", u"btnOk", u"Small", {}).size, 10);
    EXPECT_EQ(skin->auto_control_count(u"FormMain"), 0u);
}
