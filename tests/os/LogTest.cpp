#include "os/Log.h"
#include "os/Assertion.h"

#include "LogFixture.h"
#include "tests/liba/BareActive.h"

#include <climits>
#include <filesystem>
#include <thread>

namespace {

using Log = LogFixture;

// Whether this process holds the file open.
bool holds_open(const std::string& path)
{
    for (auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) == path)
            return true;
    }
    return false;
}

} // namespace

TEST_F(Log, StaysSilentWithoutFileWhileTheSwitchIsOffOrNotANumber)
{
    os::log() << u"Document::play " << 1 << u"\n";
    EXPECT_FALSE(log_exists());

    os::RegistryKey key;
    ASSERT_TRUE(key.create(u"HKEY_CURRENT_USER\\Software\\Tarn"));
    ASSERT_TRUE(key.set_string(u"Log", u"1"));
    os::log() << u"still off\n";
    EXPECT_FALSE(log_exists());
}

TEST_F(Log, SwitchingOnStartsAFreshFileAndSwitchingOffClosesIt)
{
    std::ofstream(log_path) << "a previous run's lines";
    set_log_switch(1);
    os::log() << u"Document::play " << -17 << u" " << 1.5 << " caf\xe9" << u"\n";
    EXPECT_EQ(log_bytes(), log_file_of(u"Document::play -17 1.500000 caf\u00e9\n"));
    EXPECT_TRUE(holds_open(log_path));

    set_log_switch(0);
    os::log() << u"dropped\n";
    EXPECT_FALSE(holds_open(log_path));
    EXPECT_EQ(log_bytes(), log_file_of(u"Document::play -17 1.500000 caf\u00e9\n"));

    // Any non-zero number switches it on again, emptying the file.
    set_log_switch(0x80000000);
    os::log() << u"again\n";
    EXPECT_EQ(log_bytes(), log_file_of(u"again\n"));
}

TEST_F(Log, NumbersOfEveryWidthAreWrittenInFull)
{
    set_log_switch(1);
    std::size_t size = 5000000000u;
    unsigned count = 4000000000u;
    os::log() << INT_MIN << u" " << size << u" " << count << u" " << -0.25 << u" " << 1e20 << u" "
              << true << u'\n';
    EXPECT_EQ(log_bytes(),
        log_file_of(
            u"-2147483648 5000000000 4000000000 -0.250000 100000000000000000000.000000 1\n"));
}

TEST_F(Log, AFileThatCannotBeCreatedIsSkippedSilently)
{
    std::filesystem::create_directory(log_path);
    set_log_switch(1);
    os::log() << u"nowhere to go\n";
    os::log().flush();
    EXPECT_TRUE(std::filesystem::is_directory(log_path));
    std::filesystem::remove(log_path);
}

TEST_F(Log, AReferenceKeptAcrossASwitchWritesToTheCurrentStream)
{
    auto& kept = os::log();
    set_log_switch(1);
    os::log();
    kept << u"late line\n";
    EXPECT_EQ(log_bytes(), log_file_of(u"late line\n"));
}

using ReportAssertionDeathTest = LogFixture;

TEST_F(ReportAssertionDeathTest, LogsShowsTheBoxAndEndsWithCode70)
{
    set_log_switch(1);
    EXPECT_EXIT(report_assertion(u"CActiveScheduler::set_active", u"Object is already active"),
        ::testing::ExitedWithCode(70), "CActiveScheduler::set_active: Object is already active");
    EXPECT_EQ(log_bytes(),
        log_file_of(u"Zavez: Object is already active @ CActiveScheduler::set_active\n"));
}

TEST_F(ReportAssertionDeathTest, EndsTheProcessFromAnyThreadWithTheLogOff)
{
    EXPECT_EXIT(std::thread([] {
        os::report_assertion(
            u"Container::register_control", u"control with id {btn} already exists in container");
    }).join(),
        ::testing::ExitedWithCode(70),
        "Container::register_control: control with id \\{btn\\} already exists");
    EXPECT_FALSE(log_exists());
}

TEST_F(ReportAssertionDeathTest, BrokenRulesOfActiveObjectsReachTheLogToo)
{
    // No os function runs in the dying process before the report: the log's
    // reporter must already be installed when liba reports.
    set_log_switch(1);
    EXPECT_EXIT(
        {
            test_support::BareActive object;
            object.set_active();
        },
        ::testing::ExitedWithCode(70), "CActive::set_active: No active scheduler");
    EXPECT_EQ(log_bytes(), log_file_of(u"Zavez: No active scheduler @ CActive::set_active\n"));
}
