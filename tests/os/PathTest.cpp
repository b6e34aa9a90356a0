#include "os/Path.h"

#include "os/File.h"
#include "os/Finder.h"

#include "platform/Convert.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/stat.h>
#include <vector>

using namespace os;

namespace {

std::u16string program_directory()
{
    char resolved[PATH_MAX];
    if (!realpath(RINGWISE_BINARY_DIR "/bin", resolved))
        return {};
    return platform::from_utf8(resolved);
}

// Points the special folders at a test's own environment and puts the
// process's environment back afterwards.
class SpecialFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : names) {
            const char* value = std::getenv(name);
            saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
    }
    void TearDown() override
    {
        for (const auto& [name, value] : saved) {
            if (value)
                setenv(name, value->c_str(), 1);
            else
                unsetenv(name);
        }
        reload_special_folders();
    }

    static constexpr const char* names[]
        = { "RINGWISE_ROOT", "HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DOCUMENTS_DIR" };
    std::vector<std::pair<const char*, std::optional<std::string>>> saved;
    TempDirectory home;
};

} // namespace

TEST(ExpandPath, AppPathBecomesTheProgramsDirectory)
{
    EXPECT_EQ(expand_path(u"%app_path%/commands/commands.xml"),
        program_directory() + u"/commands/commands.xml");
    EXPECT_EQ(expand_path(u"%app_path%\\commands\\commands.xml"),
        program_directory() + u"/commands/commands.xml");
    EXPECT_EQ(expand_path(u"%app_full_name%.txt"), program_directory() + u"/os_tests.txt");
    EXPECT_EQ(expand_path(u"%app_name%"), u"os_tests");
}

TEST(ExpandPath, OnlyALeadingMacroInItsOwnCaseIsExpanded)
{
    EXPECT_EQ(expand_path(u"x%app_path%/a"), u"x%app_path%/a");
    EXPECT_EQ(expand_path(u"/a/%app_path%/b"), u"/a/%app_path%/b");
    EXPECT_EQ(expand_path(u"%APP_PATH%/a"), u"%APP_PATH%/a");
    EXPECT_EQ(expand_path(u"%unknown%\\a"), u"%unknown%/a");
    EXPECT_EQ(expand_path(u"%app_path"), u"%app_path");
    EXPECT_EQ(expand_path(u""), u"");
    EXPECT_EQ(expand_path(u"a\\b/c\\"), u"a/b/c/");
}

TEST_F(SpecialFolders, RootOverrideHoldsEveryFolder)
{
    setenv("RINGWISE_ROOT", (home.native() + "/").c_str(), 1);
    reload_special_folders();
    EXPECT_EQ(expand_path(u"%my_documents%/a.vcb"), home.wide("Documents/a.vcb"));
    EXPECT_EQ(expand_path(u"%windows%"), home.wide("system"));
    EXPECT_EQ(expand_path(u"%startup%"), home.wide("autostart"));
    EXPECT_EQ(expand_path(u"%programs%\\x"), home.wide("applications/x"));
    EXPECT_EQ(expand_path(u"%start_menu%"), home.wide("applications"));
    EXPECT_EQ(expand_path(u"%program_files%"), home.wide("programs"));
}

TEST_F(SpecialFolders, FollowXdgConventions)
{
    setenv("HOME", home.native().c_str(), 1);
    setenv("XDG_DATA_HOME", home.native("data").c_str(), 1);
    reload_special_folders();
    EXPECT_EQ(expand_path(u"%my_documents%"), home.wide("Documents"));
    EXPECT_EQ(expand_path(u"%windows%"), home.wide("data/ringwise/system"));
    EXPECT_EQ(expand_path(u"%startup%"), home.wide(".config/autostart"));
    EXPECT_EQ(expand_path(u"%programs%"), home.wide("data/applications"));
    EXPECT_EQ(expand_path(u"%start_menu%"), home.wide("data/applications"));
    EXPECT_EQ(expand_path(u"%program_files%"), home.wide("data/ringwise/programs"));
}

