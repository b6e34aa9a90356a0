#include "platform/Registry.h"

#include "platform/LittleEndian.h"

#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::Registry;
using platform::RegistryValue;

namespace {

constexpr const char16_t* TARN = u"HKEY_CURRENT_USER\\Software\\Tarn";

RegistryValue number_value(const std::u16string& name, std::uint32_t number)
{
    RegistryValue value { name, platform::REGISTRY_NUMBER, {} };
    platform::append_u32le(value.data, number);
    return value;
}

std::vector<std::u16string> names_of(const std::vector<RegistryValue>& values)
{
    std::vector<std::u16string> names;
    for (auto& value : values)
        names.push_back(value.name);
    return names;
}

} // namespace

TEST(Registry, KeysAndValueNamesIgnoreCaseButKeepTheirOwn)
{
    TempDirectory temp;
    Registry registry(temp.native("reg.db"));
    ASSERT_TRUE(registry.create_key(TARN));
    EXPECT_TRUE(registry.key_exists(u"hkey_current_user\\SOFTWARE\\tarn"));
    // Creating it again under another spelling adds nothing.
    EXPECT_TRUE(registry.create_key(u"HKEY_CURRENT_USER\\software\\TARN"));
    EXPECT_EQ(registry.subkeys(u"HKEY_CURRENT_USER"), std::vector<std::u16string> { u"Software" });

    ASSERT_TRUE(registry.set_value(TARN, number_value(u"Log", 1)));
    ASSERT_TRUE(registry.set_value(u"HKEY_CURRENT_USER\\SOFTWARE\\TARN", number_value(u"LOG", 2)));
    auto value = registry.query_value(TARN, u"log");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->name, u"Log");
    EXPECT_EQ(value->data, number_value(u"", 2).data);
    EXPECT_EQ(registry.values(TARN)->size(), 1u);

    // Case folding reaches beyond ASCII.
    ASSERT_TRUE(registry.create_key(u"HKEY_CURRENT_USER\\Software\\\u00c9COLE"));
    EXPECT_TRUE(registry.key_exists(u"HKEY_CURRENT_USER\\Software\\\u00e9cole"));
}

TEST(Registry, MissingDatabaseReadsAsEmptyUntilTheFirstWrite)
{
    TempDirectory temp;
    Registry registry(temp.native("config/ringwise/reg.db"));
    EXPECT_FALSE(registry.key_exists(u"HKEY_CURRENT_USER"));
    EXPECT_FALSE(registry.query_value(u"HKEY_CURRENT_USER", u"x"));
    EXPECT_FALSE(registry.subkeys(u"HKEY_CURRENT_USER"));
    EXPECT_FALSE(registry.set_value(u"HKEY_CURRENT_USER", number_value(u"x", 1)));
    EXPECT_FALSE(temp.exists("config"));

    ASSERT_TRUE(registry.create_key(TARN));
    EXPECT_TRUE(temp.exists("config/ringwise/reg.db"));
    // The database file alone holds the change, even with the connection open.
    Registry other(temp.native("config/ringwise/reg.db"));
    EXPECT_TRUE(other.key_exists(TARN));
}

TEST(Registry, PathsMustStartWithARootAndNamesStayWithinTheLimit)
{
    TempDirectory temp;
    Registry registry(temp.native("reg.db"));
    EXPECT_FALSE(registry.create_key(u"Software\\Tarn"));
    EXPECT_FALSE(registry.create_key(u"HKCU\\Software"));
    EXPECT_FALSE(registry.create_key(u""));
    EXPECT_FALSE(registry.create_key(u"HKEY_CURRENT_USER\\" + std::u16string(256, u'k')));
    EXPECT_TRUE(registry.create_key(u"HKEY_CURRENT_USER\\" + std::u16string(255, u'k')));
    // Doubled and trailing separators name the same key.
    EXPECT_TRUE(registry.create_key(u"HKEY_LOCAL_MACHINE\\\\a\\b\\"));
    EXPECT_TRUE(registry.key_exists(u"HKEY_LOCAL_MACHINE\\a\\b"));
}

