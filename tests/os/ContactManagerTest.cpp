#include "os/ContactManager.h"

#include "os/Log.h"
#include "os/Path.h"
#include "os/Registry.h"
#include "platform/Convert.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class ContactManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("RINGWISE_CONTACTS", (directory / "contacts.vcf").c_str(), 1);
        ::setenv("RINGWISE_PHONE_LOG", (directory / "calls.log").c_str(), 1);
        ::setenv("RINGWISE_REGISTRY", (directory / "registry.db").c_str(), 1);
        // The logging phone library of the build, not the default that dials.
        ::setenv("RINGWISE_PHONE", RINGWISE_BINARY_DIR "/bin/libphone-log.so", 1);
    }
    void TearDown() override
    {
        for (const char* name :
            { "RINGWISE_CONTACTS", "RINGWISE_PHONE_LOG", "RINGWISE_REGISTRY", "RINGWISE_PHONE" })
            ::unsetenv(name);
    }

    std::string read(const fs::path& path) const
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    TempDirectory temp;
    fs::path directory { temp.native() };
    os::ContactManager manager;
};

TEST_F(ContactManagerTest, LoadsEveryContactWithAnIdInStoreOrder)
{
    std::ofstream(directory / "contacts.vcf")
        << "BEGIN:VCARD\nUID:1\nN:Berg;Anna\nTEL;TYPE=CELL:111\nEND:VCARD\n"
           "BEGIN:VCARD\nUID:2\nORG:Acme\nTEL;TYPE=WORK:222\nEND:VCARD\n"
           "BEGIN:VCARD\nUID:3\nFN:Mom\nTEL;TYPE=HOME:333\nEND:VCARD\n";
    std::vector<os::ContactRecord> list(5);
    manager.load_all(list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].first_name, u"Anna");
    EXPECT_EQ(list[0].mobile_phone, u"111");
    EXPECT_EQ(list[0].business_phone, u"");
    EXPECT_EQ(list[0].home_phone, u"");
    EXPECT_EQ(list[1].company, u"Acme");
    EXPECT_EQ(list[2].first_name, u"Mom");
    EXPECT_EQ(list[2].home_phone, u"333");
    for (const auto& record : list)
        EXPECT_GT(record.oid, 0);

    // A store that does not exist empties the list.
    ::setenv("RINGWISE_CONTACTS", (directory / "missing").c_str(), 1);
    manager.load_all(list);
    EXPECT_TRUE(list.empty());
}

TEST_F(ContactManagerTest, EveryLoadLogsOnAndOffOnce)
{
    {
        os::RegistryKey key;
        ASSERT_TRUE(key.create(os::LOG_SWITCH_KEY));
        ASSERT_TRUE(key.set_number(os::LOG_SWITCH_VALUE, 1));
    }
    std::vector<os::ContactRecord> list;
    manager.load_all(list);
    manager.load_all(list);
    os::log().flush();
    std::string native = os::native_path(os::expand_path(os::LOG_FILE));
    std::string bytes = read(native);
    {
        os::RegistryKey key;
        ASSERT_TRUE(key.create(os::LOG_SWITCH_KEY));
        ASSERT_TRUE(key.set_number(os::LOG_SWITCH_VALUE, 0));
    }
    os::log();
    fs::remove(native);

    ASSERT_GE(bytes.size(), 2u);
    std::u16string text(bytes.size() / 2 - 1, u'\0');
    std::memcpy(text.data(), bytes.data() + 2, text.size() * 2);
    EXPECT_EQ(text, u"outlook->Logon()\noutlook->Logoff()\noutlook->Logon()\noutlook->Logoff()\n");
}

TEST_F(ContactManagerTest, CallsGoThroughThePhoneLibrary)
{
    // The logging library that RINGWISE_PHONE names.
    ASSERT_TRUE(manager.make_call(u"+49 170 \u00e9"));
    ASSERT_TRUE(manager.make_call(u""));
    EXPECT_EQ(read(directory / "calls.log"), "+49 170 \xC3\xA9\n\n");

    // A log file that cannot be written is a failed call.
    ::setenv("RINGWISE_PHONE_LOG", (directory / "no/such/folder/calls.log").c_str(), 1);
    EXPECT_FALSE(manager.make_call(u"1"));
}

TEST_F(ContactManagerTest, CallsFailWithoutALibraryOrItsFunction)
{
    ::setenv("RINGWISE_PHONE", (directory / "libphone.so").c_str(), 1);
    EXPECT_FALSE(manager.make_call(u"1"));
    // A library without PhoneMakeCall.
    ::setenv("RINGWISE_PHONE", "libm.so.6", 1);
    EXPECT_FALSE(manager.make_call(u"1"));
    EXPECT_FALSE(fs::exists(directory / "calls.log"));
}

} // namespace
