#include "app/Settings.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

namespace {

TEST(Settings, SavedOptionsComeBackInAFreshObject)
{
    TempDirectory temp;
    Settings saved(temp.wide("settings.xml"));
    saved.play_sound = false;
    saved.play_commands = false;
    saved.wait_confirmation = true;
    saved.skin = u"Blue & <Gold> \"2\"";
    saved.language = u"Fran\u00e7ais";
    saved.save();

    Settings loaded(temp.wide("settings.xml"));
    loaded.load();
    EXPECT_FALSE(loaded.play_sound);
    EXPECT_FALSE(loaded.play_commands);
    EXPECT_TRUE(loaded.wait_confirmation);
    EXPECT_EQ(loaded.skin, saved.skin);
    EXPECT_EQ(loaded.language, saved.language);
}

TEST(Settings, ADamagedFileKeepsTheOptionsButResetsSkinAndLanguage)
{
    TempDirectory temp;
    temp.write("settings.xml",
        "<Settings><General PlaySound=\"false\" WaitConfirmation=\"true\" Skin=\"Blue\" "
        "Language=\"Deutsch\"/></Settings>");
    Settings settings(temp.wide("settings.xml"));
    settings.load();
    ASSERT_EQ(settings.skin, u"Blue");

    temp.write("settings.xml", "<Settings><General PlaySound=\"true\"");
    settings.load();
    EXPECT_FALSE(settings.play_sound);
    EXPECT_TRUE(settings.wait_confirmation);
    EXPECT_EQ(settings.skin, Settings::DEFAULT_SKIN);
    EXPECT_EQ(settings.language, Settings::DEFAULT_LANGUAGE);
}

} // namespace
