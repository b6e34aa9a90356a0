#include "tests/app/ProgramFolder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/mount.h>

// A full disk under every save: the user's data folder (where an installed
// program keeps its settings and tags) is a small tmpfs that the test mounts
// and fills. Every save must fail visibly, and every file of before must
// stay as it was. Mounting needs root; without it the tests are skipped.

namespace {

namespace fs = std::filesystem;

class StoreFullDisk : public ProgramFolder {
protected:
    void SetUp() override
    {
        ProgramFolder::SetUp();
        if (::geteuid() != 0)
            GTEST_SKIP() << "a full disk needs root to mount a small tmpfs; skipped";
        data = temp.native("root/ringwise");
        fs::create_directories(data);
        if (::mount("tmpfs", data.c_str(), "tmpfs", 0, "size=1m,mode=0755") != 0)
            GTEST_SKIP() << "mounting a tmpfs failed (" << std::strerror(errno) << "); skipped";
        mounted = true;
        // Writes go to the user's folder, as for an installed program.
        set("RINGWISE_PROGRAM_READ_ONLY", "1");
        write_settings_skin();
        fs::copy_file(fs::path(RINGWISE_BINARY_DIR) / "bin/English.lng", path("English.lng"));
        // A third contact, for a new tag; deleting one of two tags must
        // rewrite the list.
        temp.write("contacts.vcf",
            temp.read("contacts.vcf")
                + "BEGIN:VCARD\nVERSION:3.0\nUID:mia\nN:Sand;Mia;;;\nTEL;TYPE=CELL:040 3\n"
                  "END:VCARD\n");
        tag("Anna", ANNA_PHONE, recording("anna-1"));
        tag("Oscar", OSCAR_PHONE, recording("oscar-1"));
        ASSERT_TRUE(fs::exists(data + "/commands/002.wav"));
        temp.write("root/ringwise/settings.xml",
            "<Settings><General PlaySound=\"false\" PlayCommands=\"false\"/></Settings>");
        ASSERT_EQ(tool("backup " + path("anna.vcb")), "backup " + path("anna.vcb") + "\nexit 0\n");
        mia_id = contact_id("Mia");
        anna_id = contact_id("Anna");
        fill();
        before = snapshot();
    }

    void TearDown() override
    {
        ::unsetenv("RINGWISE_PROGRAM_READ_ONLY");
        if (mounted) {
            EXPECT_EQ(::umount2(data.c_str(), MNT_DETACH), 0) << std::strerror(errno);
        }
        ProgramFolder::TearDown();
    }

    // Fills the disk to its last byte.
    void fill()
    {
        int fd = ::open((data + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        std::vector<char> block(4096, 'x');
        for (std::size_t size = block.size(); size > 0; size /= 2)
            while (::write(fd, block.data(), size) == static_cast<ssize_t>(size)) { }
        ::close(fd);
        ASSERT_NE(::close(::open((data + "/probe").c_str(), O_WRONLY | O_CREAT, 0600)), -1);
        int probe = ::open((data + "/probe").c_str(), O_WRONLY);
        EXPECT_EQ(::write(probe, "x", 1), -1) << "the disk is not full";
        ::close(probe);
        fs::remove(data + "/probe");
    }

    std::string contact_id(const std::string& first_name)
    {
        return shell(temp.native("ringwise-tool") + " contacts | awk -F'\\t' '$2==\"" + first_name
            + "\"{printf $1}'");
    }

    std::string tool(const std::string& arguments)
    {
        return shell(temp.native("ringwise-tool") + " " + arguments + " 2>'" + path("tool.err")
            + "'; echo \"exit $?\"");
    }

    // Every file of the user's folder but the filler, with its size and a
    // hash of its bytes.
    std::map<std::string, std::string> snapshot()
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(data)) {
            std::string name = fs::relative(entry.path(), data).string();
            if (!entry.is_regular_file() || name == "filler")
                continue;
            std::string bytes = temp.read("root/ringwise/" + name);
            files[name] = std::to_string(bytes.size()) + " bytes, hash "
                + std::to_string(std::hash<std::string> {}(bytes));
        }
        return files;
    }

    std::string data;
    bool mounted { false };
    std::string anna_id;
    std::string mia_id;
    std::map<std::string, std::string> before;
};

TEST_F(StoreFullDisk, TheToolsSavesFailWithAMessageAndChangeNothing)
{
    for (const std::string& arguments : {
             "tag " + mia_id + " '040 3' " + recording("oscar-1"),
             "tag " + anna_id + " '" + ANNA_PHONE + "' " + recording("anna-2"),
             "untag " + anna_id + " '" + ANNA_PHONE + "'",
             "backup " + data + "/more.vcb",
             "restore " + path("anna.vcb"),
         }) {
        std::string out = tool(arguments);
        EXPECT_NE(out.find("exit 1\n"), std::string::npos) << arguments << ": " << out;
        EXPECT_NE(temp.read("tool.err").find("ringwise-tool: "), std::string::npos)
            << arguments << ": " << temp.read("tool.err");
        EXPECT_EQ(snapshot(), before) << arguments;
    }
}

TEST_F(StoreFullDisk, TheSettingsFormSaysASaveFailedAndKeepsTheFiles)
{
    set("RINGWISE_MIC", recording("oscar-1"));
    set("RINGWISE_DEVICE_SPEED", "10");
    // An option, a recording and a deletion: each answered by a message.
    script("wait-form FormSettings 60000\ncommand Play_sound\nwait-form MessageOk 60000\ndump "
        + path("settings-message.txt") + "\ntap-control btnOk\nwait-form FormSettings 60000\n"
        + "command Record\nwait-form MessageOk 60000\ndump " + path("record-message.txt")
        + "\ntap-control btnOk\nwait-form FormSettings 60000\ncommand Delete\n"
        + "wait-form MessageOk 60000\ndump " + path("delete-message.txt")
        + "\ntap-control btnOk\nwait-form FormSettings 60000\ncommand Exit\n");
    // Oscar's row: recorded again, then deleted.
    Result result = run(contact_id("Oscar"));
    ::unsetenv("RINGWISE_DEVICE_SPEED");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(temp.read("settings-message.txt").find("The settings could not be saved."),
        std::string::npos)
        << temp.read("settings-message.txt");
    for (const char* dump : { "record-message.txt", "delete-message.txt" })
        EXPECT_NE(temp.read(dump).find("The voice tag could not be saved."), std::string::npos)
            << dump << ": " << temp.read(dump) << result.err;
    EXPECT_EQ(snapshot(), before);
}

} // namespace
