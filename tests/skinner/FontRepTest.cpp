#include "skinner/FontRep.h"

#include "platform/graphics/TextRenderer.h"

#include "tests/os/LogFixture.h"

#include <gtest/gtest.h>

using namespace skinner;

using FontRepTest = LogFixture;

TEST_F(FontRepTest, HeightWeightAndFaceFollowTheDescription)
{
    set_log_switch(1);
    FontDescription description = FontDescription::parse(u"14 1 0 0 Tahoma", 2);
    const FontRep& font = FontRep::find(description);
    EXPECT_EQ(font.height(), -37);
    EXPECT_EQ(font.weight(), 700);
    EXPECT_EQ(font.face(), u"Tahoma");
    EXPECT_FALSE(font.font().is_empty());
    EXPECT_EQ(font.font().pixel_size(), 37);

    std::string log = log_bytes();
    EXPECT_NE(
        log.find(log_file_of(u"dpiy=96 log_font.lfHeight=-37\n").substr(2)), std::string::npos);

    FontDescription plain = FontDescription::parse(u"9", 1);
    EXPECT_EQ(FontRep::find(plain).height(), -12);
    EXPECT_EQ(FontRep::find(plain).weight(), 400);
}

TEST(FontRep, LongFaceNamesAreCutAndTheCacheKeepsOneFontPerDescription)
{
    FontDescription description;
    description.face = std::u16string(40, u'x');
    const FontRep& first = FontRep::find(description);
    EXPECT_EQ(first.face().size(), 31u);
    // An unknown face still gets the nearest installed one.
    EXPECT_FALSE(first.font().is_empty());
    EXPECT_EQ(&FontRep::find(description), &first);

    FontDescription other = description;
    other.italic = true;
    EXPECT_NE(&FontRep::find(other), &first);
}

TEST(FontRep, CacheOrdersByScaleThenSizeFlagsAndFace)
{
    FontDescription small_scale2;
    small_scale2.scale = 2;
    small_scale2.size = 8;
    FontDescription large_scale1;
    large_scale1.scale = 1;
    large_scale1.size = 30;
    EXPECT_TRUE(font_order(large_scale1, small_scale2));
    EXPECT_FALSE(font_order(small_scale2, large_scale1));

    FontDescription bold = large_scale1;
    bold.bold = true;
    FontDescription italic = large_scale1;
    italic.italic = true;
    EXPECT_TRUE(font_order(italic, bold));
    FontDescription arial = large_scale1;
    arial.face = u"Arial";
    EXPECT_TRUE(font_order(arial, large_scale1));
    EXPECT_FALSE(font_order(arial, arial));
}

TEST(FontRep, AbsurdSizesGiveAUsableFont)
{
    FontDescription huge;
    huge.size = 2000000000;
    huge.scale = 4;
    const FontRep& font = FontRep::find(huge);
    EXPECT_LT(font.height(), 0);
    EXPECT_LE(font.font().pixel_size(), platform::MAX_FONT_PIXELS);
    EXPECT_GT(platform::measure_text(font.font(), u"W").width, 0);
}
