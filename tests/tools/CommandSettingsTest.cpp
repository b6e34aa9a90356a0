// `ringwise-tool settings` runs the settings form in a program folder of its
// own (the tool, the skins and the languages the build ships), with a vCard
// contacts file and WAV files as microphone and speaker, driven by scripts.
// RINGWISE_SHOTS_DIR, when set, receives the screenshots.
#include "tests/audio/AudioTestSupport.h"
#include "tests/engine/Recordings.h"
#include "tests/support/TempDirectory.h"

#include "audio/FileReaderWAVPCM.h"
#include "audio/FileWriterWAVPCM.h"
#include "platform/graphics/ImageDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const fs::path BIN = fs::path(RINGWISE_BINARY_DIR) / "bin";

// Bob's number is the only one with "0777".
constexpr char CONTACTS[] = "BEGIN:VCARD\nVERSION:3.0\nUID:anna\nFN:Anna Berg\n"
                            "TEL;TYPE=CELL:601 111\nTEL;TYPE=WORK:555 1234\nEND:VCARD\n"
                            "BEGIN:VCARD\nVERSION:3.0\nUID:bob\nFN:Bob Carlsson\n"
                            "TEL;TYPE=CELL:0777 123\nEND:VCARD\n"
                            "BEGIN:VCARD\nVERSION:3.0\nUID:cleo\nFN:Cleo Danberg\n"
                            "TEL;TYPE=HOME:22 33 44\nEND:VCARD\n";

struct ToolRun {
    int status { -1 };
    std::string out;
    std::string err;
};

class SettingsCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::copy_file(BIN / "ringwise-tool", temp.native("ringwise-tool"));
        fs::copy(BIN / "skins", temp.native("skins"), fs::copy_options::recursive);
        for (const char* name :
            { "English.lng", "German.lng", "ringwise-help.html", "ringwise-hilfe.html" })
            fs::copy_file(BIN / name, temp.native(name));
        temp.write("contacts.vcf", CONTACTS);
        // The desktop's handler only notes what it was asked to open.
        temp.write("browser/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$OPENED\"\n");
        fs::permissions(temp.native("browser/xdg-open"), fs::perms::owner_all);
    }

    // Runs the tool in the folder with the script (its lines joined).
    ToolRun run(const std::string& arguments, const std::vector<std::string>& script,
        const std::string& screen = "240x320", const std::string& platform = "PocketPC")
    {
        std::string text;
        for (const std::string& line : script)
            text += line + "\n";
        temp.write("script.txt", text);
        std::string command = "cd '" + temp.native() + "' && PATH='" + temp.native("browser")
            + "':$PATH OPENED='" + temp.native("opened.txt")
            + "' RINGWISE_HEADLESS=1 RINGWISE_SCRIPT=script.txt RINGWISE_CONTACTS=contacts.vcf "
              "RINGWISE_REGISTRY=registry.db RINGWISE_MIC=mic.wav RINGWISE_SPEAKER=speaker.wav "
              "RINGWISE_SCREEN="
            + screen + " RINGWISE_PLATFORM=" + platform + " timeout 60 ./ringwise-tool " + arguments
            + " >out.txt 2>err.txt";
        int status = std::system(command.c_str());
        return { WIFEXITED(status) ? WEXITSTATUS(status) : -1, temp.read("out.txt"),
            temp.read("err.txt") };
    }

    // The microphone's file: the lead-in, then `rest`.
    void write_mic(const std::vector<std::int16_t>& rest)
    {
        std::vector<std::int16_t> samples = test_recordings::noise(4410, 30, 7u);
        samples.insert(samples.end(), rest.begin(), rest.end());
        auto tail
            = test_recordings::noise(66150 - std::min<std::size_t>(66150, samples.size()), 30, 9u);
        samples.insert(samples.end(), tail.begin(), tail.end());
        audio::FileWriterWAVPCM writer(temp.wide("mic.wav"));
        writer.on_data(audio_test::sample_block(samples));
    }

    std::vector<std::int16_t> speaker_samples()
    {
        audio::FileReaderWAVPCM reader(temp.wide("speaker.wav"));
        return audio_test::samples_of(reader.get_data(1 << 24));
    }

    // Bob gets a tag from the microphone's file through the tool.
    void tag_bob()
    {
        std::string command = "cd '" + temp.native()
            + "' && RINGWISE_CONTACTS=contacts.vcf RINGWISE_REGISTRY=registry.db ./ringwise-tool "
              "tag $(RINGWISE_CONTACTS=contacts.vcf RINGWISE_REGISTRY=registry.db ./ringwise-tool "
              "contacts | grep Bob | cut -f1) '0777 123' mic.wav >/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    // The line of the control `id` in a dump.
    std::string dumped(const std::string& dump, const std::string& id)
    {
        std::istringstream lines(temp.read(dump));
        for (std::string line; std::getline(lines, line);)
            if (line.starts_with("control " + id + " "))
                return line;
        return {};
    }

    static bool has(const std::string& text, const std::string& part)
    {
        return text.find(part) != std::string::npos;
    }

    void look_at(const std::string& name, const std::string& screen)
    {
        std::string bytes = temp.read(name);
        auto shot = platform::decode_image(reinterpret_cast<const std::uint8_t*>(bytes.data()),
            bytes.size(), platform::ImageType::Png);
        ASSERT_TRUE(shot) << name;
        EXPECT_EQ(std::to_string(shot->width()) + "x" + std::to_string(shot->height()), screen);
        if (const char* keep = std::getenv("RINGWISE_SHOTS_DIR")) {
            fs::create_directories(keep);
            fs::copy_file(temp.native(name), std::string(keep) + "/" + name,
                fs::copy_options::overwrite_existing);
        }
    }

    TempDirectory temp;
};

