#include "platform/contacts/ContactStore.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

platform::Contact contact_of(const std::string& card)
{
    auto cards = platform::parse_vcards("BEGIN:VCARD\nVERSION:3.0\n" + card + "END:VCARD\n");
    EXPECT_EQ(cards.size(), 1u);
    return cards.empty() ? platform::Contact {} : platform::contact_from_vcard(cards[0]);
}

TEST(ContactStore, ThreeNumbersGoToTheirSlots)
{
    auto contact = contact_of("N:Berg;Anna;;;\nORG:Acme;Sales\n"
                              "TEL;TYPE=HOME:3\nTEL;TYPE=WORK,VOICE:2\nTEL;TYPE=CELL:1\n");
    EXPECT_EQ(contact.first_name, u"Anna");
    EXPECT_EQ(contact.last_name, u"Berg");
    EXPECT_EQ(contact.company, u"Acme");
    EXPECT_EQ(contact.mobile_phone, u"1");
    EXPECT_EQ(contact.business_phone, u"2");
    EXPECT_EQ(contact.home_phone, u"3");
}

TEST(ContactStore, NumbersWithoutTypeFillTheMobileSlotOnlyWhenEmpty)
{
    auto contact
        = contact_of("FN:A\nTEL:7\nTEL;TYPE=CELL:8\nTEL;TYPE=FAX,WORK:9\nTEL;TYPE=pager:6\n");
    EXPECT_EQ(contact.mobile_phone, u"8");
    EXPECT_EQ(contact.business_phone, u"");
    EXPECT_EQ(contact.home_phone, u"");

    contact = contact_of("FN:A\nTEL;TYPE=VOICE:7\nTEL:5\nTEL;TYPE=WORK:4\n");
    EXPECT_EQ(contact.mobile_phone, u"7");
    EXPECT_EQ(contact.business_phone, u"4");

    // A second mobile number that is also a work number takes the work slot.
    contact = contact_of("FN:A\nTEL;TYPE=CELL:1\nTEL;TYPE=CELL,WORK:2\n");
    EXPECT_EQ(contact.mobile_phone, u"1");
    EXPECT_EQ(contact.business_phone, u"2");
}

TEST(ContactStore, FormattedNameStandsInOnlyForAPersonWithoutName)
{
    auto mom = contact_of("FN:Mom\nTEL:+1 555 0100\n");
    EXPECT_EQ(mom.first_name, u"Mom");
    EXPECT_EQ(mom.mobile_phone, u"+1 555 0100");

    auto company = contact_of("N:;;;;\nFN:Acme\nORG:Acme\nTEL;TYPE=WORK:1\n");
    EXPECT_EQ(company.first_name, u"");
    EXPECT_EQ(company.last_name, u"");
    EXPECT_EQ(company.company, u"Acme");

    auto named = contact_of("N:Berg;;;;\nFN:Dr. Berg\n");
    EXPECT_EQ(named.first_name, u"");
    EXPECT_EQ(named.last_name, u"Berg");
}

TEST(ContactStore, IdsAreStablePositiveAndFollowTheUid)
{
    auto a = contact_of("UID:abc\nFN:A\nTEL:1\n");
    auto renamed = contact_of("UID:abc\nFN:B\nTEL:2\n");
    auto other = contact_of("UID:abd\nFN:A\nTEL:1\n");
    EXPECT_GT(a.oid, 0);
    EXPECT_EQ(a.oid, renamed.oid);
    EXPECT_NE(a.oid, other.oid);

    // Without a UID the name and the numbers decide.
    auto plain = contact_of("FN:A\nTEL:1\n");
    EXPECT_GT(plain.oid, 0);
    EXPECT_EQ(plain.oid, contact_of("FN:A\nTEL:1\n").oid);
    EXPECT_NE(plain.oid, contact_of("FN:A\nTEL:2\n").oid);
}

TEST(ContactStore, ReadsAFileOrTheCardFilesOfAFolderInNameOrder)
{
    TempDirectory temp;
    fs::path directory = temp.native();
    std::ofstream(directory / "b.vcf") << "BEGIN:VCARD\nFN:Second\nEND:VCARD\n";
    std::ofstream(directory / "a.VCF") << "BEGIN:VCARD\nFN:First\nEND:VCARD\n"
                                          "BEGIN:VCARD\nFN:Also first\nEND:VCARD\n";
    std::ofstream(directory / "notes.txt") << "BEGIN:VCARD\nFN:Not a card file\nEND:VCARD\n";
    fs::create_directory(directory / "sub.vcf");

    platform::ContactStore store(directory.string());
    ASSERT_EQ(store.count(), 3);
    // The collection counts from 1.
    EXPECT_EQ(store.item(0), nullptr);
    EXPECT_EQ(store.item(1)->first_name, u"First");
    EXPECT_EQ(store.item(2)->first_name, u"Also first");
    EXPECT_EQ(store.item(3)->first_name, u"Second");
    EXPECT_EQ(store.item(4), nullptr);

    EXPECT_EQ(platform::ContactStore((directory / "b.vcf").string()).count(), 1);
    EXPECT_EQ(platform::ContactStore((directory / "missing").string()).count(), 0);

    ::setenv("RINGWISE_CONTACTS", (directory / "b.vcf").c_str(), 1);
    EXPECT_EQ(platform::ContactStore().location(), (directory / "b.vcf").string());
    ::unsetenv("RINGWISE_CONTACTS");
}

