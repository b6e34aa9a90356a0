#include "os/Registry.h"
#include "tests/app/ProgramFolder.h"

#include <cctype>

namespace {

using Startup = ProgramFolder;

class TaggedRun : public ProgramFolder {
protected:
    void SetUp() override
    {
        ProgramFolder::SetUp();
        tag("Anna", ANNA_PHONE, recording("anna-1"));
        tag("Oscar", OSCAR_PHONE, recording("oscar-1"));
        write_settings(false, false, false);
    }
};

TEST_F(TaggedRun, ASpokenNameDialsThatContactsNumber)
{
    set("RINGWISE_MIC", recording("anna-2"));
    EXPECT_EQ(run().status, 0);
    EXPECT_EQ(calls(), "+49 170 1\n");
    set("RINGWISE_MIC", recording("oscar-2"));
    EXPECT_EQ(run().status, 0);
    EXPECT_EQ(calls(), "+49 170 1\n030 2\n");
    // Neither prompts nor the tag's recording played.
    EXPECT_EQ(speaker_bytes(), 0u);
}

TEST_F(TaggedRun, TheMatchShowsNameNumberAndTruncatedAccuracyUntilCancelled)
{
    write_settings(false, false, true);
    set("RINGWISE_MIC", recording("anna-2"));
    script("wait-form FormRecognizing\nwait-until frmAccuracy text~=Accuracy\ndump "
        + path("shown.txt") + "\ncommand Cancel\n");
    EXPECT_EQ(run().status, 0);
    std::string shown = temp.read("shown.txt");
    for (const char* line : { "frmName ControlFrame", "text=Anna Berg\n", "text=+49 170 1 mobile\n",
             "enabled=1 focused=0 text=\ncontrol btnWrong", "value=1\n" })
        EXPECT_NE(shown.find(line), std::string::npos) << line << " in\n" << shown;
    std::size_t accuracy = shown.find("text=Accuracy ");
    ASSERT_NE(accuracy, std::string::npos) << shown;
    std::string percent = shown.substr(accuracy + 14, shown.find('\n', accuracy) - accuracy - 14);
    EXPECT_TRUE(percent.size() <= 4 && percent.back() == '%' && std::isdigit(percent[0]))
        << percent;
    EXPECT_EQ(calls(), "");
}

TEST_F(TaggedRun, SilenceDialsNothingPlaysTheWrongPromptAndEndsTwoSecondsAfterTheResult)
{
    write_settings(true, false, false);
    script("wait-form FormRecognizing\nwait-until frmName text=Not_recognized\ndump "
        + path("result.txt") + "\n");
    Result result = run();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(calls(), "");
    EXPECT_NE(temp.read("result.txt").find("text=Not_recognized"), std::string::npos);
    EXPECT_EQ(speaker_bytes(), 2u * (START_SAMPLES + WRONG_SAMPLES));
    // The start prompt, 2.7 s of capture, the result, then 2.0 s; a slow
    // machine only takes longer, but the run does end by itself.
    EXPECT_GE(result.seconds, 4.8);
    EXPECT_LT(result.seconds, 60.0);
}

TEST_F(TaggedRun, WithPlaySoundTheStartAndRightPromptsPlayFromTheSkin)
{
    write_settings(true, false, false);
    set("RINGWISE_MIC", recording("anna-2"));
    EXPECT_EQ(run().status, 0);
    EXPECT_EQ(calls(), "+49 170 1\n");
    EXPECT_EQ(speaker_bytes(), 2u * (START_SAMPLES + RIGHT_SAMPLES));
}

TEST_F(TaggedRun, WithoutAnAnswerTheConfirmationEndsFiveSecondsAfterPlaybackWithoutDialling)
{
    write_settings(false, true, true);
    set("RINGWISE_MIC", recording("anna-2"));
    Result result = run();
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(calls(), "");
    EXPECT_GT(speaker_bytes(), 22050u) << "the tag's own recording played";
    EXPECT_GE(result.seconds, 2.7 + 1.0 + 5.0);
}

TEST_F(TaggedRun, CorrectDuringTheTagsPlaybackDialsAtOnce)
{
    write_settings(false, true, true);
    set("RINGWISE_MIC", recording("anna-2"));
    // The button is disabled until the match shows; the first tap after that dials.
    script("wait-form FormRecognizing\nwait-until btnCorrect enabled=1\ntap-control btnCorrect\n");
    Result result = run();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(calls(), "+49 170 1\n");
    EXPECT_LT(result.seconds, 2.7 + 5.0);
}

TEST_F(TaggedRun, AFailingPhoneLibraryShowsCallFailedWithTheNumber)
{
    set("RINGWISE_PHONE", path("missing-phone.so"));
    set("RINGWISE_MIC", recording("oscar-2"));
    script("wait-form MessageOk 20000\ndump " + path("message.txt") + "\ntap-control btnOk\n");
    EXPECT_EQ(run().status, 0);
    std::string message = temp.read("message.txt");
    for (const char* line : { "form MessageOk active", "form FormRecognizing inactive",
             "text=Call_failed\\n030 2\n", "text=Warning" })
        EXPECT_NE(message.find(line), std::string::npos) << line << " in\n" << message;
}

TEST_F(TaggedRun, TheShippedSkinAndTextsRunTheWholeRecognition)
{
    namespace fs = std::filesystem;
    fs::path bin = fs::path(RINGWISE_BINARY_DIR) / "bin";
    fs::copy_file(bin / "skins/Default_Green/Default_Green.skin",
        path("skins/Default_Green/Default_Green.skin"), fs::copy_options::overwrite_existing);
    fs::copy_file(bin / "English.lng", path("English.lng"));
    write_settings(true, true, false);
    set("RINGWISE_MIC", recording("anna-2"));
    script("wait-form FormRecognizing\nwait-until frmAccuracy text~=Accuracy\ndump "
        + path("shown.txt") + "\n");
    EXPECT_EQ(run().status, 0);
    EXPECT_EQ(calls(), "+49 170 1\n");
    EXPECT_NE(temp.read("shown.txt").find("text=Accuracy "), std::string::npos);
    EXPECT_GT(speaker_bytes(), 2u * 22050u) << "prompts and the tag's recording";
}

TEST_F(TaggedRun, ShutDownLogsItsFourStepsWithTickCounts)
{
    os::RegistryKey key;
    ASSERT_TRUE(key.create(u"HKEY_CURRENT_USER\\Software\\Tarn"));
    ASSERT_TRUE(key.set_number(u"Log", 1));
    key.close();
    EXPECT_EQ(run().status, 0);
    std::string text;
    std::string bytes = temp.read("Ringwise.txt");
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += bytes[i];
    for (char step : { '1', '2', '3', '4' }) {
        std::size_t at = text.find(std::string(" Application::~Application ") + step + "\n");
        ASSERT_NE(at, std::string::npos) << text;
        EXPECT_TRUE(std::isdigit(text[at - 1])) << text;
    }
}

TEST_F(Startup, OfEqualScoresTheEarlierCommandIsDialled)
{
    tag("Anna", ANNA_PHONE, recording("anna-1"));
    tag("Oscar", OSCAR_PHONE, recording("anna-1"));
    // Oscar's command first in the list; both tags are the same recording.
    std::string list = temp.read("commands/commands.xml");
    std::size_t first = list.find("<Command "), second = list.find("<Command ", first + 1);
    std::size_t end = list.find("</Commands>");
    temp.write("commands/commands.xml",
        list.substr(0, first) + list.substr(second, end - second)
            + list.substr(first, second - first) + list.substr(end));
    write_settings(false, false, false);
    set("RINGWISE_MIC", recording("anna-2"));
    EXPECT_EQ(run().status, 0);
    EXPECT_EQ(calls(), "030 2\n");
}

TEST_F(Startup, ASkinOfAnotherVersionShowsSkinFailedAndEndsWithZero)
{
    tag("Anna", ANNA_PHONE, recording("anna-1"));
    write_skin("Ringwise_2.0");
    set("RINGWISE_MIC", recording("anna-2"));
    Result result = run();
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.err.find("Warning"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("Skin_failed"), std::string::npos) << result.err;
    EXPECT_EQ(calls(), "");
}

TEST_F(Startup, WithoutTagsOrWithACommandLineTheSettingsModeStarts)
{
    EXPECT_NE(run().err.find("Settings_skin_failed"), std::string::npos);
    tag("Anna", ANNA_PHONE, recording("anna-1"));
    write_settings_skin();
    script("wait-form FormSettings\ndump " + path("settings.txt") + "\ncommand Exit\n");
    Result settings = run("s");
    EXPECT_EQ(settings.status, 0);
    EXPECT_NE(temp.read("settings.txt").find("form FormSettings active"), std::string::npos)
        << settings.err;
    EXPECT_EQ(calls(), "");
}

TEST_F(Startup, ASecondRecognitionEndsAndASettingsProcessRunsBesideTheFirst)
{
    tag("Anna", ANNA_PHONE, recording("anna-1"));
    write_settings(false, false, false);
    write_settings_skin();
    set("RINGWISE_MIC", recording("anna-2"));
    script("wait-form FormRecognizing\ndump " + path("ready.txt") + "\n");
    Run first = start("", "first");
    ASSERT_TRUE(wait_for_file("ready.txt"));
    ::unsetenv("RINGWISE_SCRIPT");
    Result second = finish(start("", "second"));
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.err, "");
    script("wait-form FormSettings\ndump " + path("settings.txt") + "\ncommand Exit\n");
    Result settings = finish(start("s", "settings"));
    EXPECT_EQ(settings.status, 0);
    EXPECT_NE(temp.read("settings.txt").find("form FormSettings active"), std::string::npos)
        << settings.err;
    int status = 0;
    EXPECT_EQ(::waitpid(first.pid, &status, WNOHANG), 0) << "the first run is still on";
    EXPECT_EQ(finish(first).status, 0);
    // One run, one call: the hand-over did not start the run again.
    EXPECT_EQ(calls(), "+49 170 1\n");
}

