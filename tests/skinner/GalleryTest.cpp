// Every standard control on one form, shown by `ringwise-tool show` on the
// screens the program meets, with a script that types into the edit and
// takes a screenshot. RINGWISE_SHOTS_DIR, when set, receives the shots.
#include "tests/skinner/ControlFixture.h"

#include <cstdlib>
#include <filesystem>

using namespace control_test;

namespace {

class GalleryTest : public ControlFixture {
protected:
    std::u16string write_gallery()
    {
        auto look = [&](skinc::Node& node, const std::u16string& name, platform::Color picture,
                        platform::Color text) {
            add_picture(node, name, solid(picture));
            add_color(node, name, text);
        };
        skinc::Node title = control_node(u"title", 0, 0, 10, 10);
        add_string(title, u"Action", u"CAPTION");
        add_string(title, u"Text", u"Controls");
        skinc::Node label = control_node(u"label", 10, 6, 220, 48);
        add_string(label, u"Text", u"A wrapped frame whose text breaks over lines at its blanks");
        add_integer(label, u"Wrap", 1);
        add_integer(label, u"Ellipsis", 1);
        add_string(label, u"HAlignment", u"LEFT");
        add_point(label, u"BorderMin", 4, 2);
        look(label, u"Normal", platform::make_color(230, 230, 240), BLACK);
        skinc::Node ok = control_node(u"ok", 10, 58, 100, 30);
        look(ok, u"Normal", platform::make_color(40, 80, 200), WHITE);
        look(ok, u"Pressed", platform::make_color(20, 140, 60), WHITE);
        add_string(ok, u"Text", u"OK");
        skinc::Node check = control_node(u"check", 10, 96, 100, 30);
        look(check, u"Normal", GREY, WHITE);
        look(check, u"CheckedNormal", platform::make_color(20, 140, 60), WHITE);
        add_string(check, u"Text", u"Sound off");
        add_string(check, u"CheckedText", u"Sound on");
        add_integer(check, u"Checked", 1);
        skinc::Node picture = control_node(u"pic", 130, 58, 100, 68);
        add_picture(picture, u"Picture", solid(platform::make_color(220, 60, 40), 40, 20));
        skinc::Node bar = control_node(u"bar", 10, 134, 220, 18);
        add_picture(bar, u"Background", solid(platform::make_color(200, 200, 200)));
        add_picture(bar, u"Progress", solid(platform::make_color(20, 160, 60)));
        add_picture(bar, u"Track", solid(platform::make_color(40, 80, 200)));
        add_integer(bar, u"TrackSize", 8);
        skinc::Node edit = control_node(u"edit", 10, 160, 220, 30);
        add_point(edit, u"BorderMin", 4, 4);
        add_picture(edit, u"Normal", solid(platform::make_color(250, 250, 220)));
        add_color(edit, u"Normal", BLACK);
        add_color(edit, u"Selection", platform::make_color(40, 80, 200));
        skinc::Node scroll = control_node(u"sb", 210, 196, 20, 60);
        add_string(scroll, u"KindMin", u"SbMin");
        add_string(scroll, u"KindMax", u"SbMax");
        add_string(scroll, u"KindSpace", u"SbSpace");
        add_string(scroll, u"KindTrack", u"SbTrack");
        add_integer(scroll, u"Vertical", 1);
        skinc::Node panel = control_node(u"panel", 10, 196, 190, 60);
        add_string(panel, u"FormTemplate", u"Inner");
        skinc::Node form = form_node(
            u"Gallery", { title, label, ok, check, picture, bar, edit, scroll, panel }, 240, 260);
        add_picture(form, u"Background", solid(WHITE));
        form.auto_controls = { { u"title", u"Auto.Button" }, { u"label", u"Auto.Frame" },
            { u"ok", u"Auto.Button" }, { u"check", u"Auto.CheckBox" }, { u"pic", u"Auto.Picture" },
            { u"bar", u"Auto.Progress" }, { u"edit", u"Auto.Edit" }, { u"sb", u"Auto.ScrollBar" },
            { u"panel", u"Auto.Panel" } };

        skinc::Node inner = skin_builder::variant(u"Inner", 190, 60);
        add_picture(inner, u"Background", solid(platform::make_color(235, 245, 235)));
        skinc::Node note = control_node(u"note", 6, 2, 178, 22);
        add_string(note, u"Text", u"Panel content");
        add_string(note, u"HAlignment", u"LEFT");
        add_color(note, u"Normal", BLACK);
        skinc::Node go = control_node(u"go", 6, 26, 80, 28);
        add_string(go, u"AnchorY", u"MAX_SIDE");
        look(go, u"Normal", platform::make_color(40, 80, 200), WHITE);
        add_string(go, u"Text", u"Go");
        inner.controls = { note, go };
        inner.auto_controls = { { u"note", u"Auto.Frame" }, { u"go", u"Auto.Button" } };

        std::vector<skinc::Node> nodes;
        const std::pair<const char16_t*, platform::Color> parts[] = {
            { u"SbMin", platform::make_color(120, 120, 120) },
            { u"SbMax", platform::make_color(120, 120, 120) },
            { u"SbSpace", platform::make_color(220, 220, 220) },
            { u"SbTrack", platform::make_color(40, 80, 200) },
        };
        for (auto [name, colour] : parts) {
            skinc::Node node = skin_builder::node(name);
            add_picture(node, u"Normal", solid(colour));
            nodes.push_back(node);
        }
        skinc::SkinSource source = skin_builder::skin({ form, inner });
        source.design_sizes[0] = { 240, 320 };
        source.design_sizes[1] = {};
        source.pictures = pictures_;
        source.nodes = nodes;
        return skin_builder::write(temp, "gallery.skin", source);
    }

