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

namespace {

TEST(Settings, TheMatchingEngineRoundTripsAndDefaultsToClassic)
{
    TempDirectory temp;
    Settings saved(temp.wide("settings.xml"));
    EXPECT_EQ(saved.engine, MatchingEngine::Classic);
    saved.engine = MatchingEngine::Precise;
    saved.wait_confirmation = true;
    saved.save();
    EXPECT_NE(temp.read("settings.xml").find("engine=\"precise\""), std::string::npos);

    Settings loaded(temp.wide("settings.xml"));
    loaded.load();
    EXPECT_EQ(loaded.engine, MatchingEngine::Precise);
    EXPECT_TRUE(loaded.wait_confirmation);

    // A file of an older program has no such attribute: the engine stays as it was.
    temp.write("settings.xml", "<Settings><General PlaySound=\"false\"/></Settings>");
    loaded.load();
    EXPECT_EQ(loaded.engine, MatchingEngine::Precise);
    Settings fresh(temp.wide("settings.xml"));
    fresh.load();
    EXPECT_EQ(fresh.engine, MatchingEngine::Classic);
    EXPECT_FALSE(fresh.play_sound);

    // A value this program does not know means the classic engine.
    temp.write("settings.xml", "<Settings><General engine=\"fastest\"/></Settings>");
    loaded.load();
    EXPECT_EQ(loaded.engine, MatchingEngine::Classic);
}

} // namespace
