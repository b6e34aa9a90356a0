#include "tests/support/TempDirectory.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

const std::string TOOL = RINGWISE_BINARY_DIR "/bin/ringwise-reg";

struct ToolRun {
    int status;
    std::string out;
};

// Runs the tool through the shell with its registry in `temp`.
class RingwiseReg : public ::testing::Test {
protected:
    void SetUp() override { setenv("RINGWISE_REGISTRY", temp.native("reg.db").c_str(), 1); }
    void TearDown() override { unsetenv("RINGWISE_REGISTRY"); }

    static ToolRun run(const std::string& arguments)
    {
        ToolRun result { -1, {} };
        FILE* pipe = popen((TOOL + " " + arguments + " 2>/dev/null").c_str(), "r");
        if (!pipe)
            return result;
        char buffer[256];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            result.out.append(buffer, n);
        int status = pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

    TempDirectory temp;
};

} // namespace

TEST_F(RingwiseReg, SwitchesTheLogOnAndReadsItBackUnderAnySpelling)
{
    EXPECT_EQ(run("get 'HKEY_CURRENT_USER\\Software\\Tarn' Log").status, 1);
    EXPECT_FALSE(temp.exists("reg.db"));
    EXPECT_EQ(run("set 'HKEY_CURRENT_USER\\Software\\Tarn' Log --number 1").status, 0);
    ToolRun got = run("get 'HKCU\\software\\TARN' log");
    EXPECT_EQ(got.status, 0);
    EXPECT_EQ(got.out, "1\n");

    EXPECT_EQ(
        run("set 'HKLM\\Software\\Apps\\Ringwise' InstallDir --string '/opt/ring wise \xc3\xa9'")
            .status,
        0);
    EXPECT_EQ(run("set HKLM\\\\Software\\\\Apps\\\\Ringwise Count --number -1").status, 0);
    EXPECT_EQ(run("list 'HKEY_LOCAL_MACHINE\\Software'").out, "Apps\\\n");
    EXPECT_EQ(run("list 'HKLM\\Software\\Apps\\Ringwise'").out,
        "Count (number) = 4294967295\nInstallDir (string) = /opt/ring wise \xc3\xa9\n");

    EXPECT_EQ(run("delete 'HKLM\\Software\\Apps\\Ringwise' count").status, 0);
    EXPECT_EQ(run("get 'HKLM\\Software\\Apps\\Ringwise' Count").status, 1);
    EXPECT_EQ(run("delete 'HKLM\\Software\\Apps'").status, 0);
    EXPECT_EQ(run("list 'HKLM\\Software\\Apps'").status, 1);
    EXPECT_EQ(run("delete HKLM").status, 1);
}

TEST_F(RingwiseReg, RefusesBadUsage)
{
    EXPECT_EQ(run("").status, 2);
    EXPECT_EQ(run("frobnicate").status, 2);
    EXPECT_EQ(run("get Software\\\\Tarn Log").status, 2);
    EXPECT_EQ(run("set HKCU\\\\x n --number 4294967296").status, 2);
    EXPECT_EQ(run("set HKCU\\\\x n --number 12abc").status, 2);
    EXPECT_EQ(run("set HKCU\\\\x n --text y").status, 2);
    EXPECT_EQ(run("list").status, 2);
    EXPECT_EQ(run("--help").status, 0);
    EXPECT_FALSE(temp.exists("reg.db"));
}

TEST_F(RingwiseReg, ProcessesSettingValuesAtOnceKeepEveryOne)
{
    std::string all;
    for (int i = 0; i < 6; ++i)
        all += TOOL + " set HKCU\\\\Race n" + std::to_string(i) + " --number " + std::to_string(i)
            + " & ";
    ASSERT_EQ(std::system((all + "wait").c_str()), 0);
    ToolRun listed = run("list HKCU\\\\Race");
    EXPECT_EQ(listed.out,
        "n0 (number) = 0\nn1 (number) = 1\nn2 (number) = 2\nn3 (number) = 3\nn4 (number) = 4\n"
        "n5 (number) = 5\n");
}
