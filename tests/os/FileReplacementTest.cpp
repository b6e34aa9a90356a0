#include "os/FileReplacement.h"

#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

std::size_t entries(const TempDirectory& temp)
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(temp.native()))
        ++count;
    return count;
}

TEST(FileReplacement, ReplacesTheTargetWholeOnlyWhenCommitted)
{
    TempDirectory temp;
    temp.write("settings.xml", "old");
    {
        os::FileReplacement replacement(temp.wide("settings.xml"));
        ASSERT_TRUE(replacement.is_open());
        std::ofstream(std::filesystem::path(replacement.temporary_path()), std::ios::binary)
            << "never committed";
        EXPECT_EQ(temp.read("settings.xml"), "old");
        EXPECT_EQ(entries(temp), 2u);
    }
    // Given up: the temporary goes, the target stays as it was.
    EXPECT_EQ(temp.read("settings.xml"), "old");
    EXPECT_EQ(entries(temp), 1u);

    ASSERT_TRUE(os::replace_file(temp.wide("settings.xml"), "new", 3));
    EXPECT_EQ(temp.read("settings.xml"), "new");
    EXPECT_EQ(entries(temp), 1u);
    struct stat status;
    ASSERT_EQ(::stat(temp.native("settings.xml").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u);
}

TEST(FileReplacement, AFolderThatDoesNotExistGivesNoReplacementAndNoFile)
{
    TempDirectory temp;
    os::FileReplacement replacement(temp.wide("missing/commands.xml"));
    EXPECT_FALSE(replacement.is_open());
    EXPECT_FALSE(replacement.commit());
    EXPECT_FALSE(os::replace_file(temp.wide("missing/commands.xml"), "x", 1));
    EXPECT_EQ(entries(temp), 0u);
}

TEST(FileReplacement, TemporariesAreNamedForTheirTargetAndRecognised)
{
    TempDirectory temp;
    os::FileReplacement replacement(temp.wide("001.wav"));
    std::u16string name
        = std::filesystem::path(replacement.temporary_path()).filename().u16string();
    EXPECT_EQ(name.rfind(u"001.wav.", 0), 0u);
    EXPECT_TRUE(os::is_temporary_name(name));
    for (const char16_t* other : { u"001.wav", u"notes.tmp", u"001.wav.tmp", u"commands.xml" })
        EXPECT_FALSE(os::is_temporary_name(other)) << std::string(other, other + 11);
}

} // namespace
