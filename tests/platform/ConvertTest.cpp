#include "platform/Convert.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

using namespace platform;

TEST(NumberText, FormatsLikePrintf)
{
    EXPECT_EQ(platform::to_text(0), "0");
    EXPECT_EQ(platform::to_text(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(platform::to_text(1234567890123L), "1234567890123");
    EXPECT_EQ(platform::to_text(0.5), "0.500000");
    EXPECT_EQ(platform::to_text(-1.0 / 3.0), "-0.333333");
    EXPECT_EQ(platform::to_text(1e300).size(), 301u + 7u);
}

TEST(NumberText, ReadsSignedDecimalsAfterWhiteSpace)
{
    int value = 99;
    std::size_t end = 0;
    EXPECT_TRUE(platform::text_to_int(" \t-42abc", value, &end));
    EXPECT_EQ(value, -42);
    EXPECT_EQ(end, 5u);

    EXPECT_TRUE(platform::text_to_int(u"+17", value, &end));
    EXPECT_EQ(value, 17);
    EXPECT_EQ(end, 3u);

    EXPECT_TRUE(platform::text_to_int("2147483647", value));
    EXPECT_EQ(value, INT_MAX);
}

TEST(NumberText, FailsWithoutStoringOnEmptyBlankOrBareSign)
{
    for (const char* text : { "", "   ", "-", " +" }) {
        int value = 7;
        EXPECT_FALSE(platform::text_to_int(text, value)) << '"' << text << '"';
        EXPECT_EQ(value, 7) << '"' << text << '"';
    }
}

TEST(NumberText, StoresZeroWhenNoDigitFollowsTheSign)
{
    int value = 7;
    EXPECT_FALSE(platform::text_to_int(u"-x1", value));
    EXPECT_EQ(value, 0);
    value = 7;
    EXPECT_FALSE(platform::text_to_int("abc", value));
    EXPECT_EQ(value, 0);
}

TEST(NumberText, HugeNumbersWrapInsteadOfOverflowing)
{
    int value = 0;
    EXPECT_TRUE(platform::text_to_int("4294967297", value));
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(platform::text_to_int("-2147483648", value));
    EXPECT_EQ(value, INT_MIN);
    EXPECT_TRUE(platform::text_to_int("99999999999999999999999", value));
}

class CodePageTest : public ::testing::Test {
protected:
    void TearDown() override { unsetenv("RINGWISE_CODEPAGE"); }
};

TEST_F(CodePageTest, DefaultIsWindowsWestern)
{
    unsetenv("RINGWISE_CODEPAGE");
    std::u16string wide = platform::narrow_to_wide("A\x80\xe9\x9f");
    EXPECT_EQ(wide, u"A\u20ac\u00e9\u0178");
    EXPECT_EQ(platform::wide_to_narrow(wide), "A\x80\xe9\x9f");
}

TEST_F(CodePageTest, OneCharacterPerByteEvenForUndefinedBytesAndZeros)
{
    unsetenv("RINGWISE_CODEPAGE");
    std::string narrow("a\0\x81\x8d", 4);
    std::u16string wide = platform::narrow_to_wide(narrow);
    ASSERT_EQ(wide.size(), 4u);
    EXPECT_EQ(wide[1], u'\0');
    EXPECT_EQ(wide[2], u'\x81');
    EXPECT_EQ(platform::wide_to_narrow(wide), narrow);
}

TEST_F(CodePageTest, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    unsetenv("RINGWISE_CODEPAGE");
    EXPECT_EQ(platform::wide_to_narrow(u"x\u0416\U0001F600y"), "x???y");
}

TEST_F(CodePageTest, FollowsTheEnvironment)
{
    setenv("RINGWISE_CODEPAGE", "CP1251", 1);
    EXPECT_EQ(platform::narrow_to_wide("\xc0\xff"), u"\u0410\u044f");
    EXPECT_EQ(platform::wide_to_narrow(u"\u0416"), "\xc6");
    // An unknown code page falls back to the default one.
    setenv("RINGWISE_CODEPAGE", "NO-SUCH-PAGE", 1);
    EXPECT_EQ(platform::narrow_to_wide("\x80"), u"\u20ac");
}

TEST(Utf8, RoundTripsEveryPlane)
{
    std::u16string wide = u"a\u00e9\u20ac\U0001F600z";
    std::string utf8 = platform::to_utf8(wide);
    EXPECT_EQ(utf8, "a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80z");
    EXPECT_EQ(platform::from_utf8(utf8), wide);
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters)
{
    EXPECT_EQ(platform::to_utf8(u"\xd800x"), "\xef\xbf\xbdx");
    EXPECT_EQ(platform::to_utf8(u"x\xdc00"), "x\xef\xbf\xbd");
    EXPECT_EQ(platform::from_utf8("\xc0\xaf"), u"\ufffd\ufffd");
    EXPECT_EQ(platform::from_utf8("\xe2\x82"), u"\ufffd");
    EXPECT_EQ(platform::from_utf8("\xed\xa0\x80"), u"\ufffd");
    EXPECT_EQ(platform::from_utf8("\xf4\x90\x80\x80"), u"\ufffd");
    EXPECT_EQ(platform::from_utf8("a\xff"
                                  "b"),
        u"a\ufffdb");
}

TEST(LetterCase, FoldsLatinGreekAndCyrillic)
{
    EXPECT_EQ(
        platform::to_lower(u"ABC xyz \u00c9\u00d7\u0178 \u0100\u0139 \u0391\u03a9 \u0401\u0416"),
        u"abc xyz \u00e9\u00d7\u00ff \u0101\u013a \u03b1\u03c9 \u0451\u0436");
    EXPECT_TRUE(platform::equal_ignoring_case(u"Commands.XML", u"commands.xml"));
    EXPECT_FALSE(platform::equal_ignoring_case(u"commands", u"command"));
}

TEST(Utf8, EveryLengthOfSequenceAndLoneSurrogatesInside)
{
    EXPECT_EQ(to_utf8(u"a\u00E9\u20AC\U0001F600"), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    std::u16string lone { u'x', char16_t(0xD800), u'y' };
    EXPECT_EQ(to_utf8(lone), "x\xEF\xBF\xBDy");
}
