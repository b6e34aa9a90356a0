#include "skinner/Picture.h"
#include "platform/LittleEndian.h"
#include "platform/graphics/ImageDecoder.h"
#include "platform/graphics/TextRenderer.h"
#include "skinner/ElementProperties.h"
#include "skinner/FontRep.h"
#include "skinner/HDCSelector.h"
#include "skinner/StoredBmp.h"

#include "tests/platform/graphics/ImageFiles.h"
#include "tests/skinner/PictureFixture.h"

#include <gtest/gtest.h>

using namespace skinner;
using platform::Bitmap;
using platform::make_color;

namespace {

constexpr platform::Color WHITE = make_color(255, 255, 255);
constexpr platform::Color BLACK = make_color(0, 0, 0);

// A picture whose pixel at column x has blue value x (and green value y).
Bitmap numbered(int width, int height = 1)
{
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.set_pixel(x, y, make_color(0, y, x));
    return bitmap;
}

std::vector<int> blue_row(const Bitmap& bitmap, int y = 0)
{
    std::vector<int> row;
    for (int x = 0; x < bitmap.width(); ++x)
        row.push_back(platform::blue_of(bitmap.pixel(x, y)));
    return row;
}

Picture read_picture(Skin& skin, const std::u16string& name)
{
    return ElementProperties::control(skin, u"Form", u"ctl").picture(name, Picture());
}

} // namespace

TEST_F(PictureFixture, NinePartPictureKeepsBordersAndStretchesOrRepeatsTheMiddle)
{
    write_png("bar.png", numbered(10));
    skinc::Node control = skin_builder::node(u"ctl");
    control.properties.pictures.push_back(
        picture_property(u"Repeat", { 0, 0, 3, 0, 7, 1, 10, 1 }, 0, false));
    control.properties.pictures.push_back(
        picture_property(u"Stretch", { 0, 0, 3, 0, 7, 1, 10, 1 }, 0, true));
    auto skin = load(skin_with(control, { u"bar" }));
    ASSERT_TRUE(skin->is_valid());

    Bitmap stretched(30, 1, WHITE);
    platform::Canvas canvas(stretched);
    read_picture(*skin, u"Stretch").draw(canvas, { 0, 0, 30, 1 });
    std::vector<int> expected { 0, 1, 2 };
    for (int source : { 3, 4, 5, 6 })
        expected.insert(expected.end(), 6, source);
    expected.insert(expected.end(), { 7, 8, 9 });
    EXPECT_EQ(blue_row(stretched), expected);

    Bitmap repeated(30, 1, WHITE);
    platform::Canvas repeat_canvas(repeated);
    read_picture(*skin, u"Repeat").draw(repeat_canvas, { 0, 0, 30, 1 });
    expected = { 0, 1, 2 };
    for (int i = 0; i < 24; ++i)
        expected.push_back(3 + i % 4);
    expected.insert(expected.end(), { 7, 8, 9 });
    EXPECT_EQ(blue_row(repeated), expected);

    Picture picture = read_picture(*skin, u"Stretch");
    EXPECT_EQ(picture.minimum_size(), (platform::Size { 6, 0 }));
    EXPECT_EQ(picture.natural_size(), (platform::Size { 10, 1 }));
}

