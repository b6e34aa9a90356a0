#include "platform/graphics/ImageDecoder.h"
#include "platform/LittleEndian.h"
#include "platform/graphics/PngWriter.h"
#include "tests/platform/graphics/ImageFiles.h"
#include "tests/support/LargestAllocation.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

using namespace platform;

namespace {

Bitmap sample()
{
    Bitmap bitmap(3, 2);
    bitmap.set_pixel(0, 0, make_color(255, 0, 0));
    bitmap.set_pixel(1, 0, make_color(0, 255, 0, 128));
    bitmap.set_pixel(2, 0, make_color(0, 0, 255, 0));
    bitmap.set_pixel(0, 1, make_color(10, 20, 30));
    bitmap.set_pixel(1, 1, make_color(40, 50, 60));
    bitmap.set_pixel(2, 1, make_color(70, 80, 90));
    return bitmap;
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// Rewrites the IHDR width of a PNG file, with a matching checksum.
void set_png_width(std::vector<std::uint8_t>& png, std::uint32_t width)
{
    // Signature (8), chunk length (4), "IHDR" (4), then the width.
    for (int i = 0; i < 4; ++i)
        png[16 + i] = std::uint8_t(width >> (24 - 8 * i));
    std::uint32_t crc = crc32(png.data() + 12, 17);
    for (int i = 0; i < 4; ++i)
        png[29 + i] = std::uint8_t(crc >> (24 - 8 * i));
}

} // namespace

TEST(ImageDecoder, PngRoundTripKeepsColoursAndAlpha)
{
    Bitmap original = sample();
    std::vector<std::uint8_t> png = encode_png(original);
    ASSERT_FALSE(png.empty());
    auto decoded = decode_image(png.data(), png.size(), ImageType::Png);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->size(), original.size());
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            if (alpha_of(original.pixel(x, y)) == 0)
                EXPECT_EQ(alpha_of(decoded->pixel(x, y)), 0);
            else
                EXPECT_EQ(decoded->pixel(x, y), original.pixel(x, y)) << x << "," << y;
        }
    }
}

TEST(ImageDecoder, RefusesDamagedTruncatedAndOversizedPngs)
{
    std::vector<std::uint8_t> png = encode_png(sample());
    std::vector<std::uint8_t> truncated(png.begin(), png.begin() + std::ptrdiff_t(png.size() / 2));
    EXPECT_FALSE(decode_image(truncated.data(), truncated.size(), ImageType::Png));
    std::vector<std::uint8_t> garbage(100, 0x42);
    EXPECT_FALSE(decode_image(garbage.data(), garbage.size(), ImageType::Png));
    EXPECT_FALSE(decode_image(nullptr, 0, ImageType::Png));

    std::vector<std::uint8_t> wide = png;
    set_png_width(wide, MAX_IMAGE_SIDE + 1);
    EXPECT_FALSE(decode_image(wide.data(), wide.size(), ImageType::Png));
}

TEST(ImageDecoder, DecodesBmpAndGifThroughTheirOwnLoaderOnly)
{
    Bitmap original = sample();
    std::vector<std::uint8_t> bmp = test_images::make_bmp24(original);
    auto decoded = decode_image(bmp.data(), bmp.size(), ImageType::Bmp);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->size(), original.size());
    EXPECT_EQ(decoded->pixel(0, 0), make_color(255, 0, 0));
    EXPECT_EQ(decoded->pixel(2, 1), make_color(70, 80, 90));
    // 24-bit BMPs have no alpha: the half-transparent pixel arrives opaque.
    EXPECT_EQ(decoded->pixel(1, 0), make_color(0, 255, 0));

    std::vector<std::uint8_t> gif = test_images::make_gif_red_and_transparent();
    auto animation = decode_image(gif.data(), gif.size(), ImageType::Gif);
    ASSERT_TRUE(animation);
    ASSERT_EQ(animation->size(), (Size { 2, 1 }));
    EXPECT_EQ(animation->pixel(0, 0), make_color(255, 0, 0));
    EXPECT_EQ(alpha_of(animation->pixel(1, 0)), 0);

    // The type decides the decoder, never the bytes.
    EXPECT_FALSE(decode_image(bmp.data(), bmp.size(), ImageType::Gif));
    EXPECT_FALSE(decode_image(gif.data(), gif.size(), ImageType::Jpeg));
    EXPECT_FALSE(decode_image(bmp.data(), bmp.size(), ImageType::Png));
}

