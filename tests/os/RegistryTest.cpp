#include "os/Registry.h"

#include "platform/Convert.h"
#include "platform/Registry.h"

#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

using os::RegistryRoot;

namespace {

constexpr const char16_t* TARN = u"HKEY_CURRENT_USER\\Software\\Tarn";

// Points the shared registry at a fresh database for one test.
class RegistryFunctions : public ::testing::Test {
protected:
    void SetUp() override { setenv("RINGWISE_REGISTRY", temp.native("reg.db").c_str(), 1); }
    void TearDown() override { unsetenv("RINGWISE_REGISTRY"); }

    platform::Registry& store() { return platform::Registry::shared(); }

    TempDirectory temp;
};

} // namespace

TEST(SplitRegistryPath, KnowsTheFourRootsByTheirExactNames)
{
    auto split = os::split_registry_path(u"HKEY_LOCAL_MACHINE\\Software\\Apps\\Ringwise");
    EXPECT_EQ(split.root, RegistryRoot::LocalMachine);
    EXPECT_EQ(split.subkey, u"Software\\Apps\\Ringwise");
    EXPECT_EQ(os::split_registry_path(u"HKEY_CLASSES_ROOT\\x").root, RegistryRoot::ClassesRoot);
    EXPECT_EQ(os::split_registry_path(u"HKEY_USERS\\x").root, RegistryRoot::Users);
    EXPECT_EQ(os::split_registry_path(u"HKEY_CURRENT_USER\\Software\\Tarn").root,
        RegistryRoot::CurrentUser);
    EXPECT_EQ(os::split_registry_path(u"HKEY_USERS").subkey, u"");
    EXPECT_EQ(os::split_registry_path(u"HKEY_USERS").root, RegistryRoot::Users);
}

TEST(SplitRegistryPath, AnythingElseNamesNoRoot)
{
    for (auto path : { u"HKLM\\Software", u"hkey_local_machine\\Software",
             u"HKEY_CURRENT_CONFIG\\x", u"HKEY_USERSX\\y", u"Software\\Tarn", u"" }) {
        auto split = os::split_registry_path(path);
        EXPECT_EQ(split.root, RegistryRoot::None);
        EXPECT_EQ(split.subkey, u"");
    }
}

TEST_F(RegistryFunctions, ReadingANumberOpensAndCreatesTheKeyEvenWithoutTheValue)
{
    std::uint32_t number = 42;
    EXPECT_TRUE(os::read_registry_number(TARN, u"Log", number));
    EXPECT_EQ(number, 42u);
    EXPECT_EQ(os::enumerate_registry_subkeys(u"HKEY_CURRENT_USER\\Software"),
        std::vector<std::u16string> { u"Tarn" });

    os::RegistryKey key;
    ASSERT_TRUE(key.open(TARN));
    ASSERT_TRUE(key.set_number(u"Log", 0xFFFFFFFF));
    ASSERT_TRUE(key.set_string(u"Text", u"1"));
    EXPECT_TRUE(os::read_registry_number(u"HKEY_CURRENT_USER\\software\\tarn", u"log", number));
    EXPECT_EQ(number, 0xFFFFFFFFu);
    int signed_number = 5;
    EXPECT_TRUE(os::read_registry_number(TARN, u"Log", signed_number));
    EXPECT_EQ(signed_number, -1);
    // A value of another type leaves the number alone.
    EXPECT_TRUE(os::read_registry_number(TARN, u"Text", number));
    EXPECT_EQ(number, 0xFFFFFFFFu);
    EXPECT_FALSE(os::read_registry_number(u"HKCU\\Software\\Tarn", u"Log", number));
}

TEST_F(RegistryFunctions, StringsReadUpToTheirTerminator)
{
    os::RegistryKey key;
    ASSERT_TRUE(key.create(u"HKEY_LOCAL_MACHINE\\Software\\Apps\\Ringwise"));
    ASSERT_TRUE(key.set_string(u"InstallDir", u"\\Program Files\\Ringwise \u00e9"));
    // The terminator is stored and counted.
    auto stored
        = store().query_value(u"HKEY_LOCAL_MACHINE\\Software\\Apps\\Ringwise", u"InstallDir");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->data.size(), 2u * (25 + 1));
    EXPECT_EQ(stored->data[stored->data.size() - 2], 0);

    std::u16string text = u"unchanged";
    EXPECT_TRUE(os::read_registry_string(
        u"HKEY_LOCAL_MACHINE\\Software\\Apps\\Ringwise", u"installdir", text));
    EXPECT_EQ(text, u"\\Program Files\\Ringwise \u00e9");

    // Text stored without a terminator, or with text after it.
    platform::RegistryValue raw { u"Raw", platform::REGISTRY_STRING,
        { 'a', 0, 'b', 0, 0, 0, 'c', 0, 'd' } };
    ASSERT_TRUE(store().set_value(u"HKEY_LOCAL_MACHINE\\Software\\Apps\\Ringwise", raw));
    EXPECT_TRUE(
        os::read_registry_string(u"HKEY_LOCAL_MACHINE\\Software\\Apps\\Ringwise", u"Raw", text));
    EXPECT_EQ(text, u"ab");
    raw.data = { 'x', 0, 'y', 0, 'z' };
    ASSERT_TRUE(store().set_value(u"HKEY_LOCAL_MACHINE\\Software\\Apps\\Ringwise", raw));
    EXPECT_TRUE(
        os::read_registry_string(u"HKEY_LOCAL_MACHINE\\Software\\Apps\\Ringwise", u"Raw", text));
    EXPECT_EQ(text, u"xy");
}

