#include "tests/app/DocumentFixture.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/engine/Recordings.h"

#include "app/TagBackup.h"
#include "audio/CaptureFormat.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace {

namespace fs = std::filesystem;

// A store with a tag recorded for each of two entries (voices 001 and 002).
class StoreRepair : public DocumentFixture {
protected:
    void SetUp() override
    {
        DocumentFixture::SetUp();
        for (auto [id, name] : { std::pair { 1, u"Anna" }, std::pair { 2, u"Oscar" } }) {
            Command command;
            command.id = id;
            command.name = name;
            command.full_name = name;
            command.phone = u"555";
            capture();
            ASSERT_TRUE(document->record_tag(command));
        }
    }

    void capture()
    {
        std::vector<std::int16_t> samples
            = test_recordings::noise(audio::LEAD_IN_BYTES / 2, 30, 7u);
        std::vector<std::int16_t> speech
            = test_recordings::capture(test_recordings::load("margaret-slow"));
        samples.insert(samples.end(), speech.begin(), speech.end());
        document->audio().capture_buffer().set_duration(audio::MAX_RECORD_SECONDS);
        document->audio().capture_buffer().on_data(audio_test::sample_block(samples));
    }

    std::set<std::string> files(const std::string& folder = "app/commands") const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(temp.native(folder)))
            names.insert(entry.path().filename().string());
        return names;
    }

    static std::set<std::string> tag_files(std::initializer_list<const char*> voices)
    {
        std::set<std::string> names { "commands.xml" };
        for (const char* voice : voices) {
            names.insert(std::string(voice) + ".tag");
            names.insert(std::string(voice) + ".wav");
        }
        return names;
    }
};

TEST_F(StoreRepair, RecordingStoresBothFilesAndTheListWithNothingElseBeside)
{
    EXPECT_EQ(files(), tag_files({ "001", "002" }));
    std::string list = temp.read("app/commands/commands.xml");
    EXPECT_NE(list.find("voice=\"001\""), std::string::npos) << list;
    EXPECT_NE(list.find("voice=\"002\""), std::string::npos) << list;
}

TEST_F(StoreRepair, StartUpRemovesTemporariesAndTheFilesOfVoicesTheListDoesNotName)
{
    temp.write("app/commands/003.tag", "half a tag");
    temp.write("app/commands/003.wav", "RIFF");
    temp.write("app/commands/001.cepstra", "cache of a listed tag");
    temp.write("app/commands/004.cepstra", "cache of no tag");
    temp.write("app/commands/001.wav.a1B2c3.tmp", "a recording cut short");
    temp.write("app/commands/commands.xml.Zz09Yy.tmp", "<Comm");
    temp.write("app/commands/notes.txt", "not ours to judge");
    temp.write("app/settings.xml", "<Settings/>");
    temp.write("app/settings.xml.Qq77Rr.tmp", "<Sett");
    document->repair_store();
    std::set<std::string> expected = tag_files({ "001", "002" });
    expected.insert({ "001.cepstra", "notes.txt" });
    EXPECT_EQ(files(), expected);
    EXPECT_EQ(files("app"), (std::set<std::string> { "commands", "settings.xml" }));
}

TEST_F(StoreRepair, AListThatCannotBeReadSparesEveryTagFile)
{
    temp.write("app/commands/commands.xml", "<Commands><Command voice=\"001\"");
    temp.write("app/commands/002.tag.q1w2e3.tmp", "");
    document->repair_store();
    std::set<std::string> expected = tag_files({ "001", "002" });
    EXPECT_EQ(files(), expected);
}

TEST_F(StoreRepair, WithoutAListNoTagFileIsNamed)
{
    fs::remove(temp.native("app/commands/commands.xml"));
    document->repair_store();
    EXPECT_TRUE(files().empty());
}

// A restore on a file system without an atomic exchange swaps the folders
// in two renames; start-up finishes a swap that a crash cut in two.
TEST_F(StoreRepair, AnInterruptedRestoreIsFinishedOrUndoneAtStartUp)
{
    fs::rename(temp.native("app/commands"), temp.native("app/commands.old-77"));
    temp.write("app/commands.restore-77/commands.xml", "<Commands/>");
    temp.write("app/commands.restore-77/009.tag", "restored");
    temp.write("app/commands.restore-55/001.tag", "from a restore cut short earlier");
    document->repair_store();
    EXPECT_EQ(files("app"), (std::set<std::string> { "commands" }));
    // The complete new folder took the name; its tag files are named by no list.
    EXPECT_EQ(files(), (std::set<std::string> { "commands.xml" }));

    // Only the old folder, stepped aside: it comes back.
    fs::rename(temp.native("app/commands"), temp.native("app/commands.old-78"));
    document->repair_store();
    EXPECT_EQ(files("app"), (std::set<std::string> { "commands" }));
}

TEST_F(StoreRepair, ARestoreLeavesNoFolderBesideTheCommands)
{
    ASSERT_TRUE(backup_tags(temp.wide("all.vcb")));
    fs::remove(temp.native("app/commands/002.tag"));
    ASSERT_TRUE(restore_tags(temp.wide("all.vcb")));
    EXPECT_EQ(files(), tag_files({ "001", "002" }));
    EXPECT_EQ(files("app"), (std::set<std::string> { "commands" }));
}

} // namespace
