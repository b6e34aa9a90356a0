#include "app/dialogs/FormAbout.h"

#include "platform/graphics/PngWriter.h"

#include "tests/app/dialogs/DialogFixture.h"

#include <algorithm>
#include <chrono>
#include <sys/stat.h>
#include <thread>

using namespace dialog_test;
using dialogs::FormAbout;

namespace {

// The program's folder of the tests: "portal.txt" and "fun", a language
// file for the skin, and a stand-in browser first on PATH that writes each
// address it is given as a line of its own.
class FormAboutTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        skin = load_dialogs();
        std::filesystem::create_directories(temp.native("app/fun"));
        opened = temp.native("opened.txt");
        temp.write(
            "browser/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$RINGWISE_TEST_OUT\"\n");
        ::chmod(temp.native("browser/xdg-open").c_str(), 0755);
        const char* path = std::getenv("PATH");
        saved_path = path ? path : "";
        ::setenv("PATH", (temp.native("browser") + ":" + saved_path).c_str(), 1);
        ::setenv("RINGWISE_TEST_OUT", opened.c_str(), 1);
    }
    void TearDown() override
    {
        ::setenv("PATH", saved_path.c_str(), 1);
        ::unsetenv("RINGWISE_TEST_OUT");
        DialogFixture::TearDown();
    }

    void logo(const std::string& name, int width, int height, platform::Color color)
    {
        ASSERT_TRUE(platform::write_png(
            platform::Bitmap(width, height, color), temp.native("app/fun/" + name)));
    }
    void language(const std::string& text)
    {
        temp.write("English.lng", text);
        ASSERT_TRUE(skin->set_language(temp.wide("English.lng")));
    }
    std::unique_ptr<FormAbout> about()
    {
        return std::make_unique<FormAbout>(
            nullptr, *skin, u"About", u"Tarn Ringwise v4.05", temp.wide("app"));
    }

    // The addresses the browser was given, once `count` have arrived.
    std::vector<std::string> addresses(std::size_t count)
    {
        std::vector<std::string> lines;
        for (int i = 0; i < 1000; ++i) {
            std::istringstream text(temp.read("opened.txt"));
            lines.clear();
            for (std::string line; std::getline(text, line);)
                lines.push_back(line);
            if (lines.size() >= count)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    std::unique_ptr<skinner::Skin> skin;
    std::string opened;
    std::string saved_path;
};

} // namespace

TEST_F(FormAboutTest, WithoutAPortalFileTheKeysHaveNoPrefix)
{
    logo("small.png", 40, 30, RED);
    language("_LOGO_S small.png\nAcme_LOGO_S other.png\nAbout About Ringwise\n");
    auto form = about();
    EXPECT_EQ(form->portal(), u"");
    ASSERT_TRUE(form->logo().is_loaded());
    EXPECT_EQ(form->logo().natural_size(), (platform::Size { 40, 30 }));
    EXPECT_EQ(platform::window_text(form->window()), u"About Ringwise");

    play({ "wait-form FormAbout", "dump " + temp.native("about.txt"), "tap-control btnOk" });
    form->do_modal();
    EXPECT_NE(
        dumped("about.txt", "frmProduct").find("text=Tarn Ringwise v4.05"), std::string::npos);
    EXPECT_NE(dumped("about.txt", "frmLOGO").find("visible=1"), std::string::npos);
}

TEST_F(FormAboutTest, ThePortalPrefixesTheLogoKeys)
{
    temp.write("app/portal.txt", "// the distribution\nPortal Acme\n");
    logo("acme_s.png", 40, 30, RED);
    logo("acme_m.png", 100, 70, BLUE);
    language("_LOGO_S missing.png\nAcme_LOGO_S acme_s.png\nAcme_LOGO_M acme_m\n");
    auto form = about();
    EXPECT_EQ(form->portal(), u"Acme");
    EXPECT_TRUE(form->shows_medium_logo());
    EXPECT_EQ(form->logo().natural_size(), (platform::Size { 100, 70 }));
}

TEST_F(FormAboutTest, AMediumLogoLargerThanTheFrameFallsBackToTheSmallOne)
{
    logo("small.png", 40, 30, RED);
    logo("wide.png", 121, 60, BLUE);
    logo("tall.png", 100, 81, BLUE);
    for (const char* medium : { "wide.png", "tall.png", "absent.png" }) {
        SCOPED_TRACE(medium);
        language(std::string("_LOGO_S small.png\n_LOGO_M ") + medium + "\n");
        auto form = about();
        EXPECT_FALSE(form->shows_medium_logo());
        EXPECT_EQ(form->logo().natural_size(), (platform::Size { 40, 30 }));
    }
}

TEST_F(FormAboutTest, WithoutAValidLogoNeitherLogoNorItsButtonShows)
{
    temp.write("app/fun/broken.png", "not a picture");
    language("_LOGO_S broken.png\n_LOGO_M absent.png\n");
    auto form = about();
    EXPECT_FALSE(form->logo().is_loaded());
    play({ "wait-form FormAbout", "dump " + temp.native("about.txt"), "key Escape" });
    form->do_modal();
    EXPECT_NE(dumped("about.txt", "frmLOGO").find("visible=0"), std::string::npos);
    EXPECT_NE(dumped("about.txt", "btnLOGO").find("visible=0"), std::string::npos);
    EXPECT_NE(dumped("about.txt", "btnTarn").find("visible=1"), std::string::npos);
}

TEST_F(FormAboutTest, TheButtonsOpenTheTranslatedPagesInTheBrowser)
{
    logo("small.png", 40, 30, RED);
    language("_LOGO_S small.png\n_LOGO_URL http://portal.example/ringwise\n"
             "Tarn_URL file:///usr/share/doc/ringwise/README.md\n");
    auto form = about();
    play({ "wait-form FormAbout", "tap-control btnLOGO", "tap-control btnTarn",
        "tap-control btnOk" });
    form->do_modal();
    EXPECT_EQ(addresses(2),
        (std::vector<std::string> {
            "file:///usr/share/doc/ringwise/README.md", "http://portal.example/ringwise" }));
}

TEST_F(FormAboutTest, AMissingTranslationOpensNoPage)
{
    logo("small.png", 40, 30, RED);
    language("_LOGO_S small.png\n_LOGO_URL http://portal.example/ringwise\n");
    auto form = about();
    // "Tarn_URL" has no translation: the key itself is not taken as an address.
    play({ "wait-form FormAbout", "tap-control btnTarn", "tap-control btnLOGO",
        "tap-control btnOk" });
    form->do_modal();
    EXPECT_EQ(addresses(1), (std::vector<std::string> { "http://portal.example/ringwise" }));
}
