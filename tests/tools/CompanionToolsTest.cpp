#include "platform/Convert.h"
#include "platform/LittleEndian.h"
#include "platform/Registry.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

namespace {

namespace fs = std::filesystem;

constexpr const char16_t* ADD_IN_KEY = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\PimApps\\"
                                       u"PimExtensions\\Contacts\\AddIns\\TarnRingwise";
constexpr const char16_t* PACKAGE_KEY = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\APPS\\Tarn Ring Wise";

struct ToolRun {
    int status { -1 };
    std::string out;
    std::string err;
};

// A fresh program folder with the two stand-ins, the two libraries and a
// stand-in main program "Ringwise" that records its command line; the
// registry and the special folders are the test's own, and the diagnostic
// log is on.
class CompanionTools : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(program);
        for (const char* name : { "ringwise-install", "ringwise-pim", "libsetup.so",
                 "libRingwiseAssign.so", "Settings" })
            fs::copy_file(fs::path(RINGWISE_BINARY_DIR) / "bin" / name, program + "/" + name);
        temp.write("program/Ringwise",
            "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"$0.part\"\nmv \"$0.part\" \"$0.args\"\n");
        ::chmod((program + "/Ringwise").c_str(), 0755);
        ::setenv("RINGWISE_REGISTRY", temp.native("registry.db").c_str(), 1);
        ::setenv("RINGWISE_ROOT", temp.native("root").c_str(), 1);
        ::unsetenv("RINGWISE_PLATFORM");
        platform::RegistryValue log { u"Log", platform::REGISTRY_NUMBER, {} };
        platform::append_u32le(log.data, 1);
        ASSERT_TRUE(registry().create_key(u"HKEY_CURRENT_USER\\Software\\Tarn"));
        ASSERT_TRUE(registry().set_value(u"HKEY_CURRENT_USER\\Software\\Tarn", log));
    }
    void TearDown() override
    {
        ::unsetenv("RINGWISE_REGISTRY");
        ::unsetenv("RINGWISE_ROOT");
    }

    platform::Registry& registry() { return platform::Registry::shared(); }

    ToolRun run(const std::string& tool, const std::string& arguments)
    {
        ToolRun result;
        std::string command
            = program + "/" + tool + " " + arguments + " 2>'" + temp.native("stderr.txt") + "'";
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

    // The command line "Ringwise" was started with ("COUNT|FIRST"), waiting
    // for it at most ten seconds.
    std::string started_with()
    {
        std::string args = program + "/Ringwise.args";
        for (int i = 0; i < 1000 && !fs::exists(args); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::string text = temp.read("program/Ringwise.args");
        fs::remove(args);
        return text;
    }

    // A tool's diagnostic log, as UTF-8 without its byte order mark.
    std::string log_of(const std::string& tool)
    {
        std::string bytes = temp.read("program/" + tool + ".txt");
        std::u16string text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<char16_t>(
                platform::read_u16le(reinterpret_cast<const std::uint8_t*>(bytes.data()) + i)));
        return platform::to_utf8(text);
    }

    std::optional<std::vector<std::uint8_t>> value(const char16_t* key, const char16_t* name)
    {
        auto found = registry().query_value(key, name);
        if (!found)
            return std::nullopt;
        EXPECT_EQ(found->type, platform::REGISTRY_STRING);
        return found->data;
    }

    // String data as stored: UTF-16LE with the terminating zero.
    static std::vector<std::uint8_t> stored(const std::string& text)
    {
        std::vector<std::uint8_t> bytes;
        for (char16_t c : platform::from_utf8(text))
            platform::append_u16le(bytes, c);
        platform::append_u16le(bytes, 0);
        return bytes;
    }

    TempDirectory temp;
    std::string program { temp.native("program") };
    std::string system { temp.native("root/system") };
};

TEST_F(CompanionTools, InstallRegistersTheAddInWithTheExpandedSystemFolder)
{
    for (int round = 0; round < 2; ++round) {
        ToolRun install = run("ringwise-install", "");
        ASSERT_EQ(install.status, 0) << install.err;
        EXPECT_EQ(value(ADD_IN_KEY, u"Dll"), stored(system + "/RingwiseAssign.dll"));
        EXPECT_EQ(value(ADD_IN_KEY, u"Menu"), stored("Assign voice tag"));
        EXPECT_EQ(
            registry().values(ADD_IN_KEY).value_or(std::vector<platform::RegistryValue> {}).size(),
            2u);
        EXPECT_EQ(value(PACKAGE_KEY, u"InstallDir"), stored(program));
        EXPECT_TRUE(fs::exists(system + "/libRingwiseAssign.so"));
    }
    EXPECT_EQ(log_of("ringwise-install"),
        "static_capability_is_smartphone=0 PocketPC\n"
        "xxxxx 0\nxxxxx 1\nxxxxx 3\nxxxxx 0\nxxxxx 1\nxxxxx 3\n");
    ToolRun addins = run("ringwise-pim", "addins");
    EXPECT_EQ(addins.status, 0);
    EXPECT_EQ(addins.out, "TarnRingwise\tAssign voice tag\t" + system + "/RingwiseAssign.dll\n");
}

