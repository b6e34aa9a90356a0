#include "liba/TextOStream.h"

#include <gtest/gtest.h>

namespace {

class Collector final : public liba::TextOStream<char16_t> {
public:
    void write(const char16_t* begin, const char16_t* end) override { text.append(begin, end); }
    void flush() override { }

    std::u16string text;
};

} // namespace

TEST(TextOStream, OperatorsChainAndAddNoLineEndings)
{
    Collector out;
    std::u16string name = u"Document::play";
    out << name << u" " << 0 << u" " << -3.0 << u'\n';
    EXPECT_EQ(out.text, u"Document::play 0 -3.000000\n");
}

TEST(TextOStream, NarrowTextGoesThroughTheCodePageOneCharacterPerByte)
{
    Collector out;
    out << "\x80 caf\xe9" << ' ' << '\x9c';
    EXPECT_EQ(out.text, u"\u20ac caf\u00e9 \u0153");
}

TEST(TextOStream, NullAndEmptyTextsWriteNothing)
{
    Collector out;
    out << static_cast<const char16_t*>(nullptr) << static_cast<const char*>(nullptr) << u""
        << std::u16string();
    EXPECT_EQ(out.text, u"");
}