TEST(ImageDecoder, RefusesOversizedAndShortBmps)
{
    Bitmap small(2, 2, make_color(1, 2, 3));
    std::vector<std::uint8_t> huge = test_images::make_bmp24(small, MAX_IMAGE_SIDE + 1, 2);
    EXPECT_FALSE(decode_image(huge.data(), huge.size(), ImageType::Bmp));
    std::vector<std::uint8_t> bmp = test_images::make_bmp24(small);
    EXPECT_FALSE(decode_image(bmp.data(), 30, ImageType::Bmp));
}

TEST(PngWriter, WritesAFileThatDecodesBack)
{
    TempDirectory temp;
    std::filesystem::path path = temp.native("writer-test.png");
    ASSERT_TRUE(write_png(sample(), path.string()));
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(
        (std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    auto decoded = decode_image(bytes.data(), bytes.size(), ImageType::Png);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pixel(0, 1), make_color(10, 20, 30));

    EXPECT_FALSE(write_png(sample(), "/nonexistent-folder/out.png"));
    EXPECT_FALSE(write_png(Bitmap(), path.string()));
}

TEST(ImageDecoder, DecodesJpegAndRefusesLiesAboutGifFrames)
{
    // The fuzzing seed: one type byte, then an 8 x 8 JPEG of one colour.
    std::ifstream in(RINGWISE_SOURCE_DIR "/fuzz/corpus/image/jpeg", std::ios::binary);
    std::vector<std::uint8_t> bytes(
        (std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 1u);
    auto decoded = decode_image(bytes.data() + 1, bytes.size() - 1, ImageType::Jpeg);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->size(), (Size { 8, 8 }));
    EXPECT_NEAR(red_of(decoded->pixel(4, 4)), 0x30, 8);
    EXPECT_NEAR(blue_of(decoded->pixel(4, 4)), 0xC0, 8);

    std::vector<std::uint8_t> gif = test_images::make_gif_red_and_transparent();
    // The frame claims 60000 pixels of width inside a 2 x 1 screen.
    gif[32] = 0x60;
    gif[33] = 0xEA;
    EXPECT_FALSE(decode_image(gif.data(), gif.size(), ImageType::Gif));
}

namespace {

std::vector<std::uint8_t> read_seed(const std::string& name)
{
    std::ifstream in(RINGWISE_SOURCE_DIR "/fuzz/corpus/image/" + name, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

// A decoder may allocate the decoded image and a little more; a refused
// file of a few hundred bytes needs far less than this.
constexpr std::size_t SMALL_ALLOCATION = 1 << 20;

void expect_refused_without_large_allocation(
    const std::vector<std::uint8_t>& file, ImageType type, const std::string& what)
{
    test_support::LargestAllocation largest;
    EXPECT_FALSE(decode_image(file.data(), file.size(), type)) << what;
    if (largest.measured()) {
        EXPECT_LT(largest.bytes(), SMALL_ALLOCATION) << what;
    }
}

} // namespace

TEST(ImageDecoder, RefusesFuzzedHeadersBeforeTheLoaderAllocates)
{
    // Inputs the fuzzer found or that were made from its seeds: the type
    // byte first, then the file.
    const std::pair<const char*, ImageType> reproducers[] = {
        { "bmp_offset_beyond_file", ImageType::Bmp },
        { "jpeg_huge_frame", ImageType::Jpeg },
        { "jpeg_huge_progressive", ImageType::Jpeg },
        // Bytes the GIF loader skips, then a frame of 24 386 x 19 791.
        { "gif_frame_after_unknown_bytes", ImageType::Gif },
        // An empty graphic control extension, after which the loader and a
        // plain walk of sub-blocks part ways before that frame.
        { "gif_frame_after_empty_control_block", ImageType::Gif },
    };
    {
        // The measurement itself sees a decoder's large allocations.
        std::vector<std::uint8_t> large = test_images::make_bmp24(Bitmap(700, 700));
        test_support::LargestAllocation largest;
        ASSERT_TRUE(decode_image(large.data(), large.size(), ImageType::Bmp));
        if (largest.measured()) {
            EXPECT_GT(largest.bytes(), SMALL_ALLOCATION);
        }
    }
    for (auto [name, type] : reproducers) {
        std::vector<std::uint8_t> seed = read_seed(name);
        ASSERT_GT(seed.size(), 1u) << name;
        std::vector<std::uint8_t> file(seed.begin() + 1, seed.end());
        expect_refused_without_large_allocation(file, type, name);
    }
}

TEST(ImageDecoder, RefusesBmpHeadersThatPromiseMoreThanTheFileHolds)
{
    Bitmap small(2, 2, make_color(1, 2, 3));
    const std::vector<std::uint8_t> good = test_images::make_bmp24(small);
    ASSERT_TRUE(decode_image(good.data(), good.size(), ImageType::Bmp));

    struct Damage {
        const char* what;
        std::size_t at;
        std::uint32_t value;
    };
    const Damage damages[] = {
        { "pixel data far beyond the file", 10, 0x99000036 },
        { "pixel data one byte beyond the file", 10, std::uint32_t(good.size() + 1) },
        { "pixel data inside the headers", 10, 40 },
        { "unknown information header size", 14, 41 },
        { "information header larger than the file", 14, 124 },
        { "two planes", 26, 0x00180002 },
        { "bit count 7", 26, 0x00070001 },
        { "compression 4", 30, 4 },
        { "run-length data at 24 bits", 30, 1 },
        { "bit fields without room for the masks", 30, 3 },
        { "pixel size beyond the file", 34, 0x7FFFFFFF },
        { "negative width", 18, 0xFFFFFFFE },
        { "zero height", 22, 0 },
    };
    for (const Damage& damage : damages) {
        std::vector<std::uint8_t> file = good;
        if (damage.at + 4 <= file.size())
            platform::write_u32le(file.data() + damage.at, damage.value);
        expect_refused_without_large_allocation(file, ImageType::Bmp, damage.what);
    }
}

TEST(ImageDecoder, RefusesBmpPalettesOutsideTheGapBeforeThePixels)
{
    // An 8-bit picture of two pixels with a two-entry palette.
    std::vector<std::uint8_t> file;
    auto put16 = [&](std::uint16_t v) { platform::append_u16le(file, v); };
    auto put32 = [&](std::uint32_t v) { platform::append_u32le(file, v); };
    file = { 'B', 'M' };
    put32(14 + 40 + 8 + 4);
    put32(0);
    put32(14 + 40 + 8);
    put32(40);
    put32(2);
    put32(1);
    put16(1);
    put16(8);
    put32(0);
    put32(4);
    put32(2835);
    put32(2835);
    put32(2);
    put32(0);
    for (std::uint8_t b : { 0, 0, 255, 0, 0, 255, 0, 0 })
        file.push_back(b);
    for (std::uint8_t b : { 0, 1, 0, 0 })
        file.push_back(b);
    auto decoded = decode_image(file.data(), file.size(), ImageType::Bmp);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pixel(0, 0), make_color(255, 0, 0));
    EXPECT_EQ(decoded->pixel(1, 0), make_color(0, 255, 0));

    std::vector<std::uint8_t> more_colours = file;
    platform::write_u32le(more_colours.data() + 46, 3);
    expect_refused_without_large_allocation(more_colours, ImageType::Bmp, "3 colours in 8 bytes");
    std::vector<std::uint8_t> huge_palette = file;
    platform::write_u32le(huge_palette.data() + 46, 0x40000000);
    expect_refused_without_large_allocation(huge_palette, ImageType::Bmp, "a billion colours");
}

TEST(ImageDecoder, RefusesAnimationsWhoseFramesTogetherExceedOneLargestPicture)
{
    // Screen and frames of 8000 x 8000: one frame would fit, two do not.
    std::vector<std::uint8_t> gif = test_images::make_gif_red_and_transparent();
    const std::uint8_t side[2] = { 0x40, 0x1F };
    gif[6] = gif[32] = side[0];
    gif[7] = gif[33] = side[1];
    gif[8] = gif[34] = side[0];
    gif[9] = gif[35] = side[1];
    // The descriptor and its data again, before the trailer.
    std::vector<std::uint8_t> frame(gif.begin() + 27, gif.end() - 1);
    gif.insert(gif.end() - 1, frame.begin(), frame.end());
    expect_refused_without_large_allocation(gif, ImageType::Gif, "two 8000 x 8000 frames");
}
