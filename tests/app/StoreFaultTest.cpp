#include "audio/FileReaderWAVPCM.h"
#include "engine/TagFile.h"
#include "tests/app/ProgramFolder.h"

#include <csignal>
#include <map>
#include <regex>
#include <set>

// Crashes at every step of every save: the real tool and program run with
// RINGWISE_TEST_CRASH_AT=N, which kills them with SIGKILL at their N-th
// write, rename or deletion, for N = 1, 2, ... until a run gets through.
// After each crash the program must start, and its store must be whole:
// every tag commands.xml names has its two files, each complete; no tag
// of before is lost; nothing else is left in the folder.

namespace {

namespace fs = std::filesystem;

// More steps than any of the saves below takes: a run that is still cut
// short after this many is a fault of its own.
constexpr long MOST_STEPS = 200;

class StoreFaults : public ProgramFolder {
protected:
    void SetUp() override
    {
        ProgramFolder::SetUp();
        write_settings_skin();
        write_settings(false, false, false);
        tag("Anna", ANNA_PHONE, recording("anna-1"));
        anna_id = contact_id("Anna");
        oscar_id = contact_id("Oscar");
    }

    std::string contact_id(const std::string& first_name)
    {
        return shell(temp.native("ringwise-tool") + " contacts | awk -F'\\t' '$2==\"" + first_name
            + "\"{printf $1}'");
    }