TEST_F(SettingsCommand, RecordingATagStoresWhatTheToolTrainsAndClearsTheFilter)
{
    write_mic(test_recordings::capture(test_recordings::load("margaret-slow")));
    ASSERT_EQ(
        std::system(("cd '" + temp.native() + "' && ./ringwise-tool train mic.wav tool >/dev/null")
                        .c_str()),
        0);

    // The filter hides every row but Bob's, which is recorded; a screenshot
    // while the notice shows and the progress has moved. The recording ends
    // with the notice hidden and its playback.
    ToolRun result = run("settings",
        { "wait-form FormSettings", "text 0777", "key Down", "command Record",
            "wait-until progress value!=0", "text x", "dump recording.txt",
            "screenshot recording.png", "wait-until message visible=0", "wait-sounds 1",
            "dump after.txt", "command Exit" });
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(has(dumped("recording.txt", "message"), "visible=1"));
    EXPECT_TRUE(has(dumped("recording.txt", "grid"), "enabled=0"));
    // Typing while recording leaves the filter alone.
    EXPECT_TRUE(has(dumped("recording.txt", "grid"), "rows=1 "));
    EXPECT_TRUE(dumped("recording.txt", "lblSearch").ends_with("text=0777"));
    look_at("recording.png", "240x320");

    EXPECT_EQ(temp.read("commands/001.tag"), temp.read("tool.tag"));
    EXPECT_EQ(temp.read("commands/001.wav"), temp.read("tool.wav"));
    EXPECT_TRUE(temp.exists("commands/commands.xml"));
    // Out of recording mode, the filter cleared, Bob still selected.
    EXPECT_TRUE(has(dumped("after.txt", "message"), "visible=0"));
    EXPECT_TRUE(has(dumped("after.txt", "grid"), "rows=4 "));
    EXPECT_TRUE(has(dumped("after.txt", "grid"), "Bob Carlsson, 0777 123"));
    EXPECT_TRUE(has(dumped("after.txt", "btnPlay"), "enabled=1"));
    EXPECT_TRUE(has(result.out, "selected\t"));
    EXPECT_TRUE(has(result.out, "\t0777 123"));

    // The new recording was played back.
    audio::FileReaderWAVPCM recording(temp.wide("commands/001.wav"));
    std::size_t recorded = audio_test::samples_of(recording.get_data(1 << 24)).size();
    EXPECT_GE(speaker_samples().size(), recorded);
}