TEST_F(Startup, TheSettingsLauncherOpensTheSettingsModeBesideARunningRecognition)
{
    namespace fs = std::filesystem;
    fs::copy_file(fs::path(RINGWISE_BINARY_DIR) / "bin/Settings", path("Settings"));
    tag("Oscar", OSCAR_PHONE, recording("oscar-1"));
    write_settings(false, false, false);
    write_settings_skin();
    // The recognition dials through a missing phone library, so that its
    // Call_failed message holds it open until the test says "go".
    set("RINGWISE_PHONE", path("missing-phone.so"));
    set("RINGWISE_MIC", recording("oscar-2"));
    script("wait-form MessageOk 60000\ndump " + path("held.txt") + "\nwait-file " + path("go")
        + " 120000\ndump " + path("released.txt") + "\ntap-control btnOk\n");
    Run recognition = start("", "recognition");
    // Whatever fails below, the held processes are let go and end.
    struct Release {
        TempDirectory& folder;
        ~Release()
        {
            for (const char* name : { "go", "go-settings" })
                if (!folder.exists(name))
                    folder.write(name, "");
        }
    } release { temp };
    ASSERT_TRUE(wait_for_file("held.txt")) << temp.read("recognition.err");

    // The launcher ends at once; the settings process it starts inherits
    // the pipe, so the end of the pipe is the end of both. A second
    // launch hands "s" over to that settings process and ends.
    auto launch = [&](const std::string& name) {
        return ::popen(
            ("exec '" + path("Settings") + "' 2>'" + path(name + ".err") + "'").c_str(), "r");
    };
    auto finish_launch = [&](FILE* launcher) {
        char buffer[256];
        while (std::fread(buffer, 1, sizeof buffer, launcher) > 0) { }
        int status = ::pclose(launcher);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    script("wait-form FormSettings\ndump " + path("settings.txt") + "\nwait-file "
        + path("go-settings") + " 120000\ndump " + path("settings-after.txt") + "\ncommand Exit\n");
    FILE* first = launch("settings");
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(wait_for_file("settings.txt")) << temp.read("settings.err");
    EXPECT_NE(temp.read("settings.txt").find("form FormSettings active"), std::string::npos)
        << temp.read("settings.txt");
    // Were the second to open a form of its own, it would show it here.
    script("wait-form FormSettings 20000\ndump " + path("second.txt") + "\ncommand Exit\n");
    FILE* second = launch("second");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(finish_launch(second), 0);
    EXPECT_FALSE(temp.exists("second.txt")) << temp.read("second.txt");
    temp.write("go-settings", "");
    EXPECT_EQ(finish_launch(first), 0);
    EXPECT_EQ(temp.read("settings.err") + temp.read("second.err"), "");
    EXPECT_NE(temp.read("settings-after.txt").find("form FormSettings active"), std::string::npos)
        << temp.read("settings-after.txt");

    int status = 0;
    EXPECT_EQ(::waitpid(recognition.pid, &status, WNOHANG), 0) << "the recognition is still on";
    temp.write("go", "");
    Result ended = finish(recognition);
    EXPECT_EQ(ended.status, 0) << ended.err;
    // The settings request left the recognition as it was.
    std::string released = temp.read("released.txt");
    EXPECT_NE(released.find("form MessageOk active"), std::string::npos) << released;
    EXPECT_EQ(released.find("FormSettings"), std::string::npos) << released;
}

} // namespace
