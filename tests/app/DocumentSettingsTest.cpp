#include "tests/app/DocumentFixture.h"

namespace {

using DocumentSettings = DocumentFixture;

constexpr const char* DEFAULT_FILE = "<Settings><General PlaySound=\"true\" PlayCommands=\"true\" "
                                     "WaitConfirmation=\"false\" Skin=\"Default_Green\" "
                                     "Language=\"English\"/></Settings>";

TEST_F(DocumentSettings, MissingOrDamagedFileGivesDefaultsAndStaysUntouched)
{
    // Skin and language fall back to their defaults; the options keep theirs.
    document->settings().skin = u"Other";
    document->settings().language = u"";
    document->load_settings();
    EXPECT_TRUE(document->settings().play_sound);
    EXPECT_TRUE(document->settings().play_commands);
    EXPECT_FALSE(document->settings().wait_confirmation);
    EXPECT_EQ(document->settings().skin, u"Default_Green");
    EXPECT_EQ(document->settings().language, u"English");
    EXPECT_FALSE(temp.exists("app/settings.xml"));

    const std::string damaged = "<Settings><General PlaySound=\"false\" Skin=\"Blue\"></Settings>";
    temp.write("app/settings.xml", damaged);
    document->load_settings();
    EXPECT_TRUE(document->settings().play_sound);
    EXPECT_EQ(document->settings().skin, u"Default_Green");
    EXPECT_EQ(temp.read("app/settings.xml"), damaged);
}

TEST_F(DocumentSettings, BooleansFollowTheTableAndUnknownTextKeepsTheDefault)
{
    temp.write("app/settings.xml",
        "<?xml version=\"1.0\"?><Settings><General PlaySound=\"TRUE\" PlayCommands=\"0\" "
        "Skin=\"\" Language=\"Deutsch\"/></Settings>");
    document->load_settings();
    EXPECT_TRUE(document->settings().play_sound);
    EXPECT_FALSE(document->settings().play_commands);
    EXPECT_FALSE(document->settings().wait_confirmation);
    // A present but empty skin is taken as it stands.
    EXPECT_EQ(document->settings().skin, u"");
    EXPECT_EQ(document->settings().language, u"Deutsch");

    temp.write("app/settings.xml",
        "<Settings><General PlaySound=\"yes\" WaitConfirmation=\"1\" Skin=\" Blue \"/></Settings>");
    document->settings().play_sound = true;
    document->load_settings();
    EXPECT_TRUE(document->settings().play_sound);
    EXPECT_TRUE(document->settings().wait_confirmation);
    EXPECT_EQ(document->settings().skin, u" Blue ");
    EXPECT_EQ(document->settings().language, u"English");
}

TEST_F(DocumentSettings, SavingWritesTheFiveAttributesAndDropsEverythingElse)
{
    document->save_settings();
    EXPECT_EQ(temp.read("app/settings.xml"), DEFAULT_FILE);

    temp.write("app/settings.xml",
        "<Settings Version=\"2\"><General Extra=\"x\" PlayCommands=\"0\" PlaySound=\"1\">"
        "<Child/></General><Other/></Settings>");
    document->load_settings();
    document->save_settings();
    EXPECT_EQ(temp.read("app/settings.xml"),
        "<Settings><General PlaySound=\"true\" PlayCommands=\"false\" WaitConfirmation=\"false\" "
        "Skin=\"Default_Green\" Language=\"English\"/></Settings>");
}

TEST(DocumentSingleton, ASecondDocumentIsAFatalAssertion)
{
    TempDirectory temp;
    ::setenv("RINGWISE_REGISTRY", temp.native("registry.db").c_str(), 1);
    Document first(temp.wide());
    EXPECT_EQ(Document::instance(), &first);
    EXPECT_EXIT(Document second(temp.wide()), ::testing::ExitedWithCode(70),
        "Singleton is already instantiated");
    ::unsetenv("RINGWISE_REGISTRY");
}

TEST(DocumentSingleton, DestroyingTheDocumentClearsTheInstance)
{
    {
        Document document(u"/nonexistent");
        EXPECT_EQ(Document::instance(), &document);
    }
    EXPECT_EQ(Document::instance(), nullptr);
}

} // namespace
