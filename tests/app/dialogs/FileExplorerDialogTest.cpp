#include "app/dialogs/FileExplorerDialog.h"

#include "os/Path.h"

#include "tests/app/dialogs/DialogFixture.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace dialog_test;
using dialogs::ControlFiles;
using dialogs::FileExplorerDialog;

namespace {

class FileExplorerTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        skin = load_dialogs();
        folder = temp.native("tree");
        std::filesystem::create_directories(folder + "/zeta");
        std::filesystem::create_directories(folder + "/Alpha");
        temp.write("tree/b.txt", "text");
        temp.write("tree/A.wav", "RIFF");
        temp.write("tree/c.VCB", "backup");
        temp.write("tree/.hidden", "");
    }

    std::u16string tree(const std::string& relative = {}) const
    {
        return platform::from_utf8(relative.empty() ? folder : folder + "/" + relative);
    }

    static std::vector<std::u16string> names(const ControlFiles& files)
    {
        std::vector<std::u16string> result;
        for (int row = 0; row < files.visible_count(); ++row)
            result.push_back(files.visible_entry(row).name);
        return result;
    }

    std::unique_ptr<skinner::Skin> skin;
    std::string folder;
};

} // namespace

TEST_F(FileExplorerTest, StartsAtTheRootWithoutAnUpEntry)
{
    FileExplorerDialog dialog(nullptr, *skin, u"Save backup");
    play({ "wait-form FileExplorerDialog", "dump " + temp.native("root.txt"),
        "tap-control btnCancel" });
    EXPECT_EQ(dialog.run(), u"");
    EXPECT_EQ(dialog.files().folder(), u"/");
    ASSERT_GT(dialog.files().visible_count(), 0);
    EXPECT_NE(dialog.files().visible_entry(0).kind, ControlFiles::Kind::Up);
    EXPECT_NE(dumped("root.txt", "lstFiles").find("folder=/ "), std::string::npos);
    EXPECT_NE(dumped("root.txt", "frmCaption").find("text=Save backup"), std::string::npos);
    // Without a translation the label shows its English text.
    EXPECT_NE(dumped("root.txt", "frmPath").find("text=File name:"), std::string::npos);
}

TEST_F(FileExplorerTest, ListsTheUpEntryThenFoldersThenFilesEachInNameOrder)
{
    FileExplorerDialog dialog(nullptr, *skin, u"Open");
    dialog.files().enter_folder(tree());
    EXPECT_EQ(names(dialog.files()),
        (std::vector<std::u16string> {
            u"...", u"Alpha", u"zeta", u".hidden", u"A.wav", u"b.txt", u"c.VCB" }));
    EXPECT_EQ(dialog.files().visible_entry(0).path, platform::from_utf8(temp.native()));
    EXPECT_EQ(dialog.files().visible_entry(4).path, tree("A.wav"));
    EXPECT_EQ(dialog.files().selection(), 0);

    // Each row shows the icon of its kind; ".wav" files have the audio icon.
    play({ "wait-form FileExplorerDialog", "screenshot " + temp.native("tree.png"), "key Escape" });
    EXPECT_EQ(dialog.run(), u"");
    platform::Bitmap shot = screenshot("tree.png");
    platform::Rect at = window_rect(dialog);
    auto icon = [&](int row) {
        return shot.pixel(
            at.left + LIST_LEFT + ICON_COLUMN / 2, at.top + LIST_TOP + row * ROW_HEIGHT + 16);
    };
    EXPECT_EQ(icon(0), ICON_UP);
    EXPECT_EQ(icon(1), ICON_FOLDER);
    EXPECT_EQ(icon(2), ICON_FOLDER);
    EXPECT_EQ(icon(3), ICON_FILE);
    EXPECT_EQ(icon(4), ICON_AUDIO);
    EXPECT_EQ(icon(5), ICON_FILE);
}

