#include "os/Registry.h"
#include "tests/app/ProgramFolder.h"

#include <csignal>
#include <fstream>
#include <iterator>

namespace {

using RecognitionRun = ProgramFolder;
using Startup = ProgramFolder;

class TaggedRun : public ProgramFolder {
protected:
    void SetUp() override
    {
        ProgramFolder::SetUp();
        tag("Anna", ANNA_PHONE, recording("anna-1"));
        tag("Oscar", OSCAR_PHONE, recording("oscar-1"));
    }
};

TEST_F(TaggedRun, ASpokenNameDialsThatContactsNumber)
{
    write_settings(false, false, false);
    set("RINGWISE_MIC", recording("anna-2"));
    Result anna = run();
    EXPECT_EQ(anna.status, 0) << anna.err;
    EXPECT_EQ(calls(), "+49 170 1\n");

    set("RINGWISE_MIC", recording("oscar-2"));
    Result oscar = run();
    EXPECT_EQ(oscar.status, 0) << oscar.err;
    EXPECT_EQ(calls(), "+49 170 1\n030 2\n");
}

TEST_F(TaggedRun, TheResultShowsNameNumberAndTruncatedAccuracy)
{
    write_settings(false, false, true);
    set("RINGWISE_MIC", recording("anna-2"));
    script("wait-form FormRecognizing\nwait 4000\ndump " + temp.native("shown.txt")
        + "\ncommand Cancel\n");
    Result result = run();
    EXPECT_EQ(result.status, 0) << result.err;
    std::string shown = temp.read("shown.txt");
    EXPECT_NE(shown.find("control frmName ControlFrame"), std::string::npos) << shown;
    EXPECT_NE(shown.find("text=Anna Berg\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("text=+49 170 1 mobile\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("checked=0 text=\ncontrol chkProcessing"), std::string::npos) << shown;
    EXPECT_NE(shown.find("control chkFinished ControlCheckBox"), std::string::npos);
    std::size_t accuracy = shown.find("text=Accuracy ");
    ASSERT_NE(accuracy, std::string::npos) << shown;
    std::string percent = shown.substr(accuracy + 14, shown.find('\n', accuracy) - accuracy - 14);
    EXPECT_TRUE(percent.size() >= 2 && percent.size() <= 4 && percent.back() == '%') << percent;
    EXPECT_EQ(percent.find('.'), std::string::npos);
    EXPECT_NE(shown.find("btnCorrect ControlButton"), std::string::npos);
    EXPECT_NE(shown.find("enabled=1"), std::string::npos);
    EXPECT_NE(shown.find("value=1"), std::string::npos) << "the progress bar is full";
    // Cancelled while awaiting confirmation: nothing was dialled.
    EXPECT_EQ(calls(), "");
}

TEST_F(TaggedRun, SilenceDialsNothingAndEndsTwoSecondsAfterTheResult)
{
    write_settings(false, false, false);
    script("wait-form FormRecognizing\nwait 3700\ndump " + temp.native("result.txt") + "\n");
    Result result = run();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(calls(), "");
    EXPECT_NE(temp.read("result.txt").find("text=Not_recognized"), std::string::npos)
        << temp.read("result.txt");
    // 2.7 s of capture, the result, then 2.0 s until the form closes.
    EXPECT_GE(result.seconds, 4.8);
    EXPECT_LT(result.seconds, 9.0);
}

TEST_F(TaggedRun, WithoutAnAnswerTheConfirmationEndsFiveSecondsAfterPlaybackWithoutDialling)
{
    write_settings(false, true, true);
    set("RINGWISE_MIC", recording("anna-2"));
    Result result = run();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(calls(), "");
    // The tag's own recording played, then the 5 s window ran out.
    EXPECT_GT(speaker_bytes(), 22050u);
    EXPECT_GE(result.seconds, 2.7 + 1.0 + 5.0);
}

TEST_F(TaggedRun, CorrectDuringTheTagsPlaybackDialsAtOnce)
{
    write_settings(false, true, true);
    set("RINGWISE_MIC", recording("anna-2"));
    // The button stays disabled until the match is shown; the first tap
    // after that dials.
    std::string lines = "wait-form FormRecognizing\n";
    for (int i = 0; i < 80; ++i)
        lines += "tap-control btnCorrect\nwait 100\n";
    script(lines);
    Result result = run();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(calls(), "+49 170 1\n");
    // Well before the tag's playback and the confirmation window are over.
    EXPECT_LT(result.seconds, 2.7 + 5.0);
}

TEST_F(TaggedRun, WrongEndsTheRunWithoutDialling)
{
    write_settings(false, false, true);
    set("RINGWISE_MIC", recording("oscar-2"));
    std::string lines = "wait-form FormRecognizing\n";
    for (int i = 0; i < 80; ++i)
        lines += "tap-control btnWrong\nwait 100\n";
    script(lines);
    Result result = run();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(calls(), "");
    EXPECT_LT(result.seconds, 2.7 + 5.0);
}

TEST_F(TaggedRun, PromptsPlayOnlyWithPlaySound)
{
    write_settings(false, false, false);
    set("RINGWISE_MIC", recording("anna-2"));
    ASSERT_EQ(run().status, 0);
    EXPECT_EQ(calls(), "+49 170 1\n");
    EXPECT_EQ(speaker_bytes(), 0u);

    // The start and the right-answer prompt, each as its archive entry holds it.
    write_settings(true, false, false);
    ASSERT_EQ(run().status, 0);
    EXPECT_EQ(calls(), "+49 170 1\n+49 170 1\n");
    EXPECT_EQ(speaker_bytes(), 2u * (START_SAMPLES + RIGHT_SAMPLES));
}

TEST_F(TaggedRun, ARejectionPlaysTheWrongPrompt)
{
    write_settings(true, false, false);
    ASSERT_EQ(run().status, 0);
    EXPECT_EQ(calls(), "");
    EXPECT_EQ(speaker_bytes(), 2u * (START_SAMPLES + WRONG_SAMPLES));
}

TEST_F(TaggedRun, ShutDownLogsItsFourSteps)
{
    {
        os::RegistryKey key;
        ASSERT_TRUE(key.create(u"HKEY_CURRENT_USER\\Software\\Tarn"));
        ASSERT_TRUE(key.set_number(u"Log", 1));
    }
    write_settings(false, false, false);
    ASSERT_EQ(run().status, 0);
    std::ifstream file(temp.native("Ringwise.txt"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), {});
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += bytes[i];
    for (int step = 1; step <= 4; ++step) {
        std::string line = " Application::~Application " + std::to_string(step) + "\n";
        std::size_t at = text.find(line);
        ASSERT_NE(at, std::string::npos) << text;
        std::size_t start = text.rfind('\n', at) + 1;
        EXPECT_GT(at, start) << "a tick count comes first";
    }
}

TEST_F(TaggedRun, AFailingPhoneLibraryShowsCallFailedWithTheNumber)
{
    write_settings(false, false, false);
    set("RINGWISE_PHONE", temp.native("missing-phone.so"));
    set("RINGWISE_MIC", recording("oscar-2"));
    script(
        "wait-form MessageOk 20000\ndump " + temp.native("message.txt") + "\ntap-control btnOk\n");
    Result result = run();
    EXPECT_EQ(result.status, 0) << result.err;
    std::string message = temp.read("message.txt");
    EXPECT_NE(message.find("form MessageOk active"), std::string::npos) << message;
    EXPECT_NE(message.find("form FormRecognizing inactive"), std::string::npos) << message;
    EXPECT_NE(message.find("text=Call_failed\\n030 2\n"), std::string::npos) << message;
    EXPECT_NE(message.find("text=Warning"), std::string::npos) << message;
    EXPECT_EQ(calls(), "");
}

TEST_F(TaggedRun, TheShippedSkinAndTextsRunTheWholeRecognition)
{
    use_shipped_assets();
    write_settings(true, true, false);
    set("RINGWISE_MIC", recording("anna-2"));
    script("wait-form FormRecognizing\nwait 3400\ndump " + temp.native("shown.txt") + "\n");
    Result result = run();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(calls(), "+49 170 1\n");
    std::string shown = temp.read("shown.txt");
    EXPECT_NE(shown.find("text=Anna Berg\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("text=Accuracy "), std::string::npos) << shown;
    // The skin's three prompts and the tag's own recording played.
    EXPECT_GT(speaker_bytes(), 2u * 22050u);
}

TEST_F(ProgramFolder, OfEqualScoresTheEarlierCommandIsDialled)
{
    tag("Anna", ANNA_PHONE, recording("anna-1"));
    tag("Oscar", OSCAR_PHONE, recording("anna-1"));
    // Oscar's command first in the list: the same recording scores the same.
    std::string list = temp.read("commands/commands.xml");
    std::size_t second = list.find("<Command ", list.find("<Command ") + 1);
    std::size_t end = list.find("</Commands>");
    ASSERT_NE(second, std::string::npos) << list;
    std::size_t first = list.find("<Command ");
    temp.write("commands/commands.xml",
        list.substr(0, first) + list.substr(second, end - second)
            + list.substr(first, second - first) + list.substr(end));
    write_settings(false, false, false);
    set("RINGWISE_MIC", recording("anna-2"));
    ASSERT_EQ(run().status, 0);
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
    Result untagged = run();
    EXPECT_EQ(untagged.status, 0);
    EXPECT_NE(untagged.err.find("Settings_skin_failed"), std::string::npos) << untagged.err;

    tag("Anna", ANNA_PHONE, recording("anna-1"));
    Result settings = run({ "s" });
    EXPECT_EQ(settings.status, 0);
    EXPECT_NE(settings.err.find("Settings_skin_failed"), std::string::npos) << settings.err;
    EXPECT_EQ(calls(), "");
}

TEST_F(Startup, ASecondRecognitionProcessEndsAndTheFirstRunGoesOn)
{
    tag("Anna", ANNA_PHONE, recording("anna-1"));
    write_settings(false, false, false);
    set("RINGWISE_MIC", recording("anna-2"));
    script("wait-form FormRecognizing\ndump " + temp.native("ready.txt") + "\n");
    Run first = start({}, "first");
    ASSERT_TRUE(wait_for_file("ready.txt", std::chrono::seconds(30)));
    ::unsetenv("RINGWISE_SCRIPT");
    Result second = finish(start({}, "second"));
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.err, "");
    int status = 0;
    EXPECT_EQ(::waitpid(first.pid, &status, WNOHANG), 0) << "the first run is still on";
    Result whole = finish(first);
    EXPECT_EQ(whole.status, 0) << whole.err;
    // One run, one call: the hand-over did not start the run again.
    EXPECT_EQ(calls(), "+49 170 1\n");
}

TEST_F(Startup, AKilledFirstProcessLeavesNothingThatBlocksTheNext)
{
    tag("Anna", ANNA_PHONE, recording("anna-1"));
    write_settings(false, false, false);
    script("wait-form FormRecognizing\ndump " + temp.native("ready.txt") + "\nwait 60000\n");
    Run first = start({}, "first");
    ASSERT_TRUE(wait_for_file("ready.txt", std::chrono::seconds(30)));
    ::kill(first.pid, SIGKILL);
    finish(first);
    ::unsetenv("RINGWISE_SCRIPT");

    set("RINGWISE_MIC", recording("anna-2"));
    Result next = run();
    EXPECT_EQ(next.status, 0) << next.err;
    EXPECT_EQ(calls(), "+49 170 1\n");
}

TEST_F(Startup, RecognitionAndSettingsRunSideBySide)
{
    tag("Anna", ANNA_PHONE, recording("anna-1"));
    write_settings_skin();
    write_settings(false, false, false);
    set("RINGWISE_MIC", recording("anna-2"));
    script("wait-form FormRecognizing\ndump " + temp.native("ready.txt") + "\n");
    Run recognition = start({}, "recognition");
    ASSERT_TRUE(wait_for_file("ready.txt", std::chrono::seconds(30)));
    ::unsetenv("RINGWISE_SCRIPT");
    Result settings = finish(start({ "s" }, "settings"));
    EXPECT_EQ(settings.status, 0);
    // The settings process went its own way, up to where its form would be.
    EXPECT_NE(settings.err.find("settings form is not part of this build"), std::string::npos)
        << settings.err;
    int status = 0;
    EXPECT_EQ(::waitpid(recognition.pid, &status, WNOHANG), 0);
    EXPECT_EQ(finish(recognition).status, 0);
    EXPECT_EQ(calls(), "+49 170 1\n");
}

} // namespace
