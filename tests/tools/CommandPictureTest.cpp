#include "platform/graphics/ImageDecoder.h"
#include "platform/graphics/PngWriter.h"

#include "tests/skinner/SkinBuilder.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

using platform::Bitmap;
using platform::make_color;

namespace {

const std::string TOOL = RINGWISE_BINARY_DIR "/bin/ringwise-tool";

class PictureCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("RINGWISE_REGISTRY", temp.native("registry.db").c_str(), 1);
        // A 10 x 1 strip whose pixel x has blue value x, and its 1-bit mask
        // that hides the first pixel.
        Bitmap strip(10, 1);
        Bitmap mask(10, 1, make_color(255, 255, 255));
        for (int x = 0; x < 10; ++x)
            strip.set_pixel(x, 0, make_color(0, 0, x));
        mask.set_pixel(0, 0, make_color(0, 0, 0));
        ASSERT_TRUE(platform::write_png(strip, temp.native("strip.png")));
        ASSERT_TRUE(platform::write_png(mask, temp.native("strip_1.png")));

        skinc::PictureProperty nine { u"Normal", { 0, 0, 3, 0, 7, 1, 10, 1 }, 0, 1 };
        skinc::Node control = skin_builder::node(u"btn");
        control.properties.pictures.push_back(nine);
        skinc::Node form = skin_builder::variant(u"Form", 100, 100);
        form.controls.push_back(control);
        form.properties.pictures.push_back({ u"Background", { 0, 0, 0, 0, 10, 1, 10, 1 }, 0, 0 });
        skinc::Node thumb = skin_builder::node(u"Thumb");
        thumb.properties.pictures.push_back(nine);
        skinc::SkinSource source = skin_builder::skin({ form });
        source.nodes.push_back(thumb);
        source.pictures = { u"strip" };
        skin = skin_builder::write(temp, "test.skin", source);
    }

    void TearDown() override { unsetenv("RINGWISE_REGISTRY"); }

    int run(const std::string& arguments)
    {
        std::string command = TOOL + " picture " + arguments + " >'" + temp.native("out.txt")
            + "' 2>'" + temp.native("err.txt") + "'";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::optional<Bitmap> output()
    {
        std::string bytes = temp.read("out.png");
        return platform::decode_image(reinterpret_cast<const std::uint8_t*>(bytes.data()),
            bytes.size(), platform::ImageType::Png);
    }

    std::string path(const std::string& name) const { return "'" + temp.native(name) + "'"; }

    TempDirectory temp;
    std::u16string skin;
};

} // namespace

TEST_F(PictureCommand, DrawsAControlPictureWithItsBordersOverTheBackground)
{
    ASSERT_EQ(run(path("test.skin") + " Form btn Normal 30x1 " + path("out.png")
                  + " --background 102030"),
        0)
        << temp.read("err.txt");
    auto drawn = output();
    ASSERT_TRUE(drawn);
    ASSERT_EQ(drawn->size(), (platform::Size { 30, 1 }));
    // The masked first pixel shows the background.
    EXPECT_EQ(drawn->pixel(0, 0), make_color(0x10, 0x20, 0x30));
    EXPECT_EQ(drawn->pixel(2, 0), make_color(0, 0, 2));
    EXPECT_EQ(drawn->pixel(3, 0), make_color(0, 0, 3));
    EXPECT_EQ(drawn->pixel(26, 0), make_color(0, 0, 6));
    EXPECT_EQ(drawn->pixel(29, 0), make_color(0, 0, 9));
}

TEST_F(PictureCommand, ReadsFormLevelAndTopLevelPictures)
{
    ASSERT_EQ(run(path("test.skin") + " Form '' Background 20x1 " + path("out.png")), 0)
        << temp.read("err.txt");
    auto form = output();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->pixel(0, 0), make_color(0, 0, 0));
    EXPECT_EQ(form->pixel(13, 0), make_color(0, 0, 3));

    ASSERT_EQ(
        run("--screen 240x320 " + path("test.skin") + " '' Thumb Normal 6x1 " + path("out.png")), 0)
        << temp.read("err.txt");
    auto thumb = output();
    ASSERT_TRUE(thumb);
    EXPECT_EQ(thumb->pixel(5, 0), make_color(0, 0, 9));
}

TEST_F(PictureCommand, FailsPlainlyOnBadSkinsNodesAndArguments)
{
    temp.write("broken.skin", "not a skin");
    EXPECT_EQ(run(path("broken.skin") + " Form btn Normal 30x1 " + path("out.png")), 1);
    EXPECT_NE(temp.read("err.txt").find("invalid"), std::string::npos);

    EXPECT_EQ(run(path("test.skin") + " Form nobody Normal 30x1 " + path("out.png")), 1);
    EXPECT_NE(temp.read("err.txt").find("no control nobody"), std::string::npos);
    EXPECT_EQ(run(path("test.skin") + " Other '' Background 30x1 " + path("out.png")), 1);
    EXPECT_EQ(run(path("test.skin") + " Form btn Missing 30x1 " + path("out.png")), 1);
    EXPECT_FALSE(temp.exists("out.png"));

    EXPECT_EQ(run(path("test.skin") + " Form btn Normal 30 " + path("out.png")), 2);
    EXPECT_EQ(
        run(path("test.skin") + " Form btn Normal 30x1 " + path("out.png") + " --background red"),
        2);
}
