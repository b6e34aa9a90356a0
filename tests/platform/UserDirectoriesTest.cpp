#include "platform/UserDirectories.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace {

// Sets or removes environment variables for one test and restores them.
class Environment : public ::testing::Test {
protected:
    void set(const char* name, const char* value)
    {
        if (!saved_.contains(name)) {
            const char* old = std::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    void TearDown() override
    {
        for (auto& [name, value] : saved_) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

using UserDirectories = Environment;

} // namespace

TEST_F(UserDirectories, HomeComesFromTheEnvironmentElseThePasswordEntry)
{
    set("HOME", "/home/someone");
    EXPECT_EQ(platform::home_directory(), "/home/someone");
    const passwd* entry = ::getpwuid(::getuid());
    ASSERT_NE(entry, nullptr);
    set("HOME", "");
    EXPECT_EQ(platform::home_directory(), entry->pw_dir);
    set("HOME", nullptr);
    EXPECT_EQ(platform::home_directory(), entry->pw_dir);
}

TEST_F(UserDirectories, XdgFoldersTakeOnlyAbsolutePaths)
{
    set("HOME", "/home/someone");
    set("XDG_CONFIG_HOME", "/etc/elsewhere");
    EXPECT_EQ(platform::xdg_directory("XDG_CONFIG_HOME", ".config"), "/etc/elsewhere");
    set("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(platform::xdg_directory("XDG_CONFIG_HOME", ".config"), "/home/someone/.config");
    set("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(
        platform::xdg_directory("XDG_DATA_HOME", ".local/share"), "/home/someone/.local/share");
}
