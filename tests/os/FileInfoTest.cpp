#include "os/FileInfo.h"

#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <ctime>

using os::FileInfo;

namespace {

int local_year(time_t when)
{
    tm local {};
    localtime_r(&when, &local);
    return local.tm_year + 1900;
}

} // namespace

TEST(FileInfo, DescribesAFile)
{
    TempDirectory temp;
    // The file is made between these two readings of the clock, so its year
    // is the year of one of them even when the year turns in between. The
    // first reading is a second early: file times come from a coarser clock.
    time_t before = time(nullptr) - 1;
    temp.write("a.wav", std::string(1234, 'x'));
    FileInfo info(temp.wide("a.wav"));
    time_t after = time(nullptr);
    EXPECT_EQ(info.path, temp.wide("a.wav"));
    EXPECT_TRUE(info.exists());
    EXPECT_FALSE(info.is_directory());
    EXPECT_EQ(info.error, 0);
    EXPECT_EQ(info.size, 1234u);

    EXPECT_GE(info.modified.year, local_year(before));
    EXPECT_LE(info.modified.year, local_year(after));
    EXPECT_GE(info.modified.month, 1);
    EXPECT_LE(info.modified.month, 12);
    EXPECT_GE(info.created.year, local_year(before));
    EXPECT_LE(info.created.year, local_year(after));
}

TEST(FileInfo, DirectoryWithOrWithoutTrailingSeparator)
{
    TempDirectory temp;
    temp.write("sub/x", "");
    for (const std::u16string& path :
        { temp.wide("sub"), temp.wide("sub/"), temp.wide() + u"\\sub\\" }) {
        FileInfo info(path);
        EXPECT_TRUE(info.is_directory());
        EXPECT_NE(info.attributes & FileInfo::ATTRIBUTE_DIRECTORY, 0);
    }
    EXPECT_TRUE(FileInfo(u"/").is_directory());
}

TEST(FileInfo, MissingPathHasNoAttributes)
{
    TempDirectory temp;
    FileInfo info(temp.wide("missing/file"));
    EXPECT_EQ(info.attributes, -1);
    EXPECT_FALSE(info.exists());
    EXPECT_FALSE(info.is_directory());
    EXPECT_EQ(info.error, ENOENT);
    EXPECT_FALSE(FileInfo(u"").exists());
}

TEST(FileInfo, NamesBeginningWithADotAreHidden)
{
    TempDirectory temp;
    temp.write(".secret", "");
    EXPECT_NE(FileInfo(temp.wide(".secret")).attributes & FileInfo::ATTRIBUTE_HIDDEN, 0);
}
