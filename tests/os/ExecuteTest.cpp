#include "os/Execute.h"
#include "os/Path.h"
#include "platform/Convert.h"

#include "LogFixture.h"

#include <chrono>
#include <filesystem>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Starts programs that write what they were given to $RINGWISE_TEST_OUT,
// renamed into place so that a reader never sees half of it.
class ExecuteFile : public LogFixture {
protected:
    void SetUp() override
    {
        LogFixture::SetUp();
        out = temp.native("out.txt");
        setenv("RINGWISE_TEST_OUT", out.c_str(), 1);
        set_log_switch(1);
    }
    void TearDown() override
    {
        unsetenv("RINGWISE_TEST_OUT");
        LogFixture::TearDown();
    }

    void write_script(const std::string& path)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path) << "#!/bin/sh\n"
                               "printf '%s|%s' \"$#\" \"$1\" > \"$RINGWISE_TEST_OUT.part\"\n"
                               "mv \"$RINGWISE_TEST_OUT.part\" \"$RINGWISE_TEST_OUT\"\n";
        ::chmod(path.c_str(), 0755);
    }

    // What the started program wrote, waiting for it at most ten seconds.
    std::string wait_for_output()
    {
        for (int i = 0; i < 1000 && !std::filesystem::exists(out); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return temp.read("out.txt");
    }

    std::string out;
};

} // namespace

TEST_F(ExecuteFile, StartsAProgramOfTheSystemFolderByItsDeviceName)
{
    std::u16string system = os::expand_path(u"%windows%");
    write_script(platform::to_utf8(system) + "/greet");
    EXPECT_TRUE(os::execute_file(u"%windows%/greet.exe", u"  -17 two words"));
    EXPECT_EQ(wait_for_output(), "1|  -17 two words");
    EXPECT_EQ(
        log_bytes(), log_file_of(u"execute_file(" + system + u"/greet.exe,   -17 two words)\n"));
}

TEST_F(ExecuteFile, AReadOnlyProgramFoldersProgramStartsByItsDeviceNameUnlessTheUserHasOne)
{
    // An installed program folder: "%app_path%" reads the user's layer
    // first, and a name found in neither layer would be the user's.
    setenv("RINGWISE_PROGRAM_READ_ONLY", "1", 1);
    std::string name = "execute-test-" + std::to_string(::getpid());
    std::u16string device_name = u"%app_path%/" + platform::from_utf8(name) + u".exe";
    std::string program = platform::to_utf8(os::expand_path(u"%app_path%")) + "/" + name;
    std::string user = temp.native("root/ringwise/" + name);
    struct Cleanup {
        std::string program;
        ~Cleanup()
        {
            std::filesystem::remove(program);
            unsetenv("RINGWISE_PROGRAM_READ_ONLY");
        }
    } cleanup { program };
    write_script(program);

    EXPECT_TRUE(os::execute_file(device_name, u"s"));
    EXPECT_EQ(wait_for_output(), "1|s");
    std::u16string first = u"execute_file(" + platform::from_utf8(program) + u".exe, s)\n";
    EXPECT_EQ(log_bytes(), log_file_of(first));

    // A program of the same name in the user's layer comes first.
    write_script(user);
    std::filesystem::remove(out);
    EXPECT_TRUE(os::execute_file(device_name, u"again"));
    EXPECT_EQ(wait_for_output(), "1|again");
    EXPECT_EQ(log_bytes(),
        log_file_of(first + u"execute_file(" + platform::from_utf8(user) + u".exe, again)\n"));
}

TEST_F(ExecuteFile, EmptyParametersGiveNoArgument)
{
    write_script(temp.native("bin/tool"));
    EXPECT_TRUE(os::execute_file(temp.wide("bin/tool"), u""));
    EXPECT_EQ(wait_for_output(), "0|");
}

TEST_F(ExecuteFile, AMissingProgramFailsAfterTheLogLine)
{
    EXPECT_FALSE(os::execute_file(temp.wide("nothing.exe"), u"s"));
    EXPECT_EQ(log_bytes(), log_file_of(u"execute_file(" + temp.wide("nothing.exe") + u", s)\n"));
    // "X.exe" names a program: a plain file "X" that may not be run is not
    // opened as a document instead.
    temp.write("plain", "text");
    EXPECT_FALSE(os::execute_file(temp.wide("plain.exe"), u""));
}

TEST_F(ExecuteFile, DocumentsAndWebAddressesGoToTheDesktopOpener)
{
    // A stand-in opener first in PATH records what it was asked to open.
    write_script(temp.native("opener/xdg-open"));
    std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (temp.native("opener") + ":" + path).c_str(), 1);

    temp.write("notes.txt", "text");
    EXPECT_TRUE(os::execute_file(temp.wide("notes.txt"), u"ignored"));
    EXPECT_EQ(wait_for_output(), "1|" + temp.native("notes.txt"));

    std::filesystem::remove(out);
    os::open_url(u"http://example.org/voice?tag=1&x=2");
    EXPECT_EQ(wait_for_output(), "1|http://example.org/voice?tag=1&x=2");

    std::filesystem::remove(out);
    os::open_url(u"www.example.org");
    EXPECT_EQ(wait_for_output(), "1|http://www.example.org");

    // A page shipped with the program, named by a path macro.
    std::filesystem::remove(out);
    os::open_url(u"%app_path%/guide.html");
    EXPECT_EQ(
        wait_for_output(), "1|" + platform::to_utf8(os::expand_path(u"%app_path%/guide.html")));
    setenv("PATH", path.c_str(), 1);
}
