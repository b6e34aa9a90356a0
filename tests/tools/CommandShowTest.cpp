#include "platform/graphics/ImageDecoder.h"
#include "platform/graphics/PngWriter.h"

#include "tests/skinner/SkinBuilder.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sys/wait.h>

using platform::Bitmap;
using platform::make_color;

namespace {

const std::string TOOL = RINGWISE_BINARY_DIR "/bin/ringwise-tool";
constexpr platform::Color TEAL = make_color(0, 128, 128);

// `ringwise-tool show` on a skin with one form of a solid background,
// driven by a script of user actions on the headless screen.
class ShowCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(platform::write_png(Bitmap(4, 4, TEAL), temp.native("back.png")));
        skinc::Node form = skin_builder::variant(u"FormDemo", 480, 300);
        form.properties.integers = { { u"StartPositionX", 1 }, { u"StartPositionY", 5 } };
        form.properties.pictures.push_back({ u"Background", { 0, 0, 0, 0, 4, 4, 4, 4 }, 0, 1 });
        skinc::SkinSource source = skin_builder::skin({ form });
        source.design_sizes[0] = { 480, 640 };
        source.design_sizes[1] = {};
        source.pictures = { u"back" };
        skin = temp.native("demo.skin");
        skin_builder::write(temp, "demo.skin", source);
    }

    int run(const std::string& arguments, const std::string& script = {})
    {
        std::string environment = "RINGWISE_HEADLESS=1 RINGWISE_REGISTRY='"
            + temp.native("registry.db") + "' RINGWISE_PLATFORM=PocketPC ";
        if (!script.empty()) {
            std::ofstream(temp.native("script.txt")) << script;
            environment += "RINGWISE_SCRIPT='" + temp.native("script.txt") + "' ";
        }
        std::string command = "cd '" + temp.native() + "' && " + environment + TOOL + " show "
            + arguments + " >out.txt 2>err.txt";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    TempDirectory temp;
    std::string skin;
};

} // namespace

TEST_F(ShowCommand, OpensTheFormPlacedOnTheScreenAndClosesOnEscape)
{
    ASSERT_EQ(run(skin + " FormDemo --screen 480x640",
                  "# the form comes up, is looked at, and closes\n"
                  "wait-form FormDemo\n"
                  "dump dump.txt\n"
                  "screenshot shot.png\n"
                  "key Escape\n"),
        0)
        << temp.read("err.txt");
    // Centred across and at the bottom of the work area, above the bottom bar.
    EXPECT_EQ(temp.read("dump.txt"), "form FormDemo active 0 288 480 300\n");
    std::string png = temp.read("shot.png");
    auto shot = platform::decode_image(
        reinterpret_cast<const std::uint8_t*>(png.data()), png.size(), platform::ImageType::Png);
    ASSERT_TRUE(shot);
    ASSERT_EQ(shot->size(), (platform::Size { 480, 640 }));
    EXPECT_EQ(shot->pixel(240, 300), TEAL);
    EXPECT_EQ(shot->pixel(0, 587), TEAL);
    // The system bars lie outside the form.
    EXPECT_NE(shot->pixel(240, 10), TEAL);
    EXPECT_NE(shot->pixel(240, 630), TEAL);
}

TEST_F(ShowCommand, RefusesAnInvalidSkinAKindItLacksAndBadUsage)
{
    temp.write("broken.skin", "not a skin");
    EXPECT_EQ(run(temp.native("broken.skin") + " FormDemo"), 1);
    EXPECT_NE(temp.read("err.txt").find("is not a valid skin"), std::string::npos);
    EXPECT_EQ(run(skin + " FormOther"), 1);
    EXPECT_NE(temp.read("err.txt").find("has no form FormOther"), std::string::npos);
    EXPECT_EQ(run(skin), 2);
    EXPECT_EQ(run(skin + " FormDemo --platform Palm"), 2);
}

TEST_F(ShowCommand, AFailingScriptLineEndsTheProgramWithCodeThree)
{
    EXPECT_EQ(
        run(skin + " FormDemo", "wait-form FormDemo\ntap-control btnMissing\nkey Escape\n"), 3);
    EXPECT_NE(temp.read("err.txt").find("script: tap-control btnMissing: "), std::string::npos)
        << temp.read("err.txt");
}