TEST_F(FileExplorerTest, TheVcbFilterOverAFolderOfRecordingsShowsOnlyItsFolders)
{
    std::filesystem::create_directories(folder + "/voice/old");
    temp.write("tree/voice/one.wav", "RIFF");
    temp.write("tree/voice/two.WAV", "RIFF");
    FileExplorerDialog dialog(nullptr, *skin, u"Open");
    dialog.add_extension(u"vcb");
    dialog.files().enter_folder(tree("voice"));
    EXPECT_EQ(names(dialog.files()), (std::vector<std::u16string> { u"...", u"old" }));

    // Any case of the extension passes, and a name's extension is taken.
    dialog.files().enter_folder(tree());
    EXPECT_EQ(names(dialog.files()),
        (std::vector<std::u16string> { u"...", u"Alpha", u"voice", u"zeta", u"c.VCB" }));
    dialog.add_extension(u"%my_documents%/notes.TXT");
    EXPECT_EQ(dialog.files().extensions(), (std::set<std::u16string> { u"txt", u"vcb" }));
    EXPECT_EQ(names(dialog.files()).size(), 6u);
}

TEST_F(FileExplorerTest, ATypedNameIsJoinedToTheFolderEvenWhenNoSuchFileExists)
{
    FileExplorerDialog dialog(nullptr, *skin, u"Save backup");
    dialog.files().enter_folder(tree());
    play({ "wait-form FileExplorerDialog", "tap-control edtPath", "text new backup.vcb",
        "tap-control btnOk" });
    EXPECT_EQ(dialog.run(), tree("new backup.vcb"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/new backup.vcb"));
    // Closing disables what the user could still touch.
    EXPECT_FALSE(dialog.edit().is_enabled());
}

TEST_F(FileExplorerTest, AFullPathOrAMacroTypedStandsForItself)
{
    ::setenv("RINGWISE_ROOT", temp.native("root").c_str(), 1);
    os::reload_special_folders();
    FileExplorerDialog dialog(nullptr, *skin, u"Save backup");
    dialog.files().enter_folder(tree());
    play({ "wait-form FileExplorerDialog", "tap-control edtPath", "text %my_documents%/tags.vcb",
        "tap-control btnOk" });
    EXPECT_EQ(dialog.run(), platform::from_utf8(temp.native("root/Documents/tags.vcb")));

    FileExplorerDialog again(nullptr, *skin, u"Save backup");
    again.files().enter_folder(tree());
    play({ "wait-form FileExplorerDialog", "tap-control edtPath", "text /var/tmp/x.vcb",
        "key Return" });
    EXPECT_EQ(again.run(), u"/var/tmp/x.vcb");

    // A folder given with a macro is the real folder, with its real parent.
    std::filesystem::create_directories(temp.native("root/Documents"));
    again.files().enter_folder(u"%my_documents%");
    EXPECT_EQ(again.files().folder(), platform::from_utf8(temp.native("root/Documents")));
    EXPECT_EQ(again.files().visible_entry(0).path, platform::from_utf8(temp.native("root")));
    ::unsetenv("RINGWISE_ROOT");
    os::reload_special_folders();
}

TEST_F(FileExplorerTest, CancelReturnsNothingWhateverTheEditBoxHeld)
{
    FileExplorerDialog dialog(nullptr, *skin, u"Open");
    dialog.files().enter_folder(tree());
    play({ "wait-form FileExplorerDialog", "key Down", "key Down", "key Down", "key Down",
        "dump " + temp.native("chosen.txt"), "tap-control btnCancel" });
    EXPECT_EQ(dialog.run(), u"");
    EXPECT_NE(dumped("chosen.txt", "edtPath").find("text=A.wav"), std::string::npos);
    EXPECT_EQ(dialog.edit().text(), u"");

    FileExplorerDialog blank(nullptr, *skin, u"Open");
    play({ "wait-form FileExplorerDialog", "tap-control edtPath", "key Space",
        "tap-control btnOk" });
    EXPECT_EQ(blank.run(), u"");
}

TEST_F(FileExplorerTest, TheEditBoxFollowsTheSelectedFileAndEmptiesOnFolders)
{
    FileExplorerDialog dialog(nullptr, *skin, u"Open");
    dialog.files().enter_folder(tree());
    std::vector<std::string> lines { "wait-form FileExplorerDialog" };
    // A tap selects a row; a second tap on a file does not close the dialog.
    int step = 0;
    for (int row : { 5, 5, 1 }) {
        lines.push_back("tap " + row_point(dialog, row));
        lines.push_back("dump " + temp.native("row" + std::to_string(++step) + ".txt"));
    }
    lines.push_back("tap-control btnCancel");
    play(lines);
    EXPECT_EQ(dialog.run(), u"");
    EXPECT_NE(dumped("row1.txt", "edtPath").find("text=b.txt"), std::string::npos);
    EXPECT_NE(dumped("row2.txt", "edtPath").find("text=b.txt"), std::string::npos);
    EXPECT_NE(dumped("row2.txt", "lstFiles").find("selected=5"), std::string::npos);
    EXPECT_TRUE(dumped("row3.txt", "edtPath").ends_with(" text="));
    EXPECT_NE(dumped("row3.txt", "lstFiles").find("selected=1"), std::string::npos);
}

TEST_F(FileExplorerTest, ReturnOnAFileClosesTheDialogAsOkDoes)
{
    FileExplorerDialog dialog(nullptr, *skin, u"Open");
    dialog.files().enter_folder(tree());
    play({ "wait-form FileExplorerDialog", "key End", "key Return" });
    EXPECT_EQ(dialog.run(), tree("c.VCB"));
}

TEST_F(FileExplorerTest, FoldersAreEnteredAndLeftWithTheCursorOnTheFolderLeft)
{
    temp.write("tree/zeta/inside.vcb", "backup");
    FileExplorerDialog dialog(nullptr, *skin, u"Open");
    dialog.files().enter_folder(tree());
    // Into "zeta" by the keyboard, and back up by tapping the selected up entry.
    play({ "wait-form FileExplorerDialog", "key Down", "key Down", "key Return",
        "dump " + temp.native("zeta.txt"), "tap " + row_point(dialog, 0),
        "dump " + temp.native("back.txt"), "key Escape" });
    EXPECT_EQ(dialog.run(), u"");
    EXPECT_NE(
        dumped("zeta.txt", "lstFiles").find("folder=" + folder + "/zeta rows=2 first=0 selected=0"),
        std::string::npos);
    EXPECT_NE(
        dumped("back.txt", "lstFiles").find("folder=" + folder + " rows=7 first=0 selected=2"),
        std::string::npos);
    ASSERT_NE(dialog.files().selected_entry(), nullptr);
    EXPECT_EQ(dialog.files().selected_entry()->path, tree("zeta"));
}

TEST_F(FileExplorerTest, AFolderDeletedMeanwhileListsTheRoot)
{
    std::filesystem::create_directories(folder + "/gone");
    FileExplorerDialog dialog(nullptr, *skin, u"Open");
    dialog.files().enter_folder(tree());
    ASSERT_EQ(dialog.files().visible_entry(2).name, u"gone");
    std::filesystem::remove(folder + "/gone");
    play({ "wait-form FileExplorerDialog", "tap " + row_point(dialog, 2),
        "tap " + row_point(dialog, 2), "key Escape" });
    EXPECT_EQ(dialog.run(), u"");
    EXPECT_EQ(dialog.files().folder(), u"/");
    EXPECT_NE(dialog.files().visible_entry(0).kind, ControlFiles::Kind::Up);

    dialog.files().enter_folder(tree("never/there"));
    EXPECT_EQ(dialog.files().folder(), u"/");
}

TEST_F(FileExplorerTest, AnUnreadableFolderListsOnlyTheUpEntry)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every folder";
    std::filesystem::create_directories(folder + "/locked/secret");
    ::chmod((folder + "/locked").c_str(), 0);
    FileExplorerDialog dialog(nullptr, *skin, u"Open");
    dialog.files().enter_folder(tree("locked"));
    EXPECT_EQ(dialog.files().folder(), tree("locked"));
    EXPECT_EQ(names(dialog.files()), (std::vector<std::u16string> { u"..." }));
    ::chmod((folder + "/locked").c_str(), 0755);
}

TEST_F(FileExplorerTest, TheSoftKeysOkAndCancelCloseTheDialog)
{
    FileExplorerDialog dialog(nullptr, *skin, u"Open");
    dialog.files().enter_folder(tree());
    play({ "wait-form FileExplorerDialog", "key Down", "key Down", "key Down", "key Down",
        "command Ok" });
    EXPECT_EQ(dialog.run(), tree("A.wav"));

    FileExplorerDialog again(nullptr, *skin, u"Open");
    again.files().enter_folder(tree());
    play({ "wait-form FileExplorerDialog", "key Down", "key Down", "key Down", "key Down",
        "command Cancel" });
    EXPECT_EQ(again.run(), u"");
}
