#include "platform/graphics/Canvas.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

constexpr Color WHITE = make_color(255, 255, 255);
constexpr Color BLACK = make_color(0, 0, 0);

// A one-row picture whose pixel x has blue value x, so that the drawn row
// shows which source column each destination column came from.
Bitmap numbered_row(int width)
{
    Bitmap bitmap(width, 1);
    for (int x = 0; x < width; ++x)
        bitmap.set_pixel(x, 0, make_color(0, 0, x));
    return bitmap;
}

std::vector<int> drawn_columns(const Bitmap& target)
{
    std::vector<int> columns;
    for (int x = 0; x < target.width(); ++x)
        columns.push_back(blue_of(target.pixel(x, 0)));
    return columns;
}

} // namespace

TEST(PictureAxis, BordersKeepTheirSizeAndTheMiddleStretchesOrRepeats)
{
    PictureAxis axis { 0, 3, 7, 10, true };
    std::vector<int> stretched;
    for (int p = 0; p < 30; ++p)
        stretched.push_back(axis.source(p, 0, 30));
    std::vector<int> expected_stretched { 0, 1, 2 };
    for (int source : { 3, 4, 5, 6 })
        expected_stretched.insert(expected_stretched.end(), 6, source);
    for (int source : { 7, 8, 9 })
        expected_stretched.push_back(source);
    EXPECT_EQ(stretched, expected_stretched);

    axis.stretch = false;
    std::vector<int> repeated;
    for (int p = 0; p < 30; ++p)
        repeated.push_back(axis.source(p, 0, 30));
    std::vector<int> expected_repeated { 0, 1, 2 };
    for (int i = 0; i < 24; ++i)
        expected_repeated.push_back(3 + i % 4);
    for (int s : { 7, 8, 9 })
        expected_repeated.push_back(s);
    EXPECT_EQ(repeated, expected_repeated);

    EXPECT_EQ(axis.minimum(), 6);
    EXPECT_EQ(axis.natural(), 10);
}

TEST(PictureAxis, PositionsOutsideTheSpanMapToNothing)
{
    PictureAxis axis { 0, 3, 7, 10, true };
    EXPECT_EQ(axis.source(9, 10, 40), -1);
    EXPECT_EQ(axis.source(40, 10, 40), -1);
    EXPECT_EQ(axis.source(10, 10, 40), 0);
    EXPECT_EQ(axis.source(39, 10, 40), 9);
}

TEST(PictureAxis, BelowTheMinimumTheFirstBorderWins)
{
    PictureAxis axis { 0, 3, 7, 10, true };
    // Four positions: three of the first border, then the last border's last pixel.
    std::vector<int> mapped;
    for (int p = 0; p < 4; ++p)
        mapped.push_back(axis.source(p, 0, 4));
    EXPECT_EQ(mapped, (std::vector<int> { 0, 1, 2, 9 }));
}

TEST(PictureAxis, AnEmptyMiddleMapsToColumnZero)
{
    PictureAxis stretched { 4, 6, 6, 8, true };
    PictureAxis repeated { 4, 6, 6, 8, false };
    EXPECT_EQ(stretched.source(5, 0, 20), 0);
    EXPECT_EQ(repeated.source(5, 0, 20), 0);
    EXPECT_EQ(repeated.source(1, 0, 20), 5);
    EXPECT_EQ(repeated.source(19, 0, 20), 7);
}

TEST(PictureAxis, DisorderedCoordinatesAreRaisedIntoOrder)
{
    PictureAxis axis = PictureAxis { 5, 2, 9, 7, true }.normalized();
    EXPECT_EQ(axis.x1, 5);
    EXPECT_EQ(axis.x2, 9);
    EXPECT_EQ(axis.x3, 9);
}

TEST(Canvas, DrawsANinePartRowPixelExact)
{
    Bitmap picture = numbered_row(10);
    Bitmap target(30, 1, WHITE);
    Canvas canvas(target);
    canvas.draw_picture(
        picture, nullptr, { 0, 0, 30, 1 }, { 0, 3, 7, 10, false }, { 0, 0, 1, 1, true });
    std::vector<int> columns = drawn_columns(target);
    EXPECT_EQ(std::vector<int>(columns.begin(), columns.begin() + 7),
        (std::vector<int> { 0, 1, 2, 3, 4, 5, 6 }));
    EXPECT_EQ(std::vector<int>(columns.end() - 3, columns.end()), (std::vector<int> { 7, 8, 9 }));
    EXPECT_EQ(columns[26], 6);
    EXPECT_EQ(alpha_of(target.pixel(0, 0)), 255);
}