TEST(ContactStore, PlasmasAddressBookWithItsSubfoldersComesBeforeOurOwnFolder)
{
    TempDirectory temp;
    fs::path data = temp.native();
    fs::create_directories(data / "ringwise/contacts");
    std::ofstream(data / "ringwise/contacts/own.vcf") << "BEGIN:VCARD\nFN:Own\nEND:VCARD\n";
    const char* previous = std::getenv("XDG_DATA_HOME");
    std::string saved = previous ? previous : "";
    const char* previous_bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    std::string saved_bus = previous_bus ? previous_bus : "";
    ::unsetenv("RINGWISE_CONTACTS");
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    // No session bus, so no address book service: the machine's own
    // address books stay out of the test.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (data / "no-bus").string()).c_str(), 1);
    EXPECT_EQ(platform::ContactStore().count(), 1);

    fs::create_directories(data / "kpeoplevcard/book/deeper");
    std::ofstream(data / "kpeoplevcard/top.vcard") << "BEGIN:VCARD\nFN:Top\nEND:VCARD\n";
    std::ofstream(data / "kpeoplevcard/book/a.vcf") << "BEGIN:VCARD\nFN:In book\nEND:VCARD\n";
    std::ofstream(data / "kpeoplevcard/book/deeper/x.vcf")
        << "BEGIN:VCARD\nFN:Too deep\nEND:VCARD\n";
    platform::ContactStore plasma;
    EXPECT_EQ(plasma.location(), (data / "kpeoplevcard").string());
    ASSERT_EQ(plasma.count(), 2);
    EXPECT_EQ(plasma.item(1)->first_name, u"In book");
    EXPECT_EQ(plasma.item(2)->first_name, u"Top");
    if (previous)
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
    if (previous_bus)
        ::setenv("DBUS_SESSION_BUS_ADDRESS", saved_bus.c_str(), 1);
    else
        ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

TEST(ContactStore, CardsOfTheAddressBookServiceMapLikeCardFiles)
{
    // As the service writes them: CRLF line ends, its own number parameter
    // with quoted and empty values, no line end after the last END.
    platform::ContactStore store = platform::ContactStore::from_cards({
        "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:pas-id-1\r\nN:Berg;Anna;;;\r\nFN:Anna Berg\r\n"
        "ORG:Acme;Sales\r\nTEL;X-EVOLUTION-E164=303,\"+49\";TYPE=HOME,VOICE:+49 30 3\r\n"
        "TEL;X-EVOLUTION-E164=1701,\"+49\";TYPE=CELL:+49 170 1\r\n"
        "TEL;X-EVOLUTION-E164=302,\"+49\";TYPE=WORK,VOICE:+49 30 2\r\n"
        "REV:2026-12-09T03:28:50Z\r\nEND:VCARD",
        "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:pas-id-2\r\nFN:M\xC3\xB6m\r\nTEL;TYPE=FAX:9\r\n"
        "TEL;X-EVOLUTION-E164=5550100,:555 0100\r\nEND:VCARD",
        "not a card",
    });
    EXPECT_EQ(store.location(), platform::ContactStore::EDS_LOCATION);
    ASSERT_EQ(store.count(), 2);
    const platform::Contact& anna = *store.item(1);
    EXPECT_EQ(anna.first_name, u"Anna");
    EXPECT_EQ(anna.last_name, u"Berg");
    EXPECT_EQ(anna.company, u"Acme");
    EXPECT_EQ(anna.mobile_phone, u"+49 170 1");
    EXPECT_EQ(anna.business_phone, u"+49 30 2");
    EXPECT_EQ(anna.home_phone, u"+49 30 3");
    EXPECT_EQ(anna.oid, contact_of("UID:pas-id-1\n").oid);
    const platform::Contact& mom = *store.item(2);
    EXPECT_EQ(mom.first_name, u"M\u00f6m");
    EXPECT_EQ(mom.mobile_phone, u"555 0100");
    EXPECT_EQ(mom.business_phone, u"");
}

} // namespace
