#include "platform/phone/PhoneCallers.h"

#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <gio/gio.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

// A program of the test folder, made executable.
void write_script(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
    ::chmod(path.c_str(), 0755);
}

// Puts a folder first on PATH for one test.
class PathFirst {
public:
    explicit PathFirst(const std::string& folder)
        : previous_(std::getenv("PATH") ? std::getenv("PATH") : "")
    {
        ::setenv("PATH", (folder + ":" + previous_).c_str(), 1);
    }
    ~PathFirst() { ::setenv("PATH", previous_.c_str(), 1); }

private:
    std::string previous_;
};

} // namespace

TEST(TelHandOff, TheUriKeepsTheTelCharactersAndEncodesTheRest)
{
    EXPECT_EQ(platform::tel_uri("+49 (30) 123-45.6"), "tel:+49%20(30)%20123-45.6");
    EXPECT_EQ(platform::tel_uri("*21#;ext=7"), "tel:*21#;ext=7");
    EXPECT_EQ(platform::tel_uri("a&b\"c'\xC3\xA9"), "tel:a%26b%22c%27%C3%A9");
    EXPECT_EQ(platform::tel_uri(""), "tel:");
}

TEST(TelHandOff, TheNumberReachesTheDialerAsOneArgument)
{
    TempDirectory temp;
    write_script(temp.native("xdg-mime"), "#!/bin/sh\necho org.gnome.Calls.desktop\n");
    write_script(temp.native("xdg-open"),
        "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" + temp.native("opened.txt") + "'\n");
    PathFirst path(temp.native());
    EXPECT_EQ(platform::call_through_tel_handler("+49 170 1; rm -rf /"), 0);
    EXPECT_EQ(temp.read("opened.txt"), "1|tel:+49%20170%201;%20rm%20-rf%20/|");

    // No handler registered: nothing is opened.
    write_script(temp.native("xdg-mime"), "#!/bin/sh\necho\n");
    std::filesystem::remove(temp.native("opened.txt"));
    EXPECT_NE(platform::call_through_tel_handler("1"), 0);
    EXPECT_FALSE(temp.exists("opened.txt"));
    // A hand-off that fails is a failed call.
    write_script(temp.native("xdg-mime"), "#!/bin/sh\necho org.kde.phone.dialer.desktop\n");
    write_script(temp.native("xdg-open"), "#!/bin/sh\nexit 4\n");
    EXPECT_NE(platform::call_through_tel_handler("1"), 0);
}

namespace {

// A private message bus that stands for the system bus, and the
// ModemManager stand-in (tests/platform/phone/mm_voice.py on
// python3-dbusmock) started on it per test.
class ModemManager : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        bus_ = g_test_dbus_new(G_TEST_DBUS_NONE);
        g_test_dbus_up(bus_);
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", g_test_dbus_get_bus_address(bus_), 1);
    }
    static void TearDownTestSuite()
    {
        g_test_dbus_down(bus_);
        g_object_unref(bus_);
        ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
    }
    void TearDown() override { stop(); }

    static bool have_dbusmock()
    {
        return std::system("/usr/bin/python3 -c 'import dbusmock' 2>/dev/null") == 0;
    }

    // Starts the stand-in and waits (at most 20 s) until it owns its name.
    void start(const std::string& parameters)
    {
        std::string templ = std::string(RINGWISE_SOURCE_DIR) + "/tests/platform/phone/mm_voice.py";
        std::string log = temp.native("calls.log");
        const char* arguments[] = { "/usr/bin/python3", "-m", "dbusmock", "--template",
            templ.c_str(), "-p", parameters.c_str(), "-l", log.c_str(), nullptr };
        ASSERT_EQ(posix_spawn(&mock_, arguments[0], nullptr, nullptr,
                      const_cast<char* const*>(arguments), environ),
            0);
        GDBusConnection* connection
            = g_dbus_connection_new_for_address_sync(g_test_dbus_get_bus_address(bus_),
                static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT
                    | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
                nullptr, nullptr, nullptr);
        ASSERT_NE(connection, nullptr);
        bool owned = false;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!owned && std::chrono::steady_clock::now() < deadline) {
            GVariant* reply = g_dbus_connection_call_sync(connection, "org.freedesktop.DBus",
                "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
                g_variant_new("(s)", "org.freedesktop.ModemManager1"), G_VARIANT_TYPE("(b)"),
                G_DBUS_CALL_FLAGS_NONE, 1000, nullptr, nullptr);
            if (reply) {
                gboolean has = FALSE;
                g_variant_get(reply, "(b)", &has);
                g_variant_unref(reply);
                owned = has;
            }
            if (!owned)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        g_dbus_connection_close_sync(connection, nullptr, nullptr);
        g_object_unref(connection);
        ASSERT_TRUE(owned) << "the ModemManager stand-in did not come up";
    }

    void stop()
    {
        if (mock_ <= 0)
            return;
        ::kill(mock_, SIGTERM);
        ::waitpid(mock_, nullptr, 0);
        mock_ = 0;
    }

    std::string calls() { return temp.read("calls.log"); }

    static GTestDBus* bus_;
    TempDirectory temp;
    pid_t mock_ { 0 };
};

GTestDBus* ModemManager::bus_ = nullptr;

} // namespace

TEST_F(ModemManager, TheVoiceModemCreatesAndStartsTheCall)
{
    if (!have_dbusmock())
        GTEST_SKIP() << "python3-dbusmock is not installed (scripts/packages lists it)";
    start("{}");
    EXPECT_EQ(platform::call_through_modemmanager("+49 170 1"), 0);
    std::string log = calls();
    EXPECT_NE(log.find("GetManagedObjects"), std::string::npos) << log;
    EXPECT_NE(log.find("CreateCall"), std::string::npos) << log;
    EXPECT_NE(log.find("+49 170 1"), std::string::npos) << log;
    EXPECT_NE(log.find("Start"), std::string::npos) << log;
}

TEST_F(ModemManager, NoDaemonNoVoiceModemOrARefusalFailCleanly)
{
    if (!have_dbusmock())
        GTEST_SKIP() << "python3-dbusmock is not installed (scripts/packages lists it)";
    // Nothing owns the name on the bus.
    EXPECT_NE(platform::call_through_modemmanager("1"), 0);
    start("{\"voice\": false}");
    EXPECT_NE(platform::call_through_modemmanager("1"), 0);
    EXPECT_EQ(calls().find("CreateCall"), std::string::npos);
    stop();
    start("{\"refuse\": true}");
    EXPECT_NE(platform::call_through_modemmanager("1"), 0);
    EXPECT_EQ(calls().find("Start"), std::string::npos) << calls();
}

TEST(ModemManagerBus, NoSystemBusIsAFailedCall)
{
    const char* previous = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    std::string saved = previous ? previous : "";
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/ringwise-bus", 1);
    EXPECT_NE(platform::call_through_modemmanager("1"), 0);
    if (previous)
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", saved.c_str(), 1);
    else
        ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
}