TEST(Canvas, OriginAndClipLimitWhatIsDrawn)
{
    Bitmap target(10, 10, WHITE);
    Canvas canvas(target);
    canvas.set_origin({ 2, 3 });
    canvas.intersect_clip({ 0, 0, 4, 4 });
    EXPECT_EQ(canvas.clip(), (Rect { 2, 3, 6, 7 }));
    canvas.fill_rect({ -5, -5, 20, 20 }, BLACK);
    int black = 0;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            bool inside = x >= 2 && x < 6 && y >= 3 && y < 7;
            EXPECT_EQ(target.pixel(x, y) == BLACK, inside) << x << "," << y;
            black += target.pixel(x, y) == BLACK;
        }
    }
    EXPECT_EQ(black, 16);

    canvas.set_clip({ -100, -100, 100, 100 });
    EXPECT_EQ(canvas.clip(), (Rect { 0, 0, 10, 10 }));
}

TEST(Canvas, OneBitMaskLeavesZeroPixelsOut)
{
    Bitmap picture(2, 1, make_color(10, 20, 30));
    Mask mask(2, 1, 1);
    mask.set_value(1, 0, 1);
    Bitmap target(2, 1, WHITE);
    Canvas canvas(target);
    canvas.draw_picture(picture, &mask, { 0, 0, 2, 1 }, { 0, 0, 2, 2 }, { 0, 0, 1, 1 });
    EXPECT_EQ(target.pixel(0, 0), WHITE);
    EXPECT_EQ(target.pixel(1, 0), make_color(10, 20, 30));
}

TEST(Canvas, AlphaMaskBlendsWithAnArithmeticShift)
{
    Bitmap picture(4, 1);
    picture.set_pixel(0, 0, make_color(200, 100, 0));
    picture.set_pixel(1, 0, make_color(200, 100, 0));
    picture.set_pixel(2, 0, make_color(200, 100, 0));
    picture.set_pixel(3, 0, make_color(200, 100, 0));
    Mask mask(4, 1, 8);
    mask.set_value(0, 0, 0);
    mask.set_value(1, 0, 1);
    mask.set_value(2, 0, 128);
    mask.set_value(3, 0, 255);
    Bitmap target(4, 1, make_color(100, 200, 100));
    Canvas canvas(target);
    canvas.draw_picture(picture, &mask, { 0, 0, 4, 1 }, { 0, 0, 4, 4 }, { 0, 0, 1, 1 });
    EXPECT_EQ(target.pixel(0, 0), make_color(100, 200, 100));
    // (100 * 1) >> 8 = 0; (-100 * 1) >> 8 = -1; (-100 * 1) >> 8 = -1.
    EXPECT_EQ(target.pixel(1, 0), make_color(100, 199, 99));
    EXPECT_EQ(target.pixel(2, 0), make_color(150, 150, 50));
    // Full alpha stops one short of the source where the source is higher.
    EXPECT_EQ(target.pixel(3, 0), make_color(199, 100, 0));
}

TEST(Canvas, PictureCoordinatesBeyondTheImageDrawNothing)
{
    Bitmap picture = numbered_row(4);
    Bitmap target(8, 1, WHITE);
    Canvas canvas(target);
    canvas.draw_picture(picture, nullptr, { 0, 0, 8, 1 }, { 0, 0, 8, 8 }, { 0, 0, 1, 1 });
    EXPECT_EQ(blue_of(target.pixel(3, 0)), 3);
    EXPECT_EQ(target.pixel(4, 0), WHITE);
    EXPECT_EQ(target.pixel(7, 0), WHITE);
}

TEST(Bitmap, EnlargesColourAndMasksByWholeFactors)
{
    Bitmap bitmap(2, 1);
    bitmap.set_pixel(0, 0, make_color(1, 2, 3));
    bitmap.set_pixel(1, 0, make_color(4, 5, 6));
    Bitmap big = bitmap.enlarged(3);
    ASSERT_EQ(big.size(), (Size { 6, 3 }));
    EXPECT_EQ(big.pixel(2, 2), make_color(1, 2, 3));
    EXPECT_EQ(big.pixel(3, 0), make_color(4, 5, 6));

    Mask mask = Mask::from_brightness(bitmap, 8).enlarged(2);
    EXPECT_EQ(mask.depth(), 8);
    EXPECT_EQ(mask.width(), 4);
    EXPECT_EQ(mask.value(3, 1), brightness_of(make_color(4, 5, 6)));
}

TEST(Mask, BrightnessIsOpacity)
{
    Bitmap image(3, 1);
    image.set_pixel(0, 0, BLACK);
    image.set_pixel(1, 0, WHITE);
    image.set_pixel(2, 0, make_color(77, 77, 77));
    Mask one = Mask::from_brightness(image, 1);
    EXPECT_FALSE(one.is_visible(0, 0));
    EXPECT_TRUE(one.is_visible(1, 0));
    EXPECT_FALSE(one.is_visible(2, 0));
    Mask eight = Mask::from_brightness(image, 8);
    EXPECT_EQ(eight.value(0, 0), 0);
    EXPECT_EQ(eight.value(1, 0), 255);
    EXPECT_EQ(eight.value(2, 0), 77);
}