TEST_F(PictureFixture, PreScaledImagesAreUsedUnchangedAndOthersEnlarged)
{
    write_png("plain.png", numbered(4, 2));
    write_png("sharp.png", numbered(4, 2));
    Bitmap prescaled(8, 4, make_color(200, 0, 0));
    write_png("sharp_x2.png", prescaled);
    skinc::Node control = skin_builder::node(u"ctl");
    control.properties.pictures.push_back(
        picture_property(u"Plain", { 0, 0, 1, 1, 3, 2, 4, 2 }, 0));
    control.properties.pictures.push_back(
        picture_property(u"Sharp", { 0, 0, 1, 1, 3, 2, 4, 2 }, 1));
    auto skin = load(skin_with(control, { u"plain", u"sharp" }), 2);
    ASSERT_TRUE(skin->is_valid());
    ASSERT_EQ(skin->scale(), 2);

    Picture plain = read_picture(*skin, u"Plain");
    ASSERT_TRUE(plain.is_loaded());
    EXPECT_EQ(plain.image()->width(), 8);
    EXPECT_EQ(plain.image()->height(), 4);
    // Each source pixel became a 2 x 2 block.
    EXPECT_EQ(plain.image()->color().pixel(5, 3), make_color(0, 1, 2));
    EXPECT_TRUE(logged(u"bmp: Width=8 Height=4 bmBitsPixel=32 bmPlanes=1\n"));

    Picture sharp = read_picture(*skin, u"Sharp");
    ASSERT_TRUE(sharp.is_loaded());
    EXPECT_EQ(sharp.image()->width(), 8);
    EXPECT_EQ(sharp.image()->color().pixel(7, 3), make_color(200, 0, 0));

    // Coordinates are design units, doubled at scale 2.
    EXPECT_EQ(sharp.natural_size(), (platform::Size { 8, 4 }));
    EXPECT_EQ(sharp.minimum_size(), (platform::Size { 4, 2 }));
}

TEST_F(PictureFixture, MasksMakePixelsTransparentOrBlendAndDecideHits)
{
    Bitmap red(2, 1, make_color(200, 0, 0));
    Bitmap one_bit(2, 1, BLACK);
    one_bit.set_pixel(1, 0, WHITE);
    Bitmap grey(2, 1, make_color(128, 128, 128));
    grey.set_pixel(0, 0, BLACK);
    write_png("cut.png", red);
    write_png("cut_1.png", one_bit);
    write_png("soft.png", red);
    write_png("soft_8.png", grey);
    skinc::Node control = skin_builder::node(u"ctl");
    control.properties.pictures.push_back(picture_property(u"Cut", { 0, 0, 0, 0, 2, 1, 2, 1 }, 0));
    control.properties.pictures.push_back(picture_property(u"Soft", { 0, 0, 0, 0, 2, 1, 2, 1 }, 1));
    auto skin = load(skin_with(control, { u"cut", u"soft" }));
    ASSERT_TRUE(skin->is_valid());

    Picture cut = read_picture(*skin, u"Cut");
    Picture soft = read_picture(*skin, u"Soft");
    EXPECT_FALSE(cut.image()->alpha());
    EXPECT_TRUE(soft.image()->alpha());

    Bitmap target(2, 2, make_color(0, 100, 0));
    platform::Canvas canvas(target);
    cut.draw(canvas, { 0, 0, 2, 1 });
    soft.draw(canvas, { 0, 1, 2, 2 });
    EXPECT_EQ(target.pixel(0, 0), make_color(0, 100, 0));
    EXPECT_EQ(target.pixel(1, 0), make_color(200, 0, 0));
    EXPECT_EQ(target.pixel(0, 1), make_color(0, 100, 0));
    // 0 + (200 * 128 >> 8) = 100; 100 + (-100 * 128 >> 8) = 50.
    EXPECT_EQ(target.pixel(1, 1), make_color(100, 50, 0));

    platform::Rect where { 10, 10, 12, 11 };
    EXPECT_FALSE(cut.hit_test({ 10, 10 }, where));
    EXPECT_TRUE(cut.hit_test({ 11, 10 }, where));
    EXPECT_FALSE(cut.hit_test({ 12, 10 }, where));
    EXPECT_FALSE(soft.hit_test({ 10, 10 }, where));
    EXPECT_TRUE(soft.hit_test({ 11, 10 }, where));
}

