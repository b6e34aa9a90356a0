#include "liba/StringTranslator.h"

#include "os/File.h"
#include "platform/LittleEndian.h"

#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

using liba::StringTranslator;

namespace {

std::string utf16_file(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text)
        platform::append_u16le(bytes, c);
    return bytes;
}

bool load(StringTranslator& translator, const std::u16string& path)
{
    os::File file(path, 0);
    return translator.load(file, path);
}

StringTranslator loaded(const std::u16string& path)
{
    StringTranslator translator;
    load(translator, path);
    return translator;
}

StringTranslator parsed(std::u16string_view text)
{
    StringTranslator translator;
    translator.parse(text);
    return translator;
}

} // namespace

TEST(StringTranslator, ReadsUtf16FilesWithTheirByteOrderMark)
{
    TempDirectory directory;
    directory.write("English.lng",
        utf16_file(u"Call_failed Call failed\r\nNot_recognized\t\u041d\u0435 "
                   u"\u043f\u043e\u043d\u044f\u0442\u043e\r\n"));
    StringTranslator translator = loaded(directory.wide("English.lng"));
    EXPECT_EQ(translator.path(), directory.wide("English.lng"));
    EXPECT_EQ(translator.translate(u"Call_failed", u"?"), u"Call failed");
    EXPECT_EQ(translator.translate(u"Not_recognized", u"?"),
        u"\u041d\u0435 \u043f\u043e\u043d\u044f\u0442\u043e");
    EXPECT_EQ(translator.translate(u"Absent", u"Absent"), u"Absent");
    EXPECT_EQ(translator.entries().size(), 2u);
}

TEST(StringTranslator, ReadsOtherFilesAsSingleByteTextOfTheCodePage)
{
    TempDirectory directory;
    // Even length without the mark, and odd length: both single-byte.
    directory.write("even.lng", "Caf\xe9 Caf\xe9 \x80\n");
    directory.write("odd.lng", "Key Value\n");
    directory.write("mark-odd.lng",
        "\xFF\xFE"
        "A B");
    EXPECT_EQ(loaded(directory.wide("even.lng")).translate(u"Caf\u00e9", u""), u"Caf\u00e9 \u20ac");
    EXPECT_EQ(loaded(directory.wide("odd.lng")).translate(u"Key", u""), u"Value");
    EXPECT_EQ(loaded(directory.wide("mark-odd.lng")).translate(u"\u00ff\u00feA", u""), u"B");
    EXPECT_EQ(StringTranslator::decode("\xFF"), u"\u00ff");
    EXPECT_EQ(StringTranslator::decode(""), u"");
    EXPECT_EQ(StringTranslator::decode("\xFF\xFE"), u"");
}

TEST(StringTranslator, EqualsFormKeepsLeadingSpacesAndValuesAreNotTrimmed)
{
    auto translator = parsed(u"Help_link= see the site  \n"
                             u"Plain    spaced value \t\n"
                             u"a=b c\n"
                             u"Empty=\n"
                             u"= orphan\n");
    EXPECT_EQ(translator.translate(u"Help_link", u""), u" see the site  ");
    EXPECT_EQ(translator.translate(u"Plain", u""), u"spaced value \t");
    // "=" inside the token belongs to the key.
    EXPECT_EQ(translator.translate(u"a=b", u""), u"c");
    EXPECT_EQ(translator.translate(u"Empty", u"x"), u"");
    EXPECT_EQ(translator.entries().count(u""), 0u);
    EXPECT_EQ(translator.entries().size(), 4u);
}

TEST(StringTranslator, CommentsBlankLinesAndRepeatedKeys)
{
    auto translator = parsed(u"// a comment line\n"
                             u"   \t  \r\n"
                             u"\n"
                             u"//Key not a key\n"
                             u"Key first\n"
                             u"  Key   second\r"
                             u"/ slash\n");
    EXPECT_EQ(translator.translate(u"Key", u""), u"second");
    EXPECT_EQ(translator.translate(u"/", u""), u"slash");
    EXPECT_EQ(translator.entries().size(), 2u);
}

TEST(StringTranslator, KeyAloneOnItsLineGetsAnEmptyValueAndKeepsTheNextLine)
{
    auto translator = parsed(u"Lonely\nNext value\nTrailing   \r\nLast");
    EXPECT_EQ(translator.translate(u"Lonely", u"x"), u"");
    EXPECT_EQ(translator.translate(u"Next", u""), u"value");
    EXPECT_EQ(translator.translate(u"Trailing", u"x"), u"");
    EXPECT_EQ(translator.translate(u"Last", u"x"), u"");
    EXPECT_EQ(parsed(u"//\nKey value").translate(u"Key", u""), u"value");
}

TEST(StringTranslator, FileThatCannotBeOpenedLeavesTheTableAsItWas)
{
    TempDirectory directory;
    directory.write("a.lng", "A first\n");
    StringTranslator translator = loaded(directory.wide("missing.lng"));
    EXPECT_TRUE(translator.entries().empty());
    EXPECT_TRUE(translator.path().empty());
    ASSERT_TRUE(load(translator, directory.wide("a.lng")));
    EXPECT_FALSE(load(translator, directory.wide("missing.lng")));
    EXPECT_FALSE(load(translator, directory.wide("")));
    EXPECT_EQ(translator.translate(u"A", u""), u"first");
    EXPECT_EQ(translator.path(), directory.wide("a.lng"));
}