TEST_F(CompanionTools, AssignStartsTheProgramWithTheFirstContactOrTheSettingsMode)
{
    ASSERT_EQ(run("ringwise-install", "").status, 0);

    ToolRun assign = run("ringwise-pim", "assign 42");
    ASSERT_EQ(assign.status, 0) << assign.err;
    EXPECT_EQ(started_with(), "1|42");
    EXPECT_EQ(log_of("ringwise-pim"), "execute_file(" + program + "/Ringwise.exe, 42)\n");

    ASSERT_EQ(run("ringwise-pim", "assign").status, 0);
    EXPECT_EQ(started_with(), "1|s");
    ASSERT_EQ(run("ringwise-pim", "assign -2147483648").status, 0);
    EXPECT_EQ(started_with(), "1|-2147483648");
    ASSERT_EQ(run("ringwise-pim", "assign 7 42 9").status, 0);
    EXPECT_EQ(started_with(), "1|7");

    EXPECT_EQ(run("ringwise-pim", "assign 2147483648").status, 2);
    EXPECT_EQ(run("ringwise-pim", "assign 4x").status, 2);
}

TEST_F(CompanionTools, SettingsStartsTheSettingsModeBesideItselfAndAlwaysEndsWithZero)
{
    ToolRun settings = run("Settings", "ignored arguments");
    EXPECT_EQ(settings.status, 0) << settings.err;
    EXPECT_EQ(started_with(), "1|s");
    EXPECT_NE(log_of("Settings").find("execute_file(" + program + "/Ringwise.exe, s)\n"),
        std::string::npos)
        << log_of("Settings");
    // Without the main program nothing starts and nothing is shown.
    fs::remove(program + "/Ringwise");
    settings = run("Settings", "");
    EXPECT_EQ(settings.status, 0);
    EXPECT_EQ(settings.err, "");
    EXPECT_FALSE(fs::exists(program + "/Ringwise.args"));
}

TEST_F(CompanionTools, WithoutTheInstallFolderTheProgramIsLookedForInTheRoot)
{
    ASSERT_EQ(run("ringwise-install", "").status, 0);
    ASSERT_TRUE(registry().delete_value(PACKAGE_KEY, u"InstallDir"));
    ToolRun assign = run("ringwise-pim", "assign 42");
    EXPECT_EQ(assign.status, 0) << assign.err;
    EXPECT_EQ(assign.err, "");
    EXPECT_EQ(log_of("ringwise-pim"), "execute_file(/Ringwise.exe, 42)\n");
}

TEST_F(CompanionTools, RemoveLeavesNoAddInNoCopyAndNoInstallFolder)
{
    ASSERT_EQ(run("ringwise-install", "").status, 0);
    ToolRun remove = run("ringwise-install", "--remove");
    ASSERT_EQ(remove.status, 0) << remove.err;
    EXPECT_FALSE(registry().key_exists(ADD_IN_KEY));
    EXPECT_FALSE(value(PACKAGE_KEY, u"InstallDir"));
    EXPECT_FALSE(fs::exists(system + "/libRingwiseAssign.so"));
    EXPECT_EQ(run("ringwise-pim", "addins").out, "");
    ToolRun assign = run("ringwise-pim", "assign 42");
    EXPECT_EQ(assign.status, 1);
    EXPECT_NE(assign.err.find("no add-in"), std::string::npos) << assign.err;
}

TEST_F(CompanionTools, OnASmartphoneTheHookLeavesTheAddInKeyAlone)
{
    ASSERT_EQ(run("ringwise-install", "--platform Smartphone").status, 0);
    EXPECT_FALSE(registry().key_exists(ADD_IN_KEY));
    EXPECT_EQ(log_of("ringwise-install"), "static_capability_is_smartphone=1 Smartphone\n");

    ASSERT_EQ(run("ringwise-install", "").status, 0);
    ASSERT_EQ(run("ringwise-install", "--remove --platform smartphone").status, 0);
    EXPECT_EQ(
        registry().values(ADD_IN_KEY).value_or(std::vector<platform::RegistryValue> {}).size(), 2u);
    EXPECT_EQ(run("ringwise-install", "--platform Desktop").status, 2);
}

TEST_F(CompanionTools, MissingOrBrokenAddInsAreReported)
{
    ASSERT_TRUE(registry().create_key(ADD_IN_KEY));
    auto set = [&](const std::string& dll) {
        ASSERT_TRUE(registry().set_value(
            ADD_IN_KEY, { u"Menu", platform::REGISTRY_STRING, stored("Tag") }));
        ASSERT_TRUE(
            registry().set_value(ADD_IN_KEY, { u"Dll", platform::REGISTRY_STRING, stored(dll) }));
    };
    set(temp.native("nowhere/Gone.dll"));
    ToolRun missing = run("ringwise-pim", "assign 1");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("nowhere/libGone.so"), std::string::npos) << missing.err;

    temp.write("Broken.dll", "not a library");
    set(temp.native("Broken.dll"));
    EXPECT_EQ(run("ringwise-pim", "assign 1").status, 1);

    // A library without the entry point.
    set(program + "/setup.dll");
    ToolRun no_entry = run("ringwise-pim", "assign 1");
    EXPECT_EQ(no_entry.status, 1);
    EXPECT_NE(no_entry.err.find("has no CePimCommand"), std::string::npos) << no_entry.err;
}

TEST_F(CompanionTools, InstallWithoutTheHookChangesNothing)
{
    fs::remove(program + "/libsetup.so");
    ToolRun install = run("ringwise-install", "");
    EXPECT_EQ(install.status, 1);
    EXPECT_NE(install.err.find("installer hook"), std::string::npos) << install.err;
    EXPECT_FALSE(registry().key_exists(PACKAGE_KEY));
}

} // namespace
