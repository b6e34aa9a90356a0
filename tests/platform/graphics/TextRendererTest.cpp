#include "platform/graphics/TextRenderer.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace platform;

namespace {

constexpr Color WHITE = make_color(255, 255, 255);

Font font_of(int height, int weight = 400)
{
    return Font::create({ u"Tahoma", height, weight, false, false });
}

// The smallest rectangle holding every pixel that differs from `background`.
Rect inked_area(const Bitmap& bitmap, Color background)
{
    Rect area { bitmap.width(), bitmap.height(), 0, 0 };
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            if (bitmap.pixel(x, y) == background)
                continue;
            area.left = std::min(area.left, x);
            area.top = std::min(area.top, y);
            area.right = std::max(area.right, x + 1);
            area.bottom = std::max(area.bottom, y + 1);
        }
    }
    return area;
}

} // namespace

TEST(Font, IsMadeWithTheAskedPixelHeightAndWeight)
{
    Font font = font_of(-37, 700);
    ASSERT_FALSE(font.is_empty());
    EXPECT_EQ(font.pixel_size(), 37);
    EXPECT_EQ(font.weight(), 700);
    EXPECT_FALSE(font.family().empty());

    // Absurd heights are reduced instead of making giant glyphs.
    EXPECT_EQ(font_of(-2000000000).pixel_size(), MAX_FONT_PIXELS);
    EXPECT_EQ(font_of(0).pixel_size(), DEFAULT_FONT_PIXELS);
}

TEST(Font, APositiveHeightIsTheLineHeight)
{
    Font font = font_of(30);
    ASSERT_FALSE(font.is_empty());
    EXPECT_LT(font.pixel_size(), 30);
    EXPECT_NEAR(measure_text(font, u"Hg").height, 30, 2);
}

TEST(TextRenderer, MeasuresGrowWithTextSizeAndWeight)
{
    Font regular = font_of(-20);
    Font bold = font_of(-20, 700);
    Font large = font_of(-40);
    Size one = measure_text(regular, u"Voice");
    Size two = measure_text(regular, u"Voice dialer");
    EXPECT_GT(one.width, 0);
    EXPECT_GT(two.width, one.width);
    EXPECT_EQ(two.height, one.height);
    EXPECT_GT(measure_text(bold, u"Voice dialer").width, two.width);
    EXPECT_GT(measure_text(large, u"Voice").height, one.height * 3 / 2);
    EXPECT_EQ(measure_text(regular, u"").width, 0);

    Size wrapped = measure_text(regular, u"one two three four five six", one.width * 2);
    EXPECT_LE(wrapped.width, one.width * 2);
    EXPECT_GE(wrapped.height, one.height * 2);
}

TEST(TextRenderer, AlignmentPlacesTextInsideItsRectangle)
{
    Font font = font_of(-16);
    Rect box { 20, 10, 220, 60 };
    struct Case {
        unsigned format;
        const char* name;
    };
    for (Case c :
        { Case { TEXT_LEFT | TEXT_TOP, "left top" }, Case { TEXT_CENTER | TEXT_VCENTER, "centre" },
            Case { TEXT_RIGHT | TEXT_BOTTOM, "right bottom" } }) {
        Bitmap bitmap(240, 80, WHITE);
        Canvas canvas(bitmap);
        draw_text(canvas, font, u"Call", box, c.format | TEXT_SINGLELINE, make_color(0, 0, 0));
        Rect ink = inked_area(bitmap, WHITE);
        ASSERT_FALSE(ink.is_empty()) << c.name;
        EXPECT_EQ(ink.intersected(box), ink) << c.name;
        if (c.format & TEXT_CENTER) {
            EXPECT_NEAR((ink.left + ink.right) / 2, (box.left + box.right) / 2, 3) << c.name;
            EXPECT_NEAR((ink.top + ink.bottom) / 2, (box.top + box.bottom) / 2, 4) << c.name;
        } else if (c.format & TEXT_RIGHT) {
            EXPECT_NEAR(ink.right, box.right, 3) << c.name;
            EXPECT_NEAR(ink.bottom, box.bottom, 6) << c.name;
        } else {
            EXPECT_NEAR(ink.left, box.left, 3) << c.name;
            EXPECT_NEAR(ink.top, box.top, 6) << c.name;
        }
    }
}

