#pragma once

#include "os/Log.h"
#include "os/Path.h"
#include "os/Registry.h"
#include "platform/Convert.h"
#include "platform/LittleEndian.h"

#include "tests/support/TempDirectory.h"

#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

// A fresh registry and special folders for one test, and sole use of this
// program's log file ("%app_full_name%.txt"): tests of the same program may
// run in parallel processes, and the lock keeps them from sharing the file.
class LogFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        log_path = platform::to_utf8(os::expand_path(u"%app_full_name%.txt"));
        lock_ = ::open((log_path + ".lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644);
        ASSERT_GE(lock_, 0);
        ASSERT_EQ(::flock(lock_, LOCK_EX), 0);
        ::unlink(log_path.c_str());
        setenv("RINGWISE_REGISTRY", temp.native("reg.db").c_str(), 1);
        setenv("RINGWISE_ROOT", temp.native("root").c_str(), 1);
        os::reload_special_folders();
    }

    void TearDown() override
    {
        // Leaves the log switched off for the next test in this process.
        set_log_switch(0);
        os::log();
        unsetenv("RINGWISE_REGISTRY");
        unsetenv("RINGWISE_ROOT");
        os::reload_special_folders();
        ::unlink(log_path.c_str());
        ::close(lock_);
    }

    static void set_log_switch(std::uint32_t value)
    {
        os::RegistryKey key;
        ASSERT_TRUE(key.create(u"HKEY_CURRENT_USER\\Software\\Tarn"));
        ASSERT_TRUE(key.set_number(u"Log", value));
    }

    std::string log_bytes() const
    {
        std::ifstream file(log_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    bool log_exists() const { return ::access(log_path.c_str(), F_OK) == 0; }

    // The bytes a log file holds for `text`: the byte order mark, then UTF-16LE.
    static std::string log_file_of(std::u16string_view text)
    {
        std::string bytes = "\xFF\xFE";
        for (char16_t c : text)
            platform::append_u16le(bytes, c);
        return bytes;
    }

    TempDirectory temp;
    std::string log_path;

private:
    int lock_ { -1 };
};