TEST_F(RegistryFunctions, ShortValuesReadAsEmptyTextAndOtherTypesFail)
{
    os::RegistryKey key;
    ASSERT_TRUE(key.create(TARN));
    ASSERT_TRUE(key.set_string(u"Empty", u""));
    ASSERT_TRUE(key.set_number(u"Number", 7));
    ASSERT_TRUE(store().set_value(TARN, { u"Zero", platform::REGISTRY_STRING, {} }));
    ASSERT_TRUE(store().set_value(TARN, { u"OneByte", 3, { 0x41 } }));

    for (auto name : { u"Empty", u"Zero", u"OneByte" }) {
        std::u16string text = u"unchanged";
        EXPECT_TRUE(os::read_registry_string(TARN, name, text)) << platform::to_utf8(name);
        EXPECT_EQ(text, u"");
    }
    for (auto name : { u"Number", u"Missing" }) {
        std::u16string text = u"unchanged";
        EXPECT_FALSE(os::read_registry_string(TARN, name, text));
        EXPECT_EQ(text, u"unchanged");
    }
    // Reading from a key that did not exist creates it, but finds nothing.
    std::u16string text;
    EXPECT_FALSE(os::read_registry_string(u"HKEY_USERS\\Fresh", u"x", text));
    EXPECT_TRUE(store().key_exists(u"HKEY_USERS\\Fresh"));
}

TEST_F(RegistryFunctions, EnumerationListsSubkeysInNameOrderAndCreatesNothing)
{
    for (auto name : { u"Ringwise", u"alpha", u"Zeta", u"beta" }) {
        os::RegistryKey key;
        ASSERT_TRUE(
            key.create(std::u16string(u"HKEY_LOCAL_MACHINE\\Software\\") + name + u"\\Sub"));
    }
    std::vector<std::u16string> expected { u"alpha", u"beta", u"Ringwise", u"Zeta" };
    EXPECT_EQ(os::enumerate_registry_subkeys(u"HKEY_LOCAL_MACHINE\\Software"), expected);
    EXPECT_TRUE(os::enumerate_registry_subkeys(u"HKEY_LOCAL_MACHINE\\Missing").empty());
    EXPECT_FALSE(store().key_exists(u"HKEY_LOCAL_MACHINE\\Missing"));
    EXPECT_TRUE(os::enumerate_registry_subkeys(u"HKLM\\Software").empty());
}

TEST_F(RegistryFunctions, KeysOpenCloseAndDeleteWithEverythingBelow)
{
    os::RegistryKey key;
    EXPECT_FALSE(key.open(u"HKEY_LOCAL_MACHINE\\Software\\Apps"));
    EXPECT_FALSE(key.set_number(u"n", 1));
    ASSERT_TRUE(key.create(u"HKEY_LOCAL_MACHINE\\Software\\Apps\\Ringwise\\Menu"));
    ASSERT_TRUE(key.set_number(u"Order", 3));
    ASSERT_TRUE(key.delete_value(u"ORDER"));
    EXPECT_FALSE(key.delete_value(u"Order"));
    key.close();
    EXPECT_FALSE(key.is_open());
    EXPECT_FALSE(key.set_number(u"Order", 3));

    EXPECT_TRUE(os::delete_registry_key(u"HKEY_LOCAL_MACHINE\\Software\\Apps"));
    EXPECT_FALSE(store().key_exists(u"HKEY_LOCAL_MACHINE\\Software\\Apps\\Ringwise\\Menu"));
    EXPECT_FALSE(os::delete_registry_key(u"HKEY_LOCAL_MACHINE\\Software\\Apps"));
    EXPECT_FALSE(os::delete_registry_key(u"HKEY_LOCAL_MACHINE"));
    EXPECT_FALSE(key.create(u"HKLM\\Software"));
}

TEST_F(RegistryFunctions, DamagedDatabaseLeavesDefaultsInForce)
{
    temp.write("reg.db", "this is no database at all, just some text that is long enough");
    std::uint32_t number = 9;
    std::u16string text = u"default";
    EXPECT_FALSE(os::read_registry_number(TARN, u"Log", number));
    EXPECT_FALSE(os::read_registry_string(TARN, u"Name", text));
    EXPECT_EQ(number, 9u);
    EXPECT_EQ(text, u"default");
    EXPECT_TRUE(os::enumerate_registry_subkeys(u"HKEY_CURRENT_USER").empty());
    os::RegistryKey key;
    EXPECT_FALSE(key.create(TARN));
}