TEST_F(SpecialFolders, DocumentsFromTheUsersFolderList)
{
    setenv("HOME", home.native().c_str(), 1);
    home.write(".config/user-dirs.dirs",
        "# comment\nXDG_DESKTOP_DIR=\"$HOME/Desk\"\nXDG_DOCUMENTS_DIR=\"$HOME/Papiers\"\n");
    reload_special_folders();
    EXPECT_EQ(expand_path(u"%my_documents%"), home.wide("Papiers"));

    setenv("XDG_DOCUMENTS_DIR", "/elsewhere/docs", 1);
    reload_special_folders();
    EXPECT_EQ(expand_path(u"%my_documents%"), u"/elsewhere/docs");
}

TEST_F(SpecialFolders, StayFixedUntilReloaded)
{
    setenv("RINGWISE_ROOT", home.native().c_str(), 1);
    reload_special_folders();
    setenv("RINGWISE_ROOT", "/somewhere/else", 1);
    EXPECT_EQ(expand_path(u"%windows%"), home.wide("system"));
}

TEST(PathNames, JoinPutsExactlyOneSeparatorBetween)
{
    EXPECT_EQ(join_path(u"dir/", u"file.txt"), u"dir/file.txt");
    EXPECT_EQ(join_path(u"dir\\", u"file.txt"), u"dir/file.txt");
    EXPECT_EQ(join_path(u"dir", u"file.txt"), u"dir/file.txt");
    EXPECT_EQ(join_path(u"", u"file.txt"), u"file.txt");
    EXPECT_EQ(join_path(u"/", u"tmp"), u"/tmp");
}

TEST(PathNames, DirectoryAndFileNameSplitAtTheLastSeparator)
{
    EXPECT_EQ(directory_of(u"a\\b/c\\d.txt"), u"a\\b/c\\");
    EXPECT_EQ(directory_of(u"a/b\\c/d.txt"), u"a/b\\c/");
    EXPECT_EQ(directory_of(u"d.txt"), u"");
    EXPECT_EQ(directory_of(u"dir/"), u"dir/");
    EXPECT_EQ(file_name_of(u"a\\b/c.txt"), u"c.txt");
    EXPECT_EQ(file_name_of(u"c.txt"), u"c.txt");
    EXPECT_EQ(file_name_of(u"dir/"), u"");
}

TEST(PathNames, StripsOneSeparatorAndOnlyARealExtension)
{
    EXPECT_EQ(strip_separator(u"dir//"), u"dir/");
    EXPECT_EQ(strip_separator(u"dir\\"), u"dir");
    EXPECT_EQ(strip_separator(u""), u"");
    EXPECT_EQ(strip_extension(u"a/b.tar.gz"), u"a/b.tar");
    EXPECT_EQ(strip_extension(u"my.dir/file"), u"my.dir/file");
    EXPECT_EQ(strip_extension(u"my.dir\\file"), u"my.dir\\file");
    EXPECT_EQ(strip_extension(u"name."), u"name");
    EXPECT_EQ(file_title_of(u"%app_path%/commands/Anna Home.tag"), u"Anna Home");
    EXPECT_EQ(file_title_of(u"x.y/z"), u"z");
}

TEST(PathNames, SamePathIgnoresCaseSeparatorsAndOneTrailingSeparator)
{
    EXPECT_TRUE(same_path(u"commands", u"Commands/"));
    EXPECT_TRUE(same_path(u"a\\B\\c", u"A/b/C"));
    EXPECT_TRUE(same_path(u"%app_path%/x", program_directory() + u"/X"));
    EXPECT_FALSE(same_path(u"commands", u"commands//"));
    EXPECT_FALSE(same_path(u"commands/sub", u"commands"));
}

TEST(Directories, CreateMakesEveryMissingLevelAndDeleteRemovesAFile)
{
    TempDirectory temp;
    create_directories(temp.wide("a/b\\c/"));
    struct stat status;
    ASSERT_EQ(stat(temp.native("a/b/c").c_str(), &status), 0);
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    // Existing levels, and a file in the way, are no failure.
    create_directories(temp.wide("a/b/c"));
    temp.write("f", "x");
    create_directories(temp.wide("f/g"));
    EXPECT_FALSE(temp.exists("f/g"));

    delete_file(temp.wide("f"));
    EXPECT_FALSE(temp.exists("f"));
    delete_file(temp.wide("missing"));
}