TEST(TextRenderer, LeftStaysLeftForRightToLeftText)
{
    Font font = font_of(-16);
    Bitmap bitmap(300, 40, WHITE);
    Canvas canvas(bitmap);
    draw_text(canvas, font, u"\u05E9\u05DC\u05D5\u05DD", { 0, 0, 300, 40 },
        TEXT_LEFT | TEXT_WORDBREAK, make_color(0, 0, 0));
    Rect ink = inked_area(bitmap, WHITE);
    ASSERT_FALSE(ink.is_empty());
    EXPECT_LT(ink.left, 10);
    EXPECT_LT(ink.right, 150);
}

TEST(TextRenderer, ClipsToTheRectangleUnlessAskedNotTo)
{
    Font font = font_of(-20);
    Rect narrow { 10, 10, 40, 40 };
    Bitmap clipped(300, 60, WHITE);
    Canvas canvas(clipped);
    draw_text(canvas, font, u"A rather long line", narrow, TEXT_LEFT | TEXT_SINGLELINE,
        make_color(0, 0, 0));
    Rect ink = inked_area(clipped, WHITE);
    EXPECT_FALSE(ink.is_empty());
    EXPECT_EQ(ink.intersected(narrow), ink);

    Bitmap unclipped(300, 60, WHITE);
    Canvas free_canvas(unclipped);
    draw_text(free_canvas, font, u"A rather long line", narrow,
        TEXT_LEFT | TEXT_SINGLELINE | TEXT_NOCLIP, make_color(0, 0, 0));
    EXPECT_GT(inked_area(unclipped, WHITE).right, narrow.right + 50);

    // The canvas clip holds even with TEXT_NOCLIP.
    Bitmap limited(300, 60, WHITE);
    Canvas limited_canvas(limited);
    limited_canvas.intersect_clip({ 0, 0, 100, 60 });
    draw_text(
        limited_canvas, font, u"A rather long line", narrow, TEXT_NOCLIP, make_color(0, 0, 0));
    EXPECT_LE(inked_area(limited, WHITE).right, 100);
}

TEST(TextRenderer, DrawsInTheColourRelativeToTheOrigin)
{
    Font font = font_of(-24, 700);
    Bitmap bitmap(120, 60, WHITE);
    Canvas canvas(bitmap);
    canvas.set_origin({ 50, 20 });
    draw_text(canvas, font, u"Hi", { 0, 0, 60, 30 }, TEXT_LEFT | TEXT_TOP, make_color(255, 0, 0));
    Rect ink = inked_area(bitmap, WHITE);
    EXPECT_GE(ink.left, 50);
    EXPECT_GE(ink.top, 20);
    bool saturated = false;
    for (int y = ink.top; y < ink.bottom; ++y) {
        for (int x = ink.left; x < ink.right; ++x) {
            Color c = bitmap.pixel(x, y);
            EXPECT_EQ(red_of(c), 255);
            saturated |= green_of(c) < 20 && blue_of(c) < 20;
        }
    }
    EXPECT_TRUE(saturated);
}

TEST(TextRenderer, DrawsOnTransparentBitmapsWithStraightColours)
{
    Font font = font_of(-24, 700);
    Bitmap bitmap(80, 40, make_color(0, 0, 0, 0));
    Canvas canvas(bitmap);
    draw_text(
        canvas, font, u"Hi", { 0, 0, 80, 40 }, TEXT_CENTER | TEXT_VCENTER, make_color(0, 0, 255));
    int covered = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 80; ++x) {
            Color c = bitmap.pixel(x, y);
            if (alpha_of(c) < 64)
                continue;
            ++covered;
            EXPECT_GE(blue_of(c), 250);
            EXPECT_LE(red_of(c), 5);
        }
    }
    EXPECT_GT(covered, 20);
}

TEST(TextRenderer, AnEmptyFontDrawsInTheSystemFont)
{
    Bitmap bitmap(100, 30, WHITE);
    Canvas canvas(bitmap);
    draw_text(
        canvas, Font(), u"OK", { 0, 0, 100, 30 }, TEXT_CENTER | TEXT_VCENTER, make_color(0, 0, 0));
    EXPECT_FALSE(inked_area(bitmap, WHITE).is_empty());
    EXPECT_GT(measure_text(Font(), u"OK").width, 0);
}