    // Shows the gallery on a screen and returns the screenshot's path.
    std::string show(const std::string& screen, const std::string& platform_type)
    {
        std::string name = "gallery-" + platform_type + "-" + screen + ".png";
        std::string shot = temp.native(name);
        // The named command closes the preview: on a Smartphone the back key
        // in the focused edit deletes a character instead of leaving.
        std::string path = script("show.txt",
            "wait-form Gallery\ntap-control edit\ntext Ringwise\nkeydown Shift\nkey Left\nkey "
            "Left\nkey Left\nkeyup Shift\nwait 200\nscreenshot "
                + shot + "\ncommand #close#\n");
        std::string command = "RINGWISE_HEADLESS=1 RINGWISE_SCRIPT='" + path
            + "' timeout 60 '" RINGWISE_BINARY_DIR "/bin/ringwise-tool' show '"
            + platform::to_utf8(write_gallery()) + "' Gallery --screen " + screen + " --platform "
            + platform_type + " > '" + temp.native("errors.txt") + "' 2>&1";
        int status = std::system(command.c_str());
        EXPECT_EQ(status, 0) << file_text("errors.txt");
        if (const char* keep = std::getenv("RINGWISE_SHOTS_DIR")) {
            std::filesystem::create_directories(keep);
            std::filesystem::copy_file(shot, std::string(keep) + "/" + name,
                std::filesystem::copy_options::overwrite_existing);
        }
        return shot;
    }
};

} // namespace

TEST_F(GalleryTest, EveryControlShowsOnEachScreen)
{
    const std::pair<const char*, const char*> screens[] = { { "240x320", "PocketPC" },
        { "480x640", "PocketPC" }, { "360x720", "PocketPC" }, { "240x320", "Smartphone" } };
    for (auto [screen, type] : screens) {
        SCOPED_TRACE(std::string(screen) + " " + type);
        std::string shot = show(screen, type);
        ASSERT_TRUE(std::filesystem::exists(shot));
        EXPECT_GT(std::filesystem::file_size(shot), 1000u);
    }
}
