#include "platform/contacts/ContactStore.h"
#include "platform/contacts/EdsAddressBooks.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/Watchdog.h"

#include <gtest/gtest.h>

#include <gio/gio.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <optional>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

constexpr const char* REGISTRY = "/usr/libexec/evolution-source-registry";
constexpr const char* FACTORY = "/usr/libexec/evolution-addressbook-factory";
constexpr const char* REGISTRY_NAME = "org.gnome.evolution.dataserver.Sources5";
constexpr const char* FACTORY_NAME = "org.gnome.evolution.dataserver.AddressBook10";
constexpr const char* NOT_INSTALLED = "the address book service is not installed "
                                      "(apt-get install evolution-data-server)";

bool service_installed()
{
    return ::access(REGISTRY, X_OK) == 0 && ::access(FACTORY, X_OK) == 0;
}

// One contact as eds_contacts_runner prints it.
struct Listed {
    int oid { 0 };
    std::string first, last, company, mobile, business, home;
};

std::map<std::string, Listed> parse_listing(const std::string& text)
{
    std::map<std::string, Listed> contacts;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        std::string field;
        while (std::getline(parts, field, '|'))
            fields.push_back(field);
        fields.resize(7);
        Listed contact { std::atoi(fields[0].c_str()), fields[1], fields[2], fields[3], fields[4],
            fields[5], fields[6] };
        contacts[contact.first.empty() ? contact.company : contact.first] = contact;
    }
    return contacts;
}

std::int32_t oid_of_uid(const std::string& uid)
{
    auto cards = platform::parse_vcards("BEGIN:VCARD\nUID:" + uid + "\nEND:VCARD\n");
    return cards.empty() ? 0 : platform::contact_oid(cards[0]);
}

// A private session bus with a home of its own, and the address book
// service's programs started on it. The contacts are read by
// eds_contacts_runner, a process of its own, so that the connections the
// service's library keeps end with it and not with the test.
class EdsService : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : { "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                 "GSETTINGS_BACKEND", "RINGWISE_CONTACTS", "DBUS_SESSION_BUS_ADDRESS" }) {
            const char* value = std::getenv(name);
            saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
        }
        ::setenv("HOME", temp.native("home").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", temp.native("home/.config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", temp.native("home/.local/share").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", temp.native("home/.cache").c_str(), 1);
        ::setenv("GSETTINGS_BACKEND", "memory", 1);
        ::unsetenv("RINGWISE_CONTACTS");
        temp.write("home/.local/share/kpeoplevcard/plasma.vcf",
            "BEGIN:VCARD\nVERSION:3.0\nUID:plasma-1\nFN:Plasma\nTEL:42\nEND:VCARD\n");
        bus_ = g_test_dbus_new(G_TEST_DBUS_NONE);
        g_test_dbus_up(bus_);
    }

    void TearDown() override
    {
        for (pid_t& program : programs_) {
            ::kill(program, SIGTERM);
            ::waitpid(program, nullptr, 0);
        }
        g_test_dbus_down(bus_);
        g_object_unref(bus_);
        for (const auto& [name, value] : saved_) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }

    // Starts a program (one of the service's, or a stand-in) and waits (at
    // most 30 s) until it owns `name` on the bus.
    void start(const char* program, const char* name, std::vector<const char*> arguments = {})
    {
        arguments.insert(arguments.begin(), program);
        arguments.push_back(nullptr);
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, program, nullptr, nullptr,
                      const_cast<char* const*>(arguments.data()), environ),
            0);
        programs_.push_back(pid);
        GDBusConnection* connection
            = g_dbus_connection_new_for_address_sync(g_test_dbus_get_bus_address(bus_),
                static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT
                    | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
                nullptr, nullptr, nullptr);
        ASSERT_NE(connection, nullptr);
        bool owned = false;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!owned && std::chrono::steady_clock::now() < deadline) {
            GVariant* reply = g_dbus_connection_call_sync(connection, "org.freedesktop.DBus",
                "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
                g_variant_new("(s)", name), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, 1000,
                nullptr, nullptr);
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
        ASSERT_TRUE(owned) << program << " did not come up on the test's bus";
    }

    // Runs eds_contacts_runner; its exit status and what it printed.
    std::pair<int, std::string> run(std::vector<std::string> arguments)
    {
        std::string runner = RINGWISE_BINARY_DIR "/bin/eds_contacts_runner";
        arguments.insert(arguments.begin(), runner);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        std::string output = temp.native("runner.out");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(
            &actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid = 0;
        int spawned = posix_spawn(&pid, runner.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0)
            return { -1, {} };
        int status = 0;
        ::waitpid(pid, &status, 0);
        return { WIFEXITED(status) ? WEXITSTATUS(status) : -1, temp.read("runner.out") };
    }

    TempDirectory temp;
    test_support::Watchdog watchdog { std::chrono::seconds(150) };

private:
    GTestDBus* bus_ { nullptr };
    std::vector<pid_t> programs_;
    std::map<std::string, std::optional<std::string>> saved_;
};

