#include "os/Finder.h"
#include "os/ChunkFileFinder.h"
#include "os/FileFinder.h"
#include "os/FileRemover.h"
#include "platform/Convert.h"

#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

using namespace os;

namespace {

// Records every callback in order: "f:" for files, "d:" for directories.
class Recorder : public Finder {
public:
    bool on_file(const std::u16string& path) override
    {
        visits.push_back(u"f:" + path);
        return visits.size() < stop_after;
    }
    bool on_directory(const std::u16string& path) override
    {
        visits.push_back(u"d:" + path);
        return visits.size() < stop_after;
    }

    std::vector<std::u16string> visits;
    std::size_t stop_after = 1000;
};

class FindFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        temp.write("b.wav", "");
        temp.write("A.TAG", "");
        temp.write("c.tag", "");
        temp.write(".hidden", "");
        temp.write("sub/inner.tag", "");
        temp.write("sub/deeper/deep.tag", "");
        temp.write("zeta/z.wav", "");
        root = temp.wide();
    }
    std::u16string at(const std::string& relative) const
    {
        return root + u"/" + platform::from_utf8(relative);
    }

    TempDirectory temp;
    std::u16string root;
};

} // namespace

TEST_F(FindFiles, ReportsFilesBeforeSubdirectoriesAndNeverDotEntries)
{
    Recorder recorder;
    EXPECT_TRUE(find_files(recorder, root, u"*", u"*", false));
    std::vector<std::u16string> expected = {
        u"f:" + at(".hidden"),
        u"f:" + at("A.TAG"),
        u"f:" + at("b.wav"),
        u"f:" + at("c.tag"),
        u"d:" + at("sub"),
        u"d:" + at("zeta"),
    };
    EXPECT_EQ(recorder.visits, expected);
}

TEST_F(FindFiles, RecursiveWalkVisitsEachDirectoryAfterItsFiles)
{
    Recorder recorder;
    find_files(recorder, root + u"/", u"*.tag", u"*", true);
    std::vector<std::u16string> expected = {
        u"f:" + at("A.TAG"),
        u"f:" + at("c.tag"),
        u"d:" + at("sub"),
        u"f:" + at("sub/inner.tag"),
        u"d:" + at("sub/deeper"),
        u"f:" + at("sub/deeper/deep.tag"),
        u"d:" + at("zeta"),
    };
    EXPECT_EQ(recorder.visits, expected);
}

TEST_F(FindFiles, PatternsIgnoreCaseAndFindNothingLooksAtFilesOnly)
{
    Recorder recorder;
    find_files(recorder, root, u"?.Tag", u"find.nothing", true);
    std::vector<std::u16string> expected = { u"f:" + at("A.TAG"), u"f:" + at("c.tag") };
    EXPECT_EQ(recorder.visits, expected);

    Recorder directories;
    find_files(directories, root, u"none", u"Z*", false);
    EXPECT_EQ(directories.visits, std::vector<std::u16string> { u"d:" + at("zeta") });
}

TEST_F(FindFiles, StopsAtOnceWhenACallbackSaysFalse)
{
    Recorder on_file;
    on_file.stop_after = 2;
    EXPECT_TRUE(find_files(on_file, root, u"*", u"*", true));
    EXPECT_EQ(on_file.visits.size(), 2u);

    // A stop deep inside the recursion ends the whole walk.
    Recorder nested;
    nested.stop_after = 6;
    EXPECT_TRUE(find_files(nested, root, u"*", u"*", true));
    ASSERT_EQ(nested.visits.size(), 6u);
    EXPECT_EQ(nested.visits.back(), u"f:" + at("sub/inner.tag"));

    Recorder on_directory;
    on_directory.stop_after = 1;
    find_files(on_directory, root, u"none", u"*", true);
    EXPECT_EQ(on_directory.visits, std::vector<std::u16string> { u"d:" + at("sub") });
}

TEST_F(FindFiles, MissingDirectoryOrNoMatchVisitsNothing)
{
    Recorder recorder;
    EXPECT_TRUE(find_files(recorder, at("missing"), u"*", u"*", true));
    EXPECT_TRUE(find_files(recorder, root, u"*.xyz", u"find.nothing", true));
    EXPECT_TRUE(recorder.visits.empty());
}

TEST_F(FindFiles, EmptyDirectoryMeansTheCurrentOneAndReportsBareNames)
{
    std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(temp.native("sub"));
    Recorder recorder;
    find_files(recorder, u"", u"*", u"*", false);
    std::filesystem::current_path(before);
    EXPECT_EQ(recorder.visits, (std::vector<std::u16string> { u"f:inner.tag", u"d:deeper" }));
}

TEST_F(FindFiles, LinkedDirectoriesAreReportedButNotFollowed)
{
    std::filesystem::create_directory_symlink(temp.native(), temp.native("sub/loop"));
    Recorder recorder;
    find_files(recorder, at("sub"), u"find.nothing", u"*", true);
    EXPECT_EQ(recorder.visits,
        (std::vector<std::u16string> { u"d:" + at("sub/deeper"), u"d:" + at("sub/loop") }));
}

TEST_F(FindFiles, FileFindersCollectAndTheRemoverDeletesOnlyFiles)
{
    FileFinder finder;
    find_files(finder, root, u"*.wav", u"*", true);
    EXPECT_EQ(finder.files, (std::vector<std::u16string> { at("b.wav"), at("zeta/z.wav") }));

    ChunkFileFinder chunk_finder;
    find_files(chunk_finder, root, u"*", u"find.nothing", false);
    EXPECT_EQ(chunk_finder.files.size(), 4u);

    FileRemover remover;
    find_files(remover, root, u"*", u"*", false);
    EXPECT_FALSE(temp.exists("b.wav"));
    EXPECT_FALSE(temp.exists(".hidden"));
    EXPECT_TRUE(temp.exists("sub/inner.tag"));
}