TEST_F(PictureFixture, ArchiveEntriesComeBeforeFilesBesideTheSkin)
{
    Bitmap green(3, 2, make_color(0, 255, 0));
    Bitmap blue(3, 2, make_color(0, 0, 255));
    std::vector<std::uint8_t> bmp = test_images::make_bmp24(green);
    skin_builder::write_file(temp.native("logo.bmp.src"), bmp);
    write_png("logo.png", blue);

    skinc::Node control = skin_builder::node(u"ctl");
    control.properties.pictures.push_back(picture_property(u"Logo", { 0, 0, 0, 0, 3, 2, 3, 2 }, 0));
    skinc::SkinSource source = skin_with(control, { u"logo" });
    source.files.push_back({ temp.native("logo.bmp.src"), "logo.bmp" });
    auto skin = load(source, 1, true);
    ASSERT_TRUE(skin->is_valid());
    Picture logo = read_picture(*skin, u"Logo");
    ASSERT_TRUE(logo.is_loaded());
    EXPECT_EQ(logo.image()->color().pixel(2, 1), make_color(0, 255, 0));
}

TEST_F(PictureFixture, ArchiveBmpsTheDecoderRefusesAreReadDirectly)
{
    // An information header of 200 bytes: more than any the decoder knows.
    Bitmap image(3, 2, make_color(9, 8, 7));
    std::vector<std::uint8_t> bmp = test_images::make_bmp24(image);
    bmp.insert(bmp.begin() + 54, 160, 0);
    bmp[10] = 214;
    bmp[14] = 200;
    skin_builder::write_file(temp.native("odd.bmp.src"), bmp);

    skinc::Node control = skin_builder::node(u"ctl");
    control.properties.pictures.push_back(picture_property(u"Odd", { 0, 0, 0, 0, 3, 2, 3, 2 }, 0));
    skinc::SkinSource source = skin_with(control, { u"odd" });
    source.files.push_back({ temp.native("odd.bmp.src"), "odd.bmp" });
    auto skin = load(source, 1, true);
    ASSERT_TRUE(skin->is_valid());
    Picture odd = read_picture(*skin, u"Odd");
    ASSERT_TRUE(odd.is_loaded());
    EXPECT_EQ(odd.image()->color().pixel(1, 1), make_color(9, 8, 7));
    EXPECT_TRUE(logged(u"load_zipped_image: odd - 24\n"));
}

TEST_F(PictureFixture, AMissingPictureMakesTheSkinInvalid)
{
    skinc::Node control = skin_builder::node(u"ctl");
    auto skin = load(skin_with(control, { u"nowhere" }));
    EXPECT_FALSE(skin->is_valid());
    EXPECT_TRUE(logged(u"PropertiesImpl::PropertiesImpl picture failed to load {nowhere}\n"));
}

TEST_F(PictureFixture, PicturesAskedForByCodeCoverTheWholeImageAndAreShared)
{
    write_png("icon.png", numbered(5, 3));
    auto skin = load(skin_with(skin_builder::node(u"ctl"), {}));
    ASSERT_TRUE(skin->is_valid());
    Picture icon = Picture::load(*skin, u"icon");
    ASSERT_TRUE(icon.is_loaded());
    EXPECT_EQ(icon.natural_size(), (platform::Size { 5, 3 }));
    EXPECT_EQ(icon.minimum_size(), (platform::Size { 0, 0 }));
    EXPECT_EQ(Picture::load(*skin, u"icon").image(), icon.image());

    // Drawn larger, the whole image stretches.
    Bitmap target(10, 3, WHITE);
    platform::Canvas canvas(target);
    icon.draw(canvas, { 0, 0, 10, 3 });
    EXPECT_EQ(blue_row(target), (std::vector<int> { 0, 0, 1, 1, 2, 2, 3, 3, 4, 4 }));

    Picture missing = Picture::load(*skin, u"missing");
    EXPECT_FALSE(missing.is_empty());
    EXPECT_FALSE(missing.is_loaded());
    Bitmap untouched(4, 4, WHITE);
    platform::Canvas untouched_canvas(untouched);
    missing.draw(untouched_canvas, { 0, 0, 4, 4 });
    EXPECT_FALSE(missing.hit_test({ 1, 1 }, { 0, 0, 4, 4 }));
    EXPECT_EQ(untouched.pixel(1, 1), WHITE);
}

