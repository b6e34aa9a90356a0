#include "os/LanguageFinder.h"

#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

TEST(LanguageFinder, CollectsLanguageFilesDirectlyInTheFolder)
{
    TempDirectory directory;
    directory.write("English.lng", "");
    directory.write("Deutsch.LNG", "");
    directory.write("notes.txt", "");
    directory.write("English.lng.bak", "");
    directory.write("old/Russian.lng", "");
    os::LanguageFinder finder(directory.wide());
    EXPECT_EQ(finder.languages,
        (std::vector<std::u16string> {
            directory.wide("Deutsch.LNG"), directory.wide("English.lng") }));
}