TEST(NativePath, IsUtf8)
{
    EXPECT_EQ(native_path(u"/tmp/\u00e9t\u00e9 \u20ac"), "/tmp/\xc3\xa9t\xc3\xa9 \xe2\x82\xac");
}

namespace {

// The program folder treated as installed, read-only, with the user's layer
// in a test folder.
class LayeredProgramFolder : public SpecialFolders {
protected:
    void SetUp() override
    {
        SpecialFolders::SetUp();
        setenv("XDG_DATA_HOME", home.native().c_str(), 1);
        setenv("RINGWISE_PROGRAM_READ_ONLY", "1", 1);
        reload_special_folders();
        user = platform::from_utf8(home.native() + "/ringwise");
    }
    void TearDown() override
    {
        unsetenv("RINGWISE_PROGRAM_READ_ONLY");
        SpecialFolders::TearDown();
    }
    std::u16string user;
};

class Names final : public Finder {
public:
    bool on_file(const std::u16string& path) override
    {
        files.push_back(path);
        return true;
    }
    std::vector<std::u16string> files;
};

} // namespace

TEST_F(LayeredProgramFolder, ReadsFromTheUserFirstAndWritesOnlyThere)
{
    // The program's own file is read from the program folder until the user
    // has one of the same name.
    EXPECT_EQ(expand_path(u"%app_path%/os_tests"), program_directory() + u"/os_tests");
    EXPECT_EQ(expand_path_for_writing(u"%app_path%/os_tests"), user + u"/os_tests");
    // A file that exists nowhere is the user's: a later write creates it there.
    EXPECT_EQ(expand_path(u"%app_path%/settings.xml"), user + u"/settings.xml");
    create_directories(u"%app_path%/commands");
    EXPECT_TRUE(std::filesystem::is_directory(home.native("ringwise/commands")));
    {
        File file(u"%app_path%/commands/a.tag", 1);
        ASSERT_TRUE(file.is_open());
    }
    EXPECT_TRUE(std::filesystem::exists(home.native("ringwise/commands/a.tag")));
    EXPECT_EQ(expand_path(u"%app_path%\\commands\\a.tag"), user + u"/commands/a.tag");
    {
        File shadow(u"%app_path%/os_tests", 1);
        ASSERT_TRUE(shadow.is_open());
    }
    EXPECT_EQ(expand_path(u"%app_path%/os_tests"), user + u"/os_tests");
    ASSERT_TRUE(rename_path(u"%app_path%/commands/a.tag", u"%app_path%/commands/b.tag"));
    delete_file(u"%app_path%/commands/b.tag");
    EXPECT_FALSE(std::filesystem::exists(home.native("ringwise/commands/b.tag")));
    // The bare macro still names the program folder, where the programs are.
    EXPECT_EQ(expand_path(u"%app_path%"), program_directory());
}

TEST_F(LayeredProgramFolder, AWalkMergesBothLayersTheUsersEntryHidingTheProgramsOne)
{
    std::filesystem::create_directories(home.native("ringwise"));
    for (const char* name : { "os_tests", "zz-user-only" })
        std::ofstream(home.native("ringwise/") + name) << "user";
    Names names;
    find_files(names, u"%app_path%", u"*", u"find.nothing", false);
    auto count = [&](const std::u16string& path) {
        return std::count(names.files.begin(), names.files.end(), path);
    };
    EXPECT_EQ(count(u"%app_path%/os_tests"), 1);
    EXPECT_EQ(count(u"%app_path%/zz-user-only"), 1);
    // Files only the program folder has are there as well.
    EXPECT_EQ(count(u"%app_path%/skinc"), 1) << names.files.size();
    EXPECT_TRUE(std::is_sorted(names.files.begin(), names.files.end(),
        [](const std::u16string& a, const std::u16string& b) {
            return platform::to_lower(a) < platform::to_lower(b);
        }));
}

TEST(ExpandPath, AWritableProgramFolderHasNoLayer)
{
    EXPECT_EQ(expand_path_for_writing(u"%app_path%/settings.xml"),
        program_directory() + u"/settings.xml");
    EXPECT_EQ(expand_path_layers(u"%app_path%/skins"),
        std::vector<std::u16string> { program_directory() + u"/skins" });
}