TEST(StoredBmp, ReadsPalettedAndTrueColourRowsInEitherDirection)
{
    Bitmap image(3, 2);
    image.set_pixel(0, 0, make_color(255, 0, 0));
    image.set_pixel(2, 1, make_color(1, 2, 3));
    std::vector<std::uint8_t> bmp = test_images::make_bmp24(image);
    std::uint32_t pixel_bytes = 0;
    auto read = read_stored_bmp(bmp.data(), bmp.size(), &pixel_bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->pixel(0, 0), make_color(255, 0, 0));
    EXPECT_EQ(read->pixel(2, 1), make_color(1, 2, 3));
    EXPECT_EQ(pixel_bytes, 2u * 12u);

    // The same rows read top-down (a negative height) come out flipped.
    std::vector<std::uint8_t> top_down = bmp;
    const std::uint8_t minus_two[] = { 0xFE, 0xFF, 0xFF, 0xFF };
    std::copy(std::begin(minus_two), std::end(minus_two), top_down.begin() + 22);
    auto flipped = read_stored_bmp(top_down.data(), top_down.size());
    ASSERT_TRUE(flipped);
    EXPECT_EQ(flipped->pixel(0, 1), make_color(255, 0, 0));
}

TEST(StoredBmp, ReadsFourBitPalettesAndSixteenBitPixels)
{
    using platform::append_u16le;
    using platform::append_u32le;
    // A 3 x 1 image of 4 bits per pixel: indices 1, 15, 0.
    std::vector<std::uint8_t> bmp { 'B', 'M' };
    append_u32le(bmp, 0);
    append_u32le(bmp, 0);
    append_u32le(bmp, 54 + 64);
    append_u32le(bmp, 40);
    append_u32le(bmp, 3);
    append_u32le(bmp, 1);
    append_u16le(bmp, 1);
    append_u16le(bmp, 4);
    for (int i = 0; i < 6; ++i)
        append_u32le(bmp, 0);
    for (int i = 0; i < 16; ++i)
        append_u32le(bmp, std::uint32_t(i * 16)); // blue = 16 i
    bmp.insert(bmp.end(), { 0x1F, 0x00, 0, 0 });
    auto four = read_stored_bmp(bmp.data(), bmp.size());
    ASSERT_TRUE(four);
    EXPECT_EQ(four->pixel(0, 0), make_color(0, 0, 16));
    EXPECT_EQ(four->pixel(1, 0), make_color(0, 0, 240));
    EXPECT_EQ(four->pixel(2, 0), make_color(0, 0, 0));

    // 16 bits, 5-5-5: pure red and white.
    std::vector<std::uint8_t> wide(bmp.begin(), bmp.begin() + 54);
    wide[10] = 54;
    wide[28] = 16;
    wide[18] = 2;
    append_u16le(wide, 0x7C00);
    append_u16le(wide, 0x7FFF);
    auto sixteen = read_stored_bmp(wide.data(), wide.size());
    ASSERT_TRUE(sixteen);
    EXPECT_EQ(sixteen->pixel(0, 0), make_color(255, 0, 0));
    EXPECT_EQ(sixteen->pixel(1, 0), WHITE);
}

