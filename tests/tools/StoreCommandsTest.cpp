#include "audio/FileWriterWAVPCM.h"
#include "platform/Convert.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/engine/Recordings.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status { -1 };
    std::string out;
    std::string err;

    std::vector<std::string> lines() const
    {
        std::vector<std::string> result;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);)
            result.push_back(line);
        return result;
    }
};

// The tool copied into a temporary folder with the phone library, so that
// its store ("%app_path%") is that folder; the contacts, the registry and
// the phone log live there as well.
class StoreCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : { "ringwise-tool", "libphone-log.so" })
            fs::copy_file(fs::path(RINGWISE_BINARY_DIR) / "bin" / name, temp.native(name));
        // Calls go to the logging library, not to the default that dials.
        ::setenv("RINGWISE_PHONE", temp.native("libphone-log.so").c_str(), 1);
        ::setenv("RINGWISE_CONTACTS", temp.native("contacts.vcf").c_str(), 1);
        ::setenv("RINGWISE_REGISTRY", temp.native("registry.db").c_str(), 1);
        ::setenv("RINGWISE_PHONE_LOG", temp.native("calls.log").c_str(), 1);
        temp.write("contacts.vcf",
            "BEGIN:VCARD\nVERSION:3.0\nUID:anna\nN:Berg;Anna;;;\nORG:Acme\n"
            "TEL;TYPE=CELL:+49 170 1\nTEL;TYPE=WORK:030 2\nEND:VCARD\n"
            "BEGIN:VCARD\nVERSION:4.0\nUID:mom\nFN:Mom\nTEL;VALUE=uri:tel:+1-555-0100\nEND:"
            "VCARD\n");
    }
    void TearDown() override
    {
        for (const char* name :
            { "RINGWISE_CONTACTS", "RINGWISE_REGISTRY", "RINGWISE_PHONE_LOG", "RINGWISE_PHONE" })
            ::unsetenv(name);
    }

    ToolRun run(const std::string& arguments)
    {
        ToolRun result;
        std::string command = temp.native("ringwise-tool") + " " + arguments + " 2>'"
            + temp.native("stderr.txt") + "'";
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe)
            return result;
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            result.out.append(buffer, n);
        int status = ::pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.err = temp.read("stderr.txt");
        return result;
    }

    // A capture of 2.7 s: the lead-in, then `rest`.
    void write_capture(const std::string& name, const std::vector<std::int16_t>& rest)
    {
        std::vector<std::int16_t> samples = test_recordings::noise(4410, 30, 7u);
        samples.insert(samples.end(), rest.begin(), rest.end());
        audio::FileWriterWAVPCM writer(temp.wide(name));
        writer.on_data(audio_test::sample_block(samples));
    }

    // The id the store gives the contact, from the listing.
    std::string id_of(const std::string& first_field_prefix)
    {
        for (const std::string& line : run("contacts").lines()) {
            std::size_t tab = line.find('\t');
            if (line.compare(tab + 1, first_field_prefix.size(), first_field_prefix) == 0)
                return line.substr(0, tab);
        }
        return "";
    }

    TempDirectory temp;
};

TEST_F(StoreCommands, ContactsListsTheStoreAsTheProgramReadsIt)
{
    ToolRun contacts = run("contacts");
    ASSERT_EQ(contacts.status, 0) << contacts.err;
    ASSERT_EQ(contacts.lines().size(), 2u);
    std::string anna = id_of("Anna");
    std::string mom = id_of("Mom");
    EXPECT_EQ(contacts.lines()[0], anna + "\tAnna\tBerg\tAcme\t+49 170 1\t030 2\t");
    EXPECT_EQ(contacts.lines()[1], mom + "\tMom\t\t\t+1-555-0100\t\t");
    EXPECT_EQ(run("contacts extra").status, 2);
}