    // Runs a command of the folder's tool or program, killed at its n-th
    // step; true when that step came (the run was cut short).
    bool killed_at(long n, const std::string& command)
    {
        pid_t child = ::fork();
        if (child == 0) {
            ::setenv("RINGWISE_TEST_CRASH_AT", std::to_string(n).c_str(), 1);
            std::string line = "exec " + temp.native(command) + " >'" + temp.native("crash.out")
                + "' 2>'" + temp.native("crash.err") + "'";
            ::execl("/bin/sh", "sh", "-c", line.c_str(), nullptr);
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (WIFSIGNALED(status)) {
            EXPECT_EQ(WTERMSIG(status), SIGKILL) << command << " at step " << n;
            return true;
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << command << " at step " << n << ": " << temp.read("crash.err");
        return false;
    }

    std::map<std::string, std::string> listed()
    {
        // voice -> phone of every tagged command.
        std::map<std::string, std::string> voices;
        std::string list = temp.read("commands/commands.xml");
        std::regex entry("phone=\"([^\"]*)\"[^>]*voice=\"([^\"]*)\"");
        for (std::sregex_iterator it(list.begin(), list.end(), entry), end; it != end; ++it)
            voices[(*it)[2]] = (*it)[1];
        return voices;
    }

    std::string voice_of(const std::string& phone)
    {
        for (const auto& [voice, number] : listed())
            if (number == phone)
                return voice;
        return {};
    }

    bool is_whole_recording(const std::string& name)
    {
        std::string bytes = temp.read("commands/" + name);
        audio::FileReaderWAVPCM reader(temp.wide("commands/" + name));
        return reader.is_good() && bytes.size() > 44
            && reader.data_size() == static_cast<std::int64_t>(bytes.size() - 44);
    }

    // The program starts as a user would start it after the crash (its
    // start-up repairs the store), shows its settings form and ends; then
    // the store holds exactly the listed tags' files, each whole.
    void expect_start_and_whole_store(const std::string& context)
    {
        fs::remove(path("started.txt"));
        script("wait-form FormSettings 60000\ndump " + path("started.txt") + "\ncommand Exit\n");
        Result result = run("s");
        ::unsetenv("RINGWISE_SCRIPT");
        ASSERT_EQ(result.status, 0) << context << "\n" << result.err;
        ASSERT_TRUE(temp.exists("started.txt")) << context << "\n" << result.err;

        std::set<std::string> expected;
        std::map<std::string, std::string> voices = listed();
        if (temp.exists("commands/commands.xml"))
            expected.insert("commands.xml");
        for (const auto& [voice, phone] : voices) {
            expected.insert(voice + ".tag");
            expected.insert(voice + ".wav");
            EXPECT_TRUE(read_template(temp.wide("commands/" + voice + ".tag")))
                << context << ": " << voice << ".tag";
            EXPECT_TRUE(is_whole_recording(voice + ".wav")) << context << ": " << voice << ".wav";
        }
        std::set<std::string> found;
        if (fs::exists(path("commands")))
            for (const auto& entry : fs::directory_iterator(path("commands")))
                found.insert(entry.path().filename().string());
        EXPECT_EQ(found, expected) << context;
        for (const auto& entry : fs::directory_iterator(temp.native())) {
            std::string name = entry.path().filename().string();
            EXPECT_TRUE(name.rfind("commands.", 0) != 0 && name.find(".tmp") == std::string::npos)
                << context << ": " << name << " left beside the store";
        }
    }

    std::string tool(const std::string& arguments) { return "ringwise-tool " + arguments; }

    void untag_oscar()
    {
        ASSERT_EQ(shell(temp.native(tool("untag " + oscar_id + " '" + OSCAR_PHONE + "'"))), "");
    }

    // Steps each save took to get through without a crash.
    long steps { 0 };
    std::string anna_id;
    std::string oscar_id;
};

TEST_F(StoreFaults, ACrashWhileRecordingANewTagLosesNoEarlierTag)
{
    std::string anna_tag = temp.read("commands/001.tag");
    std::string anna_wav = temp.read("commands/001.wav");
    std::string command
        = tool("tag " + oscar_id + " '" + OSCAR_PHONE + "' " + recording("oscar-1"));
    for (steps = 1; steps <= MOST_STEPS; ++steps) {
        bool killed = killed_at(steps, command);
        std::string context = "tag, crash at step " + std::to_string(steps);
        expect_start_and_whole_store(context);
        EXPECT_EQ(voice_of(ANNA_PHONE), "001") << context;
        EXPECT_EQ(temp.read("commands/001.tag"), anna_tag) << context;
        EXPECT_EQ(temp.read("commands/001.wav"), anna_wav) << context;
        if (!killed) {
            EXPECT_EQ(voice_of(OSCAR_PHONE), "002");
            break;
        }
        // A crash after the list was saved left a whole tag: start again without it.
        if (!voice_of(OSCAR_PHONE).empty())
            untag_oscar();
    }
    EXPECT_GT(steps, 8);
    EXPECT_LE(steps, MOST_STEPS);
}

TEST_F(StoreFaults, ACrashWhileRecordingATagAgainLeavesAWholeTag)
{
    std::string command = tool("tag " + anna_id + " '" + ANNA_PHONE + "' " + recording("anna-2"));
    for (steps = 1; steps <= MOST_STEPS; ++steps) {
        bool killed = killed_at(steps, command);
        std::string context = "tag again, crash at step " + std::to_string(steps);
        expect_start_and_whole_store(context);
        EXPECT_EQ(voice_of(ANNA_PHONE), "001") << context;
        if (!killed)
            break;
    }
    EXPECT_GT(steps, 8);
    EXPECT_LE(steps, MOST_STEPS);
}

TEST_F(StoreFaults, ACrashWhileDeletingATagKeepsTheOthers)
{
    tag("Oscar", OSCAR_PHONE, recording("oscar-1"));
    std::string command = tool("untag " + oscar_id + " '" + OSCAR_PHONE + "'");
    for (steps = 1; steps <= MOST_STEPS; ++steps) {
        bool killed = killed_at(steps, command);
        std::string context = "untag, crash at step " + std::to_string(steps);
        expect_start_and_whole_store(context);
        EXPECT_EQ(voice_of(ANNA_PHONE), "001") << context;
        if (!killed) {
            EXPECT_EQ(voice_of(OSCAR_PHONE), "");
            break;
        }
        if (voice_of(OSCAR_PHONE).empty())
            tag("Oscar", OSCAR_PHONE, recording("oscar-1"));
    }
    EXPECT_GT(steps, 3);
    EXPECT_LE(steps, MOST_STEPS);
}

TEST_F(StoreFaults, ACrashWhileSavingTheSettingsKeepsTheOldOrTheNewFile)
{
    std::string before = temp.read("settings.xml");
    std::string lines = "wait-form FormSettings 60000\ncommand Play_sound\ncommand Exit\n";
    for (steps = 1; steps <= MOST_STEPS; ++steps) {
        script(lines);
        bool killed = killed_at(steps, "Ringwise s");
        ::unsetenv("RINGWISE_SCRIPT");
        std::string context = "settings, crash at step " + std::to_string(steps);
        std::string after = temp.read("settings.xml");
        EXPECT_TRUE(after == before
            || after.find("<General PlaySound=\"true\" PlayCommands=\"false\"")
                != std::string::npos)
            << context << ": " << after;
        expect_start_and_whole_store(context);
        if (!killed)
            break;
        write_settings(false, false, false);
    }
    EXPECT_GT(steps, 3);
    EXPECT_LE(steps, MOST_STEPS);
}

TEST_F(StoreFaults, ACrashWhileBackingUpLeavesTheTagsAndNoHalfBackup)
{
    tag("Oscar", OSCAR_PHONE, recording("oscar-1"));
    std::string command = tool("backup " + path("saved/tags.vcb"));
    fs::create_directories(path("saved"));
    for (steps = 1; steps <= MOST_STEPS; ++steps) {
        bool killed = killed_at(steps, command);
        std::string context = "backup, crash at step " + std::to_string(steps);
        expect_start_and_whole_store(context);
        EXPECT_EQ(listed().size(), 2u) << context;
        if (!killed)
            break;
        EXPECT_FALSE(temp.exists("saved/tags.vcb")) << context;
        fs::remove_all(path("saved"));
        fs::create_directories(path("saved"));
    }
    EXPECT_GT(steps, 3);
    EXPECT_LE(steps, MOST_STEPS);
    // The backup is whole: restoring it gives both tags back.
    ASSERT_EQ(shell(temp.native(tool("untag " + anna_id + " '" + ANNA_PHONE + "'"))), "");
    EXPECT_EQ(shell(temp.native(tool("restore " + path("saved/tags.vcb")))),
        "restored " + path("saved/tags.vcb") + "\n");
    EXPECT_EQ(listed().size(), 2u);
}

TEST_F(StoreFaults, TheNextBackupRemovesWhatCrashedBackupsLeftButNotARunningOnesFile)
{
    fs::create_directories(path("saved"));
    // A backup killed once its partial file holds data.
    std::string partial;
    for (steps = 1; steps <= MOST_STEPS && partial.empty(); ++steps) {
        ASSERT_TRUE(killed_at(steps, tool("backup " + path("saved/tags.vcb"))))
            << "the backup got through without a partial file at step " << steps;
        for (const auto& entry : fs::directory_iterator(path("saved")))
            if (entry.path().filename().string().starts_with("tags.vcb.part-")
                && entry.file_size() > 0)
                partial = entry.path().filename().string();
    }
    ASSERT_FALSE(partial.empty());
    // The killed process is gone; this test's own process runs, as another
    // backup being written now would.
    std::string gone = partial.substr(partial.rfind('-') + 1);
    std::string running = std::to_string(::getpid());
    temp.write("saved/older.VCB.part-" + gone, "cut short");
    temp.write("saved/other.vcb.part-" + running, "being written");
    // Names of other files, whatever their numbers.
    for (const std::string name :
        { "notes.txt.part-" + gone, "tags.vcb.part-" + gone + "x", std::string("tags.vcb.part-") })
        temp.write("saved/" + name, "not a backup");

    // The next backup, from the settings form.
    script("wait-form FormSettings 60000\ncommand Backup_tags\nwait-form FileExplorerDialog\n"
           "tap-control edtPath\ntext "
        + path("saved/tags.vcb") + "\ntap-control btnOk\nwait-form FormSettings\ncommand Exit\n");
    Result result = run("s");
    ::unsetenv("RINGWISE_SCRIPT");
    ASSERT_EQ(result.status, 0) << result.err;

    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(path("saved")))
        found.insert(entry.path().filename().string());
    EXPECT_EQ(found,
        (std::set<std::string> { "tags.vcb", "other.vcb.part-" + running, "notes.txt.part-" + gone,
            "tags.vcb.part-" + gone + "x", std::string("tags.vcb.part-") }));
    EXPECT_EQ(temp.read("saved/other.vcb.part-" + running), "being written");
    // The new backup is whole.
    ASSERT_EQ(shell(temp.native(tool("untag " + anna_id + " '" + ANNA_PHONE + "'"))), "");
    ASSERT_EQ(voice_of(ANNA_PHONE), "");
    EXPECT_EQ(shell(temp.native(tool("restore " + path("saved/tags.vcb")))),
        "restored " + path("saved/tags.vcb") + "\n");
    EXPECT_EQ(voice_of(ANNA_PHONE), "001");
}

TEST_F(StoreFaults, ACrashWhileRestoringLeavesTheOldOrTheRestoredTags)
{
    ASSERT_NE(shell(temp.native(tool("backup " + path("anna.vcb")))), "");
    tag("Oscar", OSCAR_PHONE, recording("oscar-1"));
    std::string command = tool("restore " + path("anna.vcb"));
    for (steps = 1; steps <= MOST_STEPS; ++steps) {
        bool killed = killed_at(steps, command);
        std::string context = "restore, crash at step " + std::to_string(steps);
        expect_start_and_whole_store(context);
        EXPECT_EQ(voice_of(ANNA_PHONE), "001") << context;
        if (!killed) {
            EXPECT_EQ(listed().size(), 1u);
            break;
        }
        // Either the tags of before or those of the backup, never a mixture.
        EXPECT_TRUE(listed().size() == 2u
            || temp.read("commands/commands.xml").find(OSCAR_PHONE) == std::string::npos)
            << context;
        if (listed().size() == 1u)
            tag("Oscar", OSCAR_PHONE, recording("oscar-1"));
    }
    EXPECT_GT(steps, 3);
    EXPECT_LE(steps, MOST_STEPS);
}

TEST_F(StoreFaults, ACrashWhileTheProgramRecordsOrDeletesATagLosesNoEarlierTag)
{
    std::string anna_tag = temp.read("commands/001.tag");
    set("RINGWISE_MIC", recording("oscar-1"));
    set("RINGWISE_DEVICE_SPEED", "10");
    // Started with Oscar's id, the form selects his row; it records, then deletes the tag.
    std::string lines = "wait-form FormSettings 60000\ncommand Record\nwait 5000\ncommand Delete\n"
                        "command Exit\n";
    for (steps = 1; steps <= MOST_STEPS; ++steps) {
        script(lines);
        bool killed = killed_at(steps, "Ringwise " + oscar_id);
        ::unsetenv("RINGWISE_SCRIPT");
        std::string context = "program, crash at step " + std::to_string(steps);
        expect_start_and_whole_store(context);
        EXPECT_EQ(temp.read("commands/001.tag"), anna_tag) << context;
        if (!killed) {
            EXPECT_EQ(listed().size(), 1u);
            break;
        }
        if (!voice_of(OSCAR_PHONE).empty())
            untag_oscar();
    }
    ::unsetenv("RINGWISE_DEVICE_SPEED");
    EXPECT_GT(steps, 8);
    EXPECT_LE(steps, MOST_STEPS);
}

} // namespace