TEST_F(SettingsCommand, ASilentCaptureStoresNothing)
{
    {
        audio::FileWriterWAVPCM writer(temp.wide("mic.wav"));
        writer.on_data(audio_test::sample_block(std::vector<std::int16_t>(66150, 0)));
    }
    ToolRun result = run("settings",
        { "wait-form FormSettings", "key Down", "command Record", "wait-until message visible=1",
            "wait-until message visible=0", "dump after.txt", "command Exit" });
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_FALSE(temp.exists("commands/001.tag"));
    EXPECT_FALSE(temp.exists("commands/commands.xml"));
    EXPECT_TRUE(has(dumped("after.txt", "message"), "visible=0"));
    EXPECT_TRUE(has(dumped("after.txt", "grid"), "enabled=1"));
}

TEST_F(SettingsCommand, PlayPlaysTheTagIntoTheSpeaker)
{
    write_mic(test_recordings::capture(test_recordings::load("office-slow")));
    tag_bob();
    // The tagged command is the first row.
    ToolRun result = run("settings",
        { "wait-form FormSettings", "key Down", "tap-control btnPlay", "wait-sounds 1",
            "command Exit" });
    ASSERT_EQ(result.status, 0) << result.err;
    audio::FileReaderWAVPCM recording(temp.wide("commands/001.wav"));
    auto expected = audio_test::samples_of(recording.get_data(1 << 24));
    auto played = speaker_samples();
    ASSERT_GE(played.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), played.begin()));
}

TEST_F(SettingsCommand, ReturnOnATaggedRowOffersRecordPlayAndDeleteInAMenu)
{
    write_mic(test_recordings::capture(test_recordings::load("office-slow")));
    tag_bob();
    // Return opens the row's menu; the second entry plays the tag.
    ToolRun result = run("settings",
        { "wait-form FormSettings", "key Down", "key Return",
            "screenshot " + temp.native("context.png"), "key Down", "key Down", "key Return",
            "wait-sounds 1", "command Exit" });
    ASSERT_EQ(result.status, 0) << result.err;
    audio::FileReaderWAVPCM recording(temp.wide("commands/001.wav"));
    auto expected = audio_test::samples_of(recording.get_data(1 << 24));
    auto played = speaker_samples();
    ASSERT_GE(played.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), played.begin()));
    if (const char* shots = std::getenv("RINGWISE_SHOTS_DIR"))
        std::filesystem::copy_file(temp.native("context.png"),
            std::string(shots) + "/settings-context.png",
            std::filesystem::copy_options::overwrite_existing);
}

TEST_F(SettingsCommand, BackupThenDeleteThenRestoreBringsTheTagBack)
{
    write_mic(test_recordings::capture(test_recordings::load("office-slow")));
    tag_bob();
    std::string tag = temp.read("commands/001.tag");
    std::string backup = temp.native("tags");
    ToolRun result = run("settings",
        { "wait-form FormSettings", "command Backup_tags", "wait-form FileExplorerDialog",
            "tap-control edtPath", "text " + backup, "tap-control btnOk", "wait-form FormSettings",
            "key Down", "tap-control btnDelete", "dump deleted.txt", "command Restore_tags",
            "wait-form FileExplorerDialog", "tap-control edtPath", "text " + backup,
            "tap-control btnOk", "wait-form FormSettings", "dump restored.txt", "command Exit" });
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(temp.exists("tags.vcb"));
    EXPECT_TRUE(has(dumped("deleted.txt", "btnPlay"), "enabled=0"));
    EXPECT_EQ(temp.read("commands/001.tag"), tag);
    // The list was read again: Bob's row has its tag and stays selected.
    EXPECT_TRUE(has(dumped("restored.txt", "btnPlay"), "enabled=1"));
    EXPECT_TRUE(has(result.out, "\t0777 123"));
}

TEST_F(SettingsCommand, ARestoreOfABrokenFileWarns)
{
    temp.write("broken.vcb", "not a backup");
    ToolRun result = run("settings",
        { "wait-form FormSettings", "command Restore_tags", "wait-form FileExplorerDialog",
            "tap-control edtPath", "text " + temp.native("broken.vcb"), "tap-control btnOk",
            "wait-form MessageOk", "dump warning.txt", "tap-control btnOk",
            "wait-form FormSettings", "command Exit" });
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(has(temp.read("warning.txt"), "The backup could not be restored."));
}