TEST(Registry, SubkeysAndValuesComeInNameOrderIgnoringCase)
{
    TempDirectory temp;
    Registry registry(temp.native("reg.db"));
    for (auto name : { u"delta", u"Bravo", u"charlie", u"alpha" })
        ASSERT_TRUE(registry.create_key(std::u16string(TARN) + u"\\" + name));
    std::vector<std::u16string> expected { u"alpha", u"Bravo", u"charlie", u"delta" };
    EXPECT_EQ(registry.subkeys(TARN), expected);
    EXPECT_EQ(registry.subkeys(std::u16string(TARN) + u"\\alpha"), std::vector<std::u16string> {});

    for (auto name : { u"Zoo", u"apple", u"Mango" })
        ASSERT_TRUE(registry.set_value(TARN, number_value(name, 0)));
    EXPECT_EQ(names_of(*registry.values(TARN)),
        (std::vector<std::u16string> { u"apple", u"Mango", u"Zoo" }));
}

TEST(Registry, DeletingAKeyTakesItsValuesAndSubkeysButNeverARoot)
{
    TempDirectory temp;
    Registry registry(temp.native("reg.db"));
    std::u16string deep = std::u16string(TARN) + u"\\a\\b";
    ASSERT_TRUE(registry.create_key(deep));
    ASSERT_TRUE(registry.set_value(deep, number_value(u"n", 1)));
    ASSERT_TRUE(registry.set_value(TARN, number_value(u"Log", 1)));
    ASSERT_TRUE(registry.create_key(u"HKEY_CURRENT_USER\\Software\\Other"));

    EXPECT_TRUE(registry.delete_key(u"hkey_current_user\\software\\tarn"));
    EXPECT_FALSE(registry.key_exists(TARN));
    EXPECT_FALSE(registry.key_exists(deep));
    EXPECT_TRUE(registry.key_exists(u"HKEY_CURRENT_USER\\Software\\Other"));
    // A key made again under the old name starts empty.
    ASSERT_TRUE(registry.create_key(deep));
    EXPECT_EQ(registry.values(deep)->size(), 0u);
    EXPECT_EQ(registry.values(TARN)->size(), 0u);

    EXPECT_FALSE(registry.delete_key(u"HKEY_CURRENT_USER"));
    EXPECT_TRUE(registry.key_exists(u"HKEY_CURRENT_USER"));
    EXPECT_FALSE(registry.delete_key(u"HKEY_CURRENT_USER\\Missing"));
    EXPECT_FALSE(registry.delete_value(deep, u"n"));
}

TEST(Registry, EmptyValuesAndNamesAreStoredAsGiven)
{
    TempDirectory temp;
    Registry registry(temp.native("reg.db"));
    ASSERT_TRUE(registry.create_key(TARN));
    ASSERT_TRUE(registry.set_value(TARN, { u"", platform::REGISTRY_STRING, {} }));
    auto value = registry.query_value(TARN, u"");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, platform::REGISTRY_STRING);
    EXPECT_TRUE(value->data.empty());
    EXPECT_TRUE(registry.delete_value(TARN, u""));
    EXPECT_FALSE(registry.query_value(TARN, u""));
}

TEST(Registry, DamagedDatabaseFindsNothingAndRefusesWrites)
{
    TempDirectory temp;
    temp.write("reg.db", std::string(8192, 'x'));
    Registry registry(temp.native("reg.db"));
    EXPECT_FALSE(registry.key_exists(u"HKEY_CURRENT_USER"));
    EXPECT_FALSE(registry.create_key(TARN));
    EXPECT_FALSE(registry.set_value(TARN, number_value(u"Log", 1)));
    EXPECT_FALSE(registry.subkeys(u"HKEY_CURRENT_USER"));
    EXPECT_FALSE(registry.delete_key(TARN));
    EXPECT_EQ(temp.read("reg.db"), std::string(8192, 'x'));
}

