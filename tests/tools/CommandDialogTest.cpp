// `ringwise-tool dialog` runs the file explorer dialog and the About form
// on the dialogs skin the build ships, on every screen the program meets.
// RINGWISE_SHOTS_DIR, when set, receives the screenshots.
#include "platform/graphics/ImageDecoder.h"

#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

namespace {

const std::string BIN = RINGWISE_BINARY_DIR "/bin";

struct Screen {
    const char* size;
    const char* platform;
};
constexpr Screen SCREENS[] = { { "240x320", "PocketPC" }, { "480x640", "PocketPC" },
    { "360x720", "PocketPC" }, { "240x320", "Smartphone" }, { "176x220", "Smartphone" } };

class DialogCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(temp.native("tree/Backups"));
        std::filesystem::create_directories(temp.native("tree/Recordings"));
        temp.write("tree/tags.vcb", "backup");
        temp.write("tree/greeting.wav", "RIFF");
        temp.write("English.lng",
            "Label_file_name File name:\nCancel Cancel\nAbout About\n"
            "About_note Voice dialling by name\nProject_page Project page\n"
            "Ringwise_LOGO_S ringwise_s.png\nRingwise_LOGO_M ringwise_m.png\n"
            "Ringwise_LOGO_URL http://portal.example/ringwise\n"
            "Tarn_URL file:///usr/share/doc/ringwise/README.md\n");
        temp.write("browser/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$OPENED\"\n");
        ::chmod(temp.native("browser/xdg-open").c_str(), 0755);
    }

    int run(const std::string& arguments, const Screen& screen, const std::string& script)
    {
        std::ofstream(temp.native("script.txt")) << script;
        std::string command = "cd '" + temp.native() + "' && PATH='" + temp.native("browser")
            + "':$PATH OPENED='" + temp.native("opened.txt")
            + "' RINGWISE_HEADLESS=1 RINGWISE_SCRIPT=script.txt RINGWISE_REGISTRY='"
            + temp.native("registry.db") + "' timeout 60 '" + BIN + "/ringwise-tool' dialog "
            + arguments + " --language English.lng --screen " + screen.size + " --platform "
            + screen.platform + " >out.txt 2>err.txt";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Checks the screenshot and keeps it when asked to.
    void look_at(const std::string& name, const Screen& screen)
    {
        std::string bytes = temp.read(name);
        auto shot = platform::decode_image(reinterpret_cast<const std::uint8_t*>(bytes.data()),
            bytes.size(), platform::ImageType::Png);
        ASSERT_TRUE(shot) << name;
        EXPECT_EQ(
            std::to_string(shot->width()) + "x" + std::to_string(shot->height()), screen.size);
        if (const char* keep = std::getenv("RINGWISE_SHOTS_DIR")) {
            std::filesystem::create_directories(keep);
            std::filesystem::copy_file(temp.native(name), std::string(keep) + "/" + name,
                std::filesystem::copy_options::overwrite_existing);
        }
    }

    static std::string shot_name(const std::string& which, const Screen& screen)
    {
        return which + "-" + screen.platform + "-" + screen.size + ".png";
    }

    TempDirectory temp;
};

} // namespace

TEST_F(DialogCommand, TheExplorerReturnsATypedNameInItsFolderOnEveryScreen)
{
    for (const Screen& screen : SCREENS) {
        SCOPED_TRACE(std::string(screen.size) + " " + screen.platform);
        std::string shot = shot_name("explorer", screen);
        ASSERT_EQ(run("explorer --folder tree --extension vcb", screen,
                      "wait-form FileExplorerDialog\nkey Down\nkey Down\nkey Down\nwait 100\n"
                      "screenshot "
                          + shot + "\ntap-control edtPath\nkey End\ntext .old\nkey Return\n"),
            0)
            << temp.read("err.txt");
        // The third row below the up entry is the one backup the filter lets through.
        EXPECT_EQ(temp.read("out.txt"), "path\t" + temp.native("tree/tags.vcb.old") + "\n");
        look_at(shot, screen);
    }
}

TEST_F(DialogCommand, TheAboutFormShowsItsLogoAndOpensTheMakersPage)
{
    for (const Screen& screen : SCREENS) {
        SCOPED_TRACE(std::string(screen.size) + " " + screen.platform);
        std::filesystem::remove(temp.native("opened.txt"));
        std::string shot = shot_name("about", screen);
        ASSERT_EQ(run("about", screen,
                      "wait-form FormAbout\nwait 100\nscreenshot " + shot
                          + "\ntap-control btnTarn\nkey Escape\n"),
            0)
            << temp.read("err.txt");
        look_at(shot, screen);
        // The browser starts detached: wait for it, ten seconds at most.
        for (int i = 0; i < 1000 && !temp.exists("opened.txt"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(temp.read("opened.txt"), "file:///usr/share/doc/ringwise/README.md\n");
    }
}
