// Hostile backup files restored through the settings form of the real
// program: a file that is not a whole backup is refused with its message and
// leaves the tags as they were; entries named to reach outside the commands
// folder are skipped.
#include "tests/app/HostileFiles.h"

#include "platform/LittleEndian.h"

namespace {

namespace fs = std::filesystem;

std::string le32(std::uint32_t value)
{
    std::vector<std::uint8_t> bytes;
    platform::append_u32le(bytes, value);
    return std::string(bytes.begin(), bytes.end());
}

// One entry of a backup: the name's byte count, the name in UTF-16, the
// data's byte count and the data.
std::string entry(const std::string& name, const std::string& data)
{
    std::string utf16;
    for (char c : name) {
        utf16 += c;
        utf16 += '\0';
    }
    return le32(static_cast<std::uint32_t>(utf16.size())) + utf16
        + le32(static_cast<std::uint32_t>(data.size())) + data;
}

const std::string VERSION = entry("VOICE_COMMAND_BACKUP_VERSION", le32(100));

class HostileBackup : public HostileFiles {
protected:
    void SetUp() override
    {
        HostileFiles::SetUp();
        tag("Anna", ANNA_PHONE, recording("anna-1"));
        write_settings_skin();
        list = temp.read("commands/commands.xml");
        anna_tag = temp.read("commands/001.tag");
        anna_wav = temp.read("commands/001.wav");
    }

    // Restores `backup` through the form's menu and file dialog; with
    // `refused`, answers the failure message.
    Result restore(const std::string& backup, bool refused)
    {
        temp.write("hostile.vcb", backup);
        fs::remove(path("after.txt"));
        std::string lines = "command Restore_tags\nwait-form FileExplorerDialog\n"
                            "tap-control edtPath\ntext "
            + path("hostile.vcb") + "\ntap-control btnOk\n";
        if (refused)
            lines += "wait-form MessageOk\ndump " + path("message.txt") + "\ntap-control btnOk\n";
        lines += "wait-form FormSettings\ndump " + path("after.txt") + "\n";
        return settings_run("s", lines);
    }

    void expect_tags_kept(const std::string& what)
    {
        EXPECT_EQ(temp.read("commands/commands.xml"), list) << what;
        EXPECT_EQ(temp.read("commands/001.tag"), anna_tag) << what;
        EXPECT_EQ(temp.read("commands/001.wav"), anna_wav) << what;
    }

    std::string list;
    std::string anna_tag;
    std::string anna_wav;
};

TEST_F(HostileBackup, AFileThatIsNoWholeBackupIsRefusedAndTheTagsStay)
{
    std::string whole = VERSION + entry("commands/commands.xml", list)
        + entry("commands/001.tag", anna_tag) + entry("commands/001.wav", anna_wav);
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        { "zero-length", "" },
        { "random bytes", random_bytes(70000, 101u) },
        { "cut in the last entry", whole.substr(0, whole.size() - 100) },
        { "one byte too many", whole + "x" },
        { "version 101",
            entry("VOICE_COMMAND_BACKUP_VERSION", le32(101)) + entry("commands/001.tag", "x") },
        { "a version entry of two bytes", entry("VOICE_COMMAND_BACKUP_VERSION", "dd") },
        { "no version entry", entry("commands/001.tag", "x") },
        { "a name of four thousand million bytes", VERSION + le32(0xFFFFFFFFu) + "abcd" },
        { "a name of odd length", VERSION + le32(3) + "abc" + le32(0) },
        { "data of four thousand million bytes",
            VERSION + entry("commands/001.tag", "").substr(0, 4 + 32) + le32(0xFFFFFFF0u) + "x" },
        { "a file name longer than any folder takes",
            VERSION + entry("commands/" + std::string(100000, 'n'), "x") },
    };
    for (const Case& c : cases) {
        Result result = restore(c.bytes, true);
        expect_clean(result, c.name);
        EXPECT_NE(temp.read("message.txt").find("Restore_error"), std::string::npos) << c.name;
        EXPECT_NE(temp.read("after.txt").find("form FormSettings active"), std::string::npos)
            << c.name;
        expect_tags_kept(c.name);
    }
}

TEST_F(HostileBackup, EntriesNamedToReachOutsideTheCommandsFolderAreSkipped)
{
    fs::create_directories(path("elsewhere/commands"));
    std::string backup = VERSION;
    for (const std::string& name : std::vector<std::string> { "commands/../escaped",
             "commands\\..\\escaped", "commands/sub/../../escaped", "commands/..", "commands\\..",
             "commands/.", "commands/", "../commands/escaped", path("elsewhere/commands/escaped"),
             "%app_path%/escaped", "commands/%app_path%", "commands/sub/deep",
             "./commands/../../escaped", "commands/\t", "other/escaped" })
        backup += entry(name, "hostile");
    backup += entry("commands/commands.xml", list) + entry("commands/001.tag", anna_tag)
        + entry("commands/001.wav", anna_wav);
    Result result = restore(backup, false);
    expect_clean(result, "restore");
    expect_tags_kept("restore");
    EXPECT_FALSE(temp.exists("escaped"));
    EXPECT_FALSE(temp.exists("elsewhere/commands/escaped"));
    EXPECT_FALSE(temp.exists("elsewhere/escaped"));
    EXPECT_FALSE(fs::exists(fs::path(temp.native()).parent_path() / "escaped"));
    // Only what a backup may hold came back: the three files, and the one
    // plain name that is only odd, not hostile.
    std::vector<std::string> names;
    for (const auto& file : fs::directory_iterator(path("commands")))
        names.push_back(file.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
        (std::vector<std::string> { "\t", "%app_path%", "001.tag", "001.wav", "commands.xml" }));
}

TEST_F(HostileBackup, AWholeBackupOfUnreadableFilesRestoresAndTheProgramStillStarts)
{
    // Thousands of entries, a damaged list and a damaged tag: restored as
    // they are; the program reads what it can of them.
    std::string backup = VERSION;
    for (int i = 0; i < 3000; ++i)
        backup += entry("elsewhere/" + std::to_string(i), "x");
    backup += entry("commands/commands.xml", random_bytes(3000, 111u))
        + entry("commands/001.tag", random_bytes(3000, 112u));
    expect_clean(restore(backup, false), "restore");
    EXPECT_EQ(temp.read("commands/001.tag"), random_bytes(3000, 112u));
    EXPECT_NE(grid(), "");
    // Without a readable tag the program asks whether to record some.
    script("wait-form MessageYesNo\ntap-control btnNo\n");
    expect_clean(run(), "start after the restore");
}

} // namespace
