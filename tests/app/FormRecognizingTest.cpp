#include "app/FormRecognizing.h"
#include "app/CommandLine.h"
#include "app/Document.h"
#include "app/SkinSound.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "skinner/PictureCache.h"
#include "tests/app/ProgramFolder.h"

#include <fstream>

namespace {

TEST(CommandLine, JoinsTheArgumentsWithSingleBlanksAndNothingElse)
{
    const char* none[] = { "Ringwise" };
    EXPECT_EQ(join_command_line(1, none), u"");
    const char* settings[] = { "Ringwise", "s" };
    EXPECT_EQ(join_command_line(2, settings), u"s");
    // Blanks inside and empty arguments are kept as they are.
    const char* spaced[] = { "Ringwise", " -17ab", "", "Zo\xC3\xAB" };
    EXPECT_EQ(join_command_line(4, spaced), u" -17ab  Zo\u00EB");
}

class SkinSoundTest : public ProgramFolder { };

TEST_F(SkinSoundTest, APromptInTheArchiveIsPlayedFromItsEntry)
{
    std::u16string skin = temp.wide("skins/Default_Green/Default_Green.skin");
    SkinSound sound = find_skin_sound(skin, u"RIGHT.wav");
    EXPECT_EQ(sound.path, skin);
    std::ifstream file(temp.native("skins/Default_Green/Default_Green.skin"), std::ios::binary);
    file.seekg(sound.offset);
    char riff[4] {};
    file.read(riff, 4);
    EXPECT_EQ(std::string(riff, 4), "RIFF");
    EXPECT_NE(find_skin_sound(skin, u"start.wav").offset, sound.offset);
}

TEST_F(SkinSoundTest, WithoutAnEntryThePromptBesideTheSkinIsPlayed)
{
    std::u16string skin = temp.wide("skins/Default_Green/Default_Green.skin");
    EXPECT_EQ(find_skin_sound(skin, u"other.wav").path,
        temp.wide("skins/Default_Green/") + u"/other.wav");
    // A plain description is no archive.
    SkinSound plain = find_skin_sound(temp.wide("skin.xml"), u"start.wav");
    EXPECT_EQ(plain.path, temp.wide() + u"//start.wav");
}

// The form built in this process on the test skin, on a 240 x 320 screen.
class FormRecognizingTest : public ProgramFolder {
protected:
    void SetUp() override
    {
        set("RINGWISE_SCREEN", "240x320");
        ProgramFolder::SetUp();
        skinner::PictureCache::install();
    }
};

TEST_F(FormRecognizingTest, TimersOfOtherIdsDoNotAdvanceTheRun)
{
    Document document(temp.wide());
    skinner::Skin skin(temp.wide("skins/Default_Green/Default_Green.skin"), { 240, 320 });
    ASSERT_TRUE(skin.check_version(u"Ringwise_1.0", { 240, 320 }));
    FormRecognizing form(skin);
    form.start_run();
    unsigned step = form.step_timer();
    ASSERT_NE(step, 0u);
    form.on_timer(step + 1);
    form.on_timer(0);
    EXPECT_EQ(form.state(), RunState::Starting);
    EXPECT_EQ(form.step_timer(), step);
}

TEST_F(FormRecognizingTest, StartsCentredAtTheTopWithDisabledButtonsAndUnfocusableIndicators)
{
    Document document(temp.wide());
    skinner::Skin skin(temp.wide("skins/Default_Green/Default_Green.skin"), { 240, 320 });
    FormRecognizing form(skin);
    platform::Rect work = platform::work_area();
    EXPECT_EQ(platform::window_rect(form.window()),
        (platform::Rect { work.left + 10, work.top, work.left + 230, work.top + 260 }));
    for (const char16_t* id : { u"btnCorrect", u"btnWrong" })
        EXPECT_FALSE(form.find_control(id)->is_enabled());
    for (const char16_t* id : { u"chkListening", u"chkProcessing", u"chkFinished", u"progress" })
        EXPECT_FALSE(form.find_control(id)->is_focusable());
}

} // namespace
