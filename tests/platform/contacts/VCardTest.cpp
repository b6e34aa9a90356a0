#include "platform/contacts/VCard.h"

#include <gtest/gtest.h>

using platform::parse_vcards;
using platform::VCard;

namespace {

std::vector<std::string> numbers(const VCard& card)
{
    std::vector<std::string> out;
    for (const auto& telephone : card.telephones)
        out.push_back(telephone.number);
    return out;
}

TEST(VCard, ReadsVersion21WithQuotedPrintableCharsetsAndBareTypes)
{
    // Soft line breaks, an ISO-8859-1 name, bare parameters, LF line ends.
    std::string text = "BEGIN:VCARD\n"
                       "VERSION:2.1\n"
                       "N;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:M=FCller;J=\n"
                       "=FCrgen\n"
                       "FN;QUOTED-PRINTABLE;CHARSET=UTF-8:J=C3=BCrgen M=C3=BCller\n"
                       "TEL;CELL;VOICE:+49 170 1234567\n"
                       "TEL;WORK:030 123\n"
                       "END:VCARD\n";
    auto cards = parse_vcards(text);
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].version, "2.1");
    EXPECT_EQ(cards[0].name, (std::vector<std::string> { "M\xC3\xBCller", "J\xC3\xBCrgen" }));
    EXPECT_EQ(cards[0].formatted_name, "J\xC3\xBCrgen M\xC3\xBCller");
    ASSERT_EQ(cards[0].telephones.size(), 2u);
    EXPECT_EQ(cards[0].telephones[0].number, "+49 170 1234567");
    EXPECT_EQ(cards[0].telephones[0].types, (std::vector<std::string> { "cell", "voice" }));
    EXPECT_EQ(cards[0].telephones[1].types, (std::vector<std::string> { "work" }));
}

TEST(VCard, ReadsVersion30WithFoldingEscapesGroupsAndListedTypes)
{
    std::string text = "BEGIN:VCARD\r\n"
                       "VERSION:3.0\r\n"
                       "N:Berg;Anna;;;\r\n"
                       "FN:Anna\r\n"
                       "  Berg\r\n"
                       "ORG:Acme\\, Inc.;Sales\\;East\r\n"
                       "item1.TEL;type=WORK;type=pref:+1 555\r\n"
                       "\t0100\r\n"
                       "TEL;TYPE=HOME,VOICE:555-0199\r\n"
                       "END:VCARD\r\n";
    auto cards = parse_vcards(text);
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].formatted_name, "Anna Berg");
    EXPECT_EQ(cards[0].organization, (std::vector<std::string> { "Acme, Inc.", "Sales;East" }));
    EXPECT_EQ(numbers(cards[0]), (std::vector<std::string> { "+1 5550100", "555-0199" }));
    EXPECT_EQ(cards[0].telephones[0].types, (std::vector<std::string> { "work", "pref" }));
    EXPECT_EQ(cards[0].telephones[1].types, (std::vector<std::string> { "home", "voice" }));
}

TEST(VCard, ReadsVersion40UrisAndQuotedTypeLists)
{
    std::string text = "BEGIN:VCARD\r\n"
                       "VERSION:4.0\r\n"
                       "UID:urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1\r\n"
                       "FN:Mom\r\n"
                       "TEL;VALUE=uri;TYPE=\"Cell,Voice\";PREF=1:tel:+1-555-555-5555\r\n"
                       "TEL;VALUE=uri;TYPE=home:TEL:+1-555-555-1212\r\n"
                       "END:VCARD\r\n";
    auto cards = parse_vcards(text);
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].uid, "urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1");
    EXPECT_EQ(
        numbers(cards[0]), (std::vector<std::string> { "+1-555-555-5555", "+1-555-555-1212" }));
    EXPECT_EQ(cards[0].telephones[0].types, (std::vector<std::string> { "cell", "voice" }));
}

TEST(VCard, SkipsDamagedCardsAndKeepsTheOthers)
{
    std::string text = "garbage before the first card\n"
                       "BEGIN:VCARD\nFN:Unfinished\nTEL:1\n" // never ended
                       "BEGIN:VCARD\nFN:Whole\nthis line has no colon\nTEL:2\nEND:VCARD\n"
                       "END:VCARD\n" // stray end
                       "BEGIN:VCARD\nFN:Truncated\nTEL:3\n"; // cut off by the file's end
    auto cards = parse_vcards(text);
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].formatted_name, "Whole");
    EXPECT_EQ(numbers(cards[0]), (std::vector<std::string> { "2" }));
}

TEST(VCard, IgnoresEmbeddedAgentCards)
{
    std::string text = "BEGIN:VCARD\nVERSION:2.1\nFN:Boss\nAGENT:\nBEGIN:VCARD\nFN:Assistant\n"
                       "TEL:999\nEND:VCARD\nTEL:111\nEND:VCARD\n"
                       "BEGIN:VCARD\nFN:Next\nEND:VCARD\n";
    auto cards = parse_vcards(text);
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0].formatted_name, "Boss");
    EXPECT_EQ(numbers(cards[0]), (std::vector<std::string> { "111" }));
    EXPECT_EQ(cards[1].formatted_name, "Next");
}

TEST(VCard, DecodesByteOrderMarksAndUndeclaredLegacyText)
{
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("BEGIN:VCARD\r\nFN:\xE9va\r\nEND:VCARD\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    auto cards = parse_vcards(utf16);
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].formatted_name, "\xC3\xA9va");

    // No charset and not UTF-8: read as the old address books wrote it.
    cards = parse_vcards("\xEF\xBB\xBF"
                         "BEGIN:VCARD\nFN:Ren\xE9\nEND:VCARD\n");
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].formatted_name, "Ren\xC3\xA9");

    // An unknown charset or a broken base64 value does not take the card down.
    cards = parse_vcards("BEGIN:VCARD\nFN;CHARSET=NO-SUCH-SET:Plain\n"
                         "N;ENCODING=BASE64:!!!\nORG;ENCODING=b:QWNtZQ==\nEND:VCARD\n");
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].formatted_name, "Plain");
    EXPECT_TRUE(cards[0].name.empty());
    EXPECT_EQ(cards[0].organization, (std::vector<std::string> { "Acme" }));
}

TEST(VCard, QuotedPrintableSoftBreakNeverSwallowsTheCardEnd)
{
    auto cards = parse_vcards("BEGIN:VCARD\nFN;ENCODING=QUOTED-PRINTABLE:Bad=\nEND:VCARD\n"
                              "BEGIN:VCARD\nFN:Good =3D\nEND:VCARD\n");
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0].formatted_name, "Bad=");
    // Without the encoding, "=3D" is plain text.
    EXPECT_EQ(cards[1].formatted_name, "Good =3D");
}

} // namespace