TEST(Registry, WritesGiveUpOnADatabaseLockedTooLongWhileReadsGoOn)
{
    TempDirectory temp;
    Registry registry(temp.native("reg.db"));
    ASSERT_TRUE(registry.create_key(TARN));
    ASSERT_TRUE(registry.set_value(TARN, number_value(u"Log", 1)));

    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(temp.native("reg.db").c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_FALSE(registry.set_value(TARN, number_value(u"Log", 2)));
    EXPECT_EQ(registry.query_value(TARN, u"Log")->data, number_value(u"", 1).data);
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);

    EXPECT_TRUE(registry.set_value(TARN, number_value(u"Log", 2)));
}

TEST(Registry, FollowsTheEnvironmentAndNoticesAReplacedFile)
{
    TempDirectory temp;
    setenv("RINGWISE_REGISTRY", temp.native("one.db").c_str(), 1);
    Registry registry;
    EXPECT_EQ(registry.file(), temp.native("one.db"));
    ASSERT_TRUE(registry.create_key(TARN));

    setenv("RINGWISE_REGISTRY", temp.native("two.db").c_str(), 1);
    EXPECT_FALSE(registry.key_exists(TARN));
    ASSERT_TRUE(registry.create_key(u"HKEY_USERS\\Two"));

    // Removing the file under an open connection loses the keys, as it should.
    std::filesystem::remove(temp.native("two.db"));
    EXPECT_FALSE(registry.key_exists(u"HKEY_USERS\\Two"));

    unsetenv("RINGWISE_REGISTRY");
    setenv("XDG_CONFIG_HOME", temp.native("config").c_str(), 1);
    EXPECT_EQ(registry.file(), temp.native("config/ringwise/registry.db"));
    unsetenv("XDG_CONFIG_HOME");
}

// Several processes start from a missing database at the same moment, as
// the program, its settings launcher and the contacts add-in do at the first
// start of a session. A race there is rare in one round, so the test runs
// many rounds, each from a new file.
TEST(Registry, ProcessesRacingFromAMissingDatabaseLoseNothing)
{
    TempDirectory temp;
    constexpr int ROUNDS = 10;
    constexpr int PROCESSES = 8;
    constexpr int WRITES = 5;
    for (int round = 0; round < ROUNDS; ++round) {
        const std::string file = temp.native("round" + std::to_string(round) + ".db");
        int start[2];
        ASSERT_EQ(pipe(start), 0);
        pid_t children[PROCESSES];
        for (int child = 0; child < PROCESSES; ++child) {
            children[child] = fork();
            ASSERT_GE(children[child], 0);
            if (children[child] == 0) {
                char go;
                close(start[1]);
                if (read(start[0], &go, 1) != 1)
                    _exit(3);
                Registry registry(file);
                int failures = 0;
                for (int i = 0; i < WRITES; ++i) {
                    std::string text = "p" + std::to_string(child) + "-" + std::to_string(i);
                    std::u16string name(text.begin(), text.end());
                    failures += !registry.create_key(std::u16string(TARN) + u"\\" + name);
                    failures += !registry.set_value(TARN, number_value(name, std::uint32_t(i)));
                }
                _exit(failures == 0 ? 0 : 1);
            }
        }
        close(start[0]);
        ASSERT_EQ(write(start[1], std::string(PROCESSES, 'g').data(), PROCESSES), PROCESSES);
        close(start[1]);
        for (pid_t child : children) {
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                << "round " << round << ", status " << status;
        }
        Registry registry(file);
        ASSERT_EQ(registry.subkeys(TARN)->size(), std::size_t(PROCESSES * WRITES)) << round;
        ASSERT_EQ(registry.values(TARN)->size(), std::size_t(PROCESSES * WRITES)) << round;
    }
}