TEST_F(StoreCommands, TagCommandsAndUntagWorkOnTheStoreBesideTheTool)
{
    std::string anna = id_of("Anna");
    ToolRun before = run("commands");
    ASSERT_EQ(before.status, 0) << before.err;
    EXPECT_EQ(before.lines(),
        (std::vector<std::string> { anna + "\tAnna Berg\tAnna Berg, Acme\t+49 170 1\tmobile\t",
            anna + "\tAnna Berg\tAnna Berg, Acme\t030 2\tbusiness\t",
            id_of("Mom") + "\tMom\tMom\t+1-555-0100\tmobile\t" }));

    write_capture("anna.wav", test_recordings::capture(test_recordings::load("margaret-slow")));
    ToolRun tag = run("tag " + anna + " '030 2' " + temp.native("anna.wav"));
    ASSERT_EQ(tag.status, 0) << tag.err;
    EXPECT_EQ(tag.out, "voice 001\n");
    EXPECT_TRUE(temp.exists("commands/001.tag"));
    EXPECT_TRUE(temp.exists("commands/001.wav"));
    EXPECT_EQ(temp.read("commands/commands.xml"),
        "<Commands><Command id=\"" + anna
            + "\" name=\"Anna Berg\" full_name=\"Anna Berg, Acme\" phone=\"030 2\" "
              "phone_type=\"business\" voice=\"001\"/></Commands>");

    // The tagged command comes first.
    ToolRun after = run("commands");
    ASSERT_EQ(after.lines().size(), 3u);
    EXPECT_EQ(after.lines()[0], anna + "\tAnna Berg\tAnna Berg, Acme\t030 2\tbusiness\t001");

    EXPECT_EQ(run("untag " + anna + " '+49 170 1'").status, 1);
    ASSERT_EQ(run("untag " + anna + " '030 2'").status, 0);
    EXPECT_FALSE(temp.exists("commands/001.tag"));
    EXPECT_FALSE(temp.exists("commands/001.wav"));
    EXPECT_FALSE(temp.exists("commands/commands.xml"));
}

TEST_F(StoreCommands, TagWithoutSpeechOrForAnUnknownCommandChangesNothing)
{
    std::string anna = id_of("Anna");
    write_capture("silence.wav", std::vector<std::int16_t>(test_recordings::CAPTURE_SAMPLES, 0));
    ToolRun silent = run("tag " + anna + " '030 2' " + temp.native("silence.wav"));
    EXPECT_EQ(silent.status, 1);
    EXPECT_EQ(silent.err, "no speech found\n");
    EXPECT_FALSE(temp.exists("commands"));

    write_capture("anna.wav", test_recordings::capture(test_recordings::load("office-slow")));
    EXPECT_EQ(run("tag " + anna + " '999' " + temp.native("anna.wav")).status, 2);
    EXPECT_EQ(run("tag x1 '030 2' " + temp.native("anna.wav")).status, 2);
    EXPECT_EQ(run("tag " + anna + " '030 2' " + temp.native("missing.wav")).status, 2);
    EXPECT_FALSE(temp.exists("commands"));
}

TEST_F(StoreCommands, CallGoesThroughThePhoneLibrary)
{
    ToolRun call = run("call '+49 170 1'");
    ASSERT_EQ(call.status, 0) << call.err;
    EXPECT_EQ(call.out, "Calling +49 170 1\n");
    EXPECT_EQ(temp.read("calls.log"), "+49 170 1\n");

    ::setenv("RINGWISE_PHONE", temp.native("missing.so").c_str(), 1);
    EXPECT_EQ(run("call 1").status, 1);
    EXPECT_EQ(temp.read("calls.log"), "+49 170 1\n");
}

} // namespace

TEST_F(StoreCommands, BackupAndRestoreCarryEveryTagAndRefuseDamagedFiles)
{
    std::string anna = id_of("Anna");
    write_capture("anna.wav", test_recordings::capture(test_recordings::load("margaret-slow")));
    ASSERT_EQ(run("tag " + anna + " '030 2' " + temp.native("anna.wav")).status, 0);
    std::string tag = temp.read("commands/001.tag");
    std::string list = temp.read("commands/commands.xml");

    ToolRun backup = run("backup " + temp.native("saved"));
    ASSERT_EQ(backup.status, 0) << backup.err;
    EXPECT_EQ(backup.out, "backup " + temp.native("saved.vcb") + "\n");

    ASSERT_EQ(run("untag " + anna + " '030 2'").status, 0);
    ASSERT_FALSE(temp.exists("commands/001.tag"));
    // The extension is added as for the backup.
    ToolRun restore = run("restore " + temp.native("saved"));
    ASSERT_EQ(restore.status, 0) << restore.err;
    EXPECT_EQ(temp.read("commands/001.tag"), tag);
    EXPECT_EQ(temp.read("commands/commands.xml"), list);
    EXPECT_EQ(
        run("commands").lines()[0], anna + "\tAnna Berg\tAnna Berg, Acme\t030 2\tbusiness\t001");

    // A backup cut short is refused with a message, and the tags stay.
    std::string saved = temp.read("saved.vcb");
    temp.write("cut.vcb", saved.substr(0, saved.size() - 10));
    ToolRun cut = run("restore " + temp.native("cut.vcb"));
    EXPECT_EQ(cut.status, 1);
    EXPECT_NE(cut.err.find("the tags are unchanged"), std::string::npos) << cut.err;
    EXPECT_EQ(temp.read("commands/001.tag"), tag);
    EXPECT_EQ(run("backup").status, 2);
}