TEST_F(EdsService, ContactsOfTheAddressBookComeThroughTheManagerWithStableIds)
{
    if (!service_installed())
        GTEST_SKIP() << NOT_INSTALLED;
    start(REGISTRY, REGISTRY_NAME);
    start(FACTORY, FACTORY_NAME);
    temp.write("anna.vcf",
        "BEGIN:VCARD\nVERSION:3.0\nUID:ringwise-test-anna\nN:Berg;Anna;;;\nFN:Anna Berg\n"
        "ORG:Acme;Sales\nTEL;TYPE=HOME,VOICE:+49 30 3\nTEL;TYPE=WORK,VOICE:+49 30 2\n"
        "TEL;TYPE=CELL:+49 170 1\nEND:VCARD\n");
    temp.write("mom.vcf",
        "BEGIN:VCARD\nVERSION:3.0\nUID:ringwise-test-mom\nFN:M\xC3\xB6m\nTEL;TYPE=FAX:9\n"
        "TEL:555 0100\nEND:VCARD\n");
    auto [added, ignored] = run({ "add", temp.native("anna.vcf"), temp.native("mom.vcf") });
    ASSERT_EQ(added, 0) << "the contacts could not be added to the address book";

    auto [status, first_read] = run({ "list" });
    ASSERT_EQ(status, 0);
    auto contacts = parse_listing(first_read);
    // The address book's contacts hide the Plasma folder.
    ASSERT_EQ(contacts.size(), 2u) << first_read;
    const Listed& anna = contacts["Anna"];
    EXPECT_EQ(anna.last, "Berg");
    EXPECT_EQ(anna.company, "Acme");
    EXPECT_EQ(anna.mobile, "+49 170 1");
    EXPECT_EQ(anna.business, "+49 30 2");
    EXPECT_EQ(anna.home, "+49 30 3");
    EXPECT_EQ(anna.oid, oid_of_uid("ringwise-test-anna"));
    const Listed& mom = contacts["M\xC3\xB6m"];
    EXPECT_EQ(mom.last, "");
    EXPECT_EQ(mom.mobile, "555 0100");
    EXPECT_EQ(mom.business, "");
    EXPECT_EQ(mom.oid, oid_of_uid("ringwise-test-mom"));

    // A second connection reads the same contacts under the same ids.
    EXPECT_EQ(run({ "list" }).second, first_read);
}

TEST_F(EdsService, AnAddressBookThatCannotBeOpenedIsSkippedForTheFolders)
{
    if (!service_installed())
        GTEST_SKIP() << NOT_INSTALLED;
    // The registry lists the built-in address book; without the factory it
    // cannot be opened.
    start(REGISTRY, REGISTRY_NAME);
    auto [status, listing] = run({ "list" });
    ASSERT_EQ(status, 0);
    EXPECT_EQ(listing, std::to_string(oid_of_uid("plasma-1")) + "|Plasma|||42||\n");
}

TEST_F(EdsService, WithoutTheServiceOnTheBusThePlasmaFolderIsReadAtOnce)
{
    auto started = std::chrono::steady_clock::now();
    auto [status, listing] = run({ "list" });
    ASSERT_EQ(status, 0);
    EXPECT_EQ(listing, std::to_string(oid_of_uid("plasma-1")) + "|Plasma|||42||\n");
    EXPECT_LT(std::chrono::steady_clock::now() - started,
        std::chrono::seconds(platform::EDS_WAIT_SECONDS));
}

// Owns a name of the service on the bus and never reads a message.
constexpr const char* SILENT_STAND_IN = "import dbus, sys, time\n"
                                        "dbus.SessionBus().request_name(sys.argv[1])\n"
                                        "time.sleep(600)\n";

bool have_python_dbus()
{
    return std::system("/usr/bin/python3 -c 'import dbus' 2>/dev/null") == 0;
}

TEST_F(EdsService, AServiceThatNeverAnswersIsGivenUpAfterTheWait)
{
    if (!have_python_dbus())
        GTEST_SKIP() << "no python3-dbus for the silent stand-in";
    start("/usr/bin/python3", REGISTRY_NAME, { "-c", SILENT_STAND_IN, REGISTRY_NAME });
    auto started = std::chrono::steady_clock::now();
    auto [status, listing] = run({ "list" });
    ASSERT_EQ(status, 0);
    EXPECT_EQ(listing, std::to_string(oid_of_uid("plasma-1")) + "|Plasma|||42||\n");
    EXPECT_LT(std::chrono::steady_clock::now() - started,
        std::chrono::seconds(platform::EDS_WAIT_SECONDS + 5));
}

TEST_F(EdsService, AnAddressBookServiceThatNeverAnswersIsGivenUpAfterTheWait)
{
    if (!service_installed())
        GTEST_SKIP() << NOT_INSTALLED;
    if (!have_python_dbus())
        GTEST_SKIP() << "no python3-dbus for the silent stand-in";
    start(REGISTRY, REGISTRY_NAME);
    start("/usr/bin/python3", FACTORY_NAME, { "-c", SILENT_STAND_IN, FACTORY_NAME });
    auto started = std::chrono::steady_clock::now();
    auto [status, listing] = run({ "list" });
    ASSERT_EQ(status, 0);
    EXPECT_EQ(listing, std::to_string(oid_of_uid("plasma-1")) + "|Plasma|||42||\n");
    EXPECT_LT(std::chrono::steady_clock::now() - started,
        std::chrono::seconds(platform::EDS_WAIT_SECONDS + 5));
}

} // namespace