TEST_F(SettingsCommand, ALanguageSwitchChangesEveryShownText)
{
    ToolRun result = run("settings",
        { "wait-form FormSettings", "dump english.txt", "command Language_German",
            "dump german.txt", "command Exit" });
    ASSERT_EQ(result.status, 0) << result.err;
    for (const char* id : { "lblTitle", "lblSearch", "btnRecord", "btnPlay", "btnDelete" }) {
        std::string english = dumped("english.txt", id);
        std::string german = dumped("german.txt", id);
        ASSERT_FALSE(english.empty()) << id;
        EXPECT_NE(english.substr(english.find("text=")), german.substr(german.find("text="))) << id;
    }
    EXPECT_TRUE(has(temp.read("settings.xml"), "German"));
}

TEST_F(SettingsCommand, HelpOpensTheGuideOfTheLanguageAndAboutShowsTheProduct)
{
    ToolRun result = run("settings",
        { "wait-form FormSettings", "command Help", "command Language_German", "command Help",
            "command About", "wait-form FormAbout", "dump about.txt", "tap-control btnOk",
            "wait-form FormSettings", "command Exit" });
    ASSERT_EQ(result.status, 0) << result.err;
    // The handler runs detached: wait for both lines with a generous bound.
    auto lines = [&] {
        std::string text = temp.read("opened.txt");
        return std::count(text.begin(), text.end(), '\n');
    };
    for (int i = 0; i < 100 && lines() < 2; ++i)
        ::usleep(50000);
    std::string opened = temp.read("opened.txt");
    EXPECT_TRUE(has(opened, temp.native("ringwise-help.html") + "\n")) << opened;
    EXPECT_TRUE(has(opened, temp.native("ringwise-hilfe.html") + "\n")) << opened;
    EXPECT_TRUE(has(temp.read("about.txt"), "Tarn Ringwise v4.05"));
}

TEST_F(SettingsCommand, AnEmptyCommandLineAsksWhetherToRecordTags)
{
    ToolRun no = run("settings --command-line ''",
        { "wait-form MessageYesNo", "dump question.txt", "tap-control btnNo" });
    ASSERT_EQ(no.status, 0) << no.err;
    EXPECT_TRUE(has(no.out, "shown\tno"));
    EXPECT_TRUE(has(temp.read("question.txt"), "No voice tags are recorded yet."));

    ToolRun yes = run("settings --command-line ''",
        { "wait-form MessageYesNo", "tap-control btnYes", "wait-form FormSettings",
            "command Exit" });
    ASSERT_EQ(yes.status, 0) << yes.err;
    EXPECT_TRUE(has(yes.out, "shown\tyes"));
    EXPECT_TRUE(has(yes.out, "selected\tnone"));
}

TEST_F(SettingsCommand, EscapeEditsTheFilterOnASmartphone)
{
    ToolRun result = run("settings",
        { "wait-form FormSettings", "text ann", "key Escape", "dump typed.txt", "key Escape",
            "key Escape", "key Escape", "dump cleared.txt", "command Exit" },
        "240x320", "Smartphone");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(has(dumped("typed.txt", "lblSearch"), "text=an"));
    EXPECT_TRUE(has(dumped("typed.txt", "grid"), "rows=3 "));
    EXPECT_TRUE(has(dumped("cleared.txt", "grid"), "rows=4 "));
    EXPECT_TRUE(has(dumped("cleared.txt", "lblSearch"), "text=Type to search"));
}

TEST_F(SettingsCommand, LooksFinishedOnEveryScreen)
{
    write_mic(test_recordings::capture(test_recordings::load("office-slow")));
    tag_bob();
    struct Screen {
        const char* size;
        const char* platform;
    };
    for (Screen screen : { Screen { "240x320", "PocketPC" }, Screen { "480x640", "PocketPC" },
             Screen { "360x720", "PocketPC" }, Screen { "240x320", "Smartphone" },
             Screen { "176x220", "Smartphone" } }) {
        std::string name = std::string("settings-") + screen.platform + "-" + screen.size;
        ToolRun result = run("settings",
            { "wait-form FormSettings", "key Down", "screenshot " + name + ".png", "text an",
                "screenshot " + name + "-filter.png", "command Exit" },
            screen.size, screen.platform);
        ASSERT_EQ(result.status, 0) << name << result.err;
        look_at(name + ".png", screen.size);
        look_at(name + "-filter.png", screen.size);
    }
}

} // namespace
