#include "os/File.h"

#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

using os::File;

namespace {

std::uint32_t write_text(File& file, const std::string& text)
{
    return file.write(text.data(), static_cast<std::uint32_t>(text.size()));
}

std::string read_text(File& file, std::uint32_t count)
{
    std::string text(count, '\0');
    text.resize(file.read(text.data(), count));
    return text;
}

} // namespace

TEST(File, MissingFileInModeZeroRefusesEverything)
{
    TempDirectory temp;
    File file(temp.wide("missing.txt"), 0);
    ASSERT_EQ(file.liba::ResourceReader::errors.size(), 1u);
    EXPECT_EQ(file.liba::ResourceReader::errors[0], u"can't open file");
    EXPECT_TRUE(file.refused());
    EXPECT_FALSE(file.is_open());
    char byte;
    EXPECT_EQ(file.read(&byte, 1), 0u);
    EXPECT_EQ(file.write("x", 1), 0u);
    EXPECT_EQ(file.skip(1), 0u);
    EXPECT_EQ(file.size(), 0u);
    EXPECT_FALSE(file.seek(0));
    EXPECT_EQ(file.tell(), 0u);
    EXPECT_FALSE(file.truncate(0));
    EXPECT_FALSE(file.flush());
    EXPECT_FALSE(temp.exists("missing.txt"));
}

TEST(File, AnErrorReportedLaterAlsoRefusesWork)
{
    TempDirectory temp;
    temp.write("a.txt", "hello");
    File file(temp.wide("a.txt"), 0);
    EXPECT_EQ(read_text(file, 2), "he");
    // Either side's error goes to the list that decides refusal.
    static_cast<liba::StreamWriter&>(file).add_error(u"broken");
    EXPECT_TRUE(file.refused());
    EXPECT_EQ(read_text(file, 3), "");
}

TEST(File, DirectoriesAndNamesWithZerosDoNotOpen)
{
    TempDirectory temp;
    temp.write("sub/x", "x");
    EXPECT_TRUE(File(temp.wide("sub"), 0).refused());
    EXPECT_TRUE(File(temp.wide("sub"), 3).refused());
    std::u16string with_zero = temp.wide("sub/x");
    with_zero += u'\0';
    with_zero += u"y";
    EXPECT_TRUE(File(with_zero, 1).refused());
    EXPECT_EQ(temp.read("sub/x"), "x");
}

TEST(File, ModeOneEmptiesOrCreates)
{
    TempDirectory temp;
    temp.write("a.txt", "old content");
    {
        File file(temp.wide("a.txt"), 1);
        ASSERT_TRUE(file.is_open());
        EXPECT_EQ(file.size(), 0u);
        EXPECT_EQ(write_text(file, "new"), 3u);
        // Write-only: reading fails and returns 0.
        char byte;
        EXPECT_EQ(file.read(&byte, 1), 0u);
    }
    EXPECT_EQ(temp.read("a.txt"), "new");
}

TEST(File, ModeTwoAppendsToAnExistingFileAndCreatesANewOne)
{
    TempDirectory temp;
    temp.write("log.txt", "first\n");
    {
        File file(temp.wide("log.txt"), 2);
        ASSERT_TRUE(file.is_open());
        EXPECT_EQ(file.tell(), 6u);
        write_text(file, "second\n");
    }
    EXPECT_EQ(temp.read("log.txt"), "first\nsecond\n");
    {
        File file(temp.wide("new.txt"), 2);
        ASSERT_TRUE(file.is_open());
        EXPECT_EQ(file.tell(), 0u);
        write_text(file, "x");
    }
    EXPECT_EQ(temp.read("new.txt"), "x");
}

TEST(File, ModeThreeReadsAndWritesFromTheStartWithoutEmptying)
{
    TempDirectory temp;
    temp.write("a.bin", "0123456789");
    for (int mode : { 3, 42, -1 }) {
        File file(temp.wide("a.bin"), mode);
        ASSERT_TRUE(file.is_open()) << mode;
        EXPECT_EQ(file.tell(), 0u);
        EXPECT_EQ(file.size(), 10u);
    }
    File file(temp.wide("a.bin"), 3);
    EXPECT_EQ(read_text(file, 3), "012");
    EXPECT_EQ(file.skip(2), 2u);
    EXPECT_EQ(write_text(file, "ab"), 2u);
    EXPECT_TRUE(file.seek(0));
    EXPECT_EQ(read_text(file, 100), "01234ab789");

    File created(temp.wide("b.bin"), 3);
    EXPECT_TRUE(created.is_open());
    EXPECT_EQ(created.size(), 0u);
}

TEST(File, TruncateEndsTheFileAtAPosition)
{
    TempDirectory temp;
    temp.write("a.bin", "0123456789");
    {
        File file(temp.wide("a.bin"), 3);
        EXPECT_TRUE(file.truncate(4));
        EXPECT_EQ(file.size(), 4u);
        EXPECT_EQ(file.tell(), 4u);
        write_text(file, "X");
        EXPECT_TRUE(file.flush());
    }
    EXPECT_EQ(temp.read("a.bin"), "0123X");
}

TEST(File, ZeroLengthOperationsAndReadsAtTheEnd)
{
    TempDirectory temp;
    temp.write("a.bin", "abc");
    File file(temp.wide("a.bin"), 3);
    EXPECT_EQ(file.read(nullptr, 0), 0u);
    EXPECT_EQ(file.write(nullptr, 0), 0u);
    EXPECT_EQ(file.skip(0), 0u);
    EXPECT_EQ(read_text(file, 10), "abc");
    EXPECT_EQ(read_text(file, 10), "");
    // Running out of data is no error.
    EXPECT_FALSE(file.refused());
}

TEST(File, PathsMayUseMacrosAndBackslashes)
{
    TempDirectory temp;
    temp.write("dir/a.txt", "hello");
    std::u16string path = temp.wide() + u"\\dir\\a.txt";
    File file(path, 0);
    EXPECT_EQ(read_text(file, 5), "hello");
}