TEST(StoredBmp, RefusesWhatTheBytesCannotHold)
{
    Bitmap image(4, 4, WHITE);
    std::vector<std::uint8_t> bmp = test_images::make_bmp24(image);
    EXPECT_FALSE(read_stored_bmp(bmp.data(), bmp.size() - 1));
    EXPECT_FALSE(read_stored_bmp(bmp.data(), 53));
    std::vector<std::uint8_t> huge = test_images::make_bmp24(image, 20000, 4);
    EXPECT_FALSE(read_stored_bmp(huge.data(), huge.size()));
    std::vector<std::uint8_t> odd_depth = bmp;
    odd_depth[28] = 7;
    EXPECT_FALSE(read_stored_bmp(odd_depth.data(), odd_depth.size()));
    std::vector<std::uint8_t> compressed = bmp;
    compressed[30] = 1;
    EXPECT_FALSE(read_stored_bmp(compressed.data(), compressed.size()));
    std::vector<std::uint8_t> pixels_before_header = bmp;
    pixels_before_header[10] = 20;
    EXPECT_FALSE(read_stored_bmp(pixels_before_header.data(), pixels_before_header.size()));
}

TEST_F(PictureFixture, RendersASkinnedPictureAndItsTextIntoAPng)
{
    // A 12 x 12 button face: a 4-pixel dark frame round a light middle.
    Bitmap face(12, 12, make_color(40, 40, 40));
    platform::Canvas face_canvas(face);
    face_canvas.fill_rect({ 4, 4, 8, 8 }, make_color(220, 220, 220));
    write_png("face.png", face);
    skinc::Node control = skin_builder::node(u"ctl");
    control.properties.pictures.push_back(
        picture_property(u"Normal", { 0, 0, 4, 4, 8, 8, 12, 12 }, 0));
    control.properties.fonts.push_back({ u"Normal", 0 });
    control.properties.colors.push_back({ u"Normal", { 200, 0, 0, 0 } });
    auto skin = load(skin_with(control, { u"face" }, { u"12 1 0 0 Tahoma" }));
    ASSERT_TRUE(skin->is_valid());

    StateLook look = ElementProperties::control(*skin, u"Form", u"ctl").look(u"Normal", nullptr);
    Bitmap screen(160, 60, WHITE);
    platform::Canvas canvas(screen);
    canvas.set_origin({ 10, 5 });
    platform::Rect button { 0, 0, 140, 50 };
    look.picture.draw(canvas, button);
    draw_text(canvas, look.font, u"Call", { 4, 4, 136, 46 },
        text_format(HAlignment::CENTER, VAlignment::VCENTER) | platform::TEXT_SINGLELINE,
        look.color);
    ASSERT_TRUE(platform::write_png(screen, temp.native("screen.png")));

    std::string bytes = temp.read("screen.png");
    auto saved = platform::decode_image(reinterpret_cast<const std::uint8_t*>(bytes.data()),
        bytes.size(), platform::ImageType::Png);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->pixel(0, 0), WHITE);
    EXPECT_EQ(saved->pixel(10, 5), make_color(40, 40, 40));
    EXPECT_EQ(saved->pixel(149, 54), make_color(40, 40, 40));
    // Red text ink lies only inside the text rectangle, around its centre.
    int left = 160, right = 0, inked = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 160; ++x) {
            platform::Color c = saved->pixel(x, y);
            if (platform::red_of(c) > platform::green_of(c) + 60) {
                ++inked;
                left = std::min(left, x);
                right = std::max(right, x);
                EXPECT_TRUE(x >= 14 && x < 146 && y >= 9 && y < 51) << x << "," << y;
            }
        }
    }
    EXPECT_GT(inked, 30);
    EXPECT_NEAR((left + right) / 2, 80, 4);
}

TEST(HDCSelector, ABitmapWithoutPixelsIsAFatalReport)
{
    platform::Bitmap bitmap(4, 4);
    HDCSelector selector(bitmap);
    selector.canvas().fill_rect({ 0, 0, 4, 4 }, WHITE);
    EXPECT_EQ(bitmap.pixel(3, 3), WHITE);

    EXPECT_EXIT(
        {
            platform::Bitmap empty;
            HDCSelector failing(empty);
        },
        testing::ExitedWithCode(70),
        "HDCSelector::HDCSelector: Failed to select bitmap into context");
}
