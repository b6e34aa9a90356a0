#include "platform/LittleEndian.h"
#include "skinner/PropertiesImpl.h"
#include "skinner/Skin.h"

#include "SkinBuilder.h"

using namespace skin_builder;
using skinner::Point;
using skinner::Skin;
using skinner::SkinDevice;
namespace format = skinner::format;

namespace {

const SkinDevice pocket_pc {};
const SkinDevice smartphone { true, false };

// The header alone: a 540-byte description whose variant tree lies in the
// unused design-size entries (68 zero bytes: a node without name links or
// properties).
std::vector<std::uint8_t> header_alone(const skinc::SkinSource& source)
{
    constexpr std::uint32_t unused_entries
        = format::HEADER_DESIGN_SIZES + 4 * format::DESIGN_SIZE_RECORD;
    return skinc::write_header(source, unused_entries, 0, 0);
}

} // namespace

TEST(SkinHeader, DescriptionShorterThanTheHeaderIsInvalidWhateverItHolds)
{
    TempDirectory directory;
    auto bytes = description(skin());
    bytes.resize(539);
    Skin skin(write(directory, "short.skin", bytes), { 480, 640 }, pocket_pc);
    EXPECT_FALSE(skin.is_valid());
    EXPECT_FALSE(skin.check_version(u"Ringwise_1.0", { 0, 0 }));
    EXPECT_FALSE(skin.has_form(u"Form"));
}

TEST(SkinHeader, WellFormedHeaderAloneIsValidAndFindsNoForm)
{
    TempDirectory directory;
    auto bytes = header_alone(skin());
    ASSERT_EQ(bytes.size(), 540u);
    Skin skin(write(directory, "header.skin", bytes), { 480, 640 }, pocket_pc);
    EXPECT_TRUE(skin.is_valid());
    EXPECT_TRUE(skin.check_version(u"Ringwise_1.0", { 480, 640 }));
    EXPECT_FALSE(skin.has_form(u"Form"));
    EXPECT_FALSE(skin.has_node(u"", u"Anything"));
}

TEST(SkinHeader, TreeOffsetsOutsideTheDescriptionMakeItInvalid)
{
    TempDirectory directory;
    auto check = [&](std::uint32_t field, std::uint32_t value) {
        auto bytes = header_alone(skin());
        put32(bytes, field, value);
        return Skin(write(directory, "tree.skin", bytes), { 480, 640 }, pocket_pc).is_valid();
    };
    EXPECT_FALSE(check(format::HEADER_VARIANT_TREE, 0));
    EXPECT_FALSE(check(format::HEADER_VARIANT_TREE, 540 - 67)); // a node's 68 bytes do not fit
    EXPECT_TRUE(check(format::HEADER_VARIANT_TREE, 540 - 68));
    EXPECT_FALSE(check(format::HEADER_VARIANT_TREE, 0xFFFFFFF0));
    EXPECT_FALSE(check(format::HEADER_KIND_TREE, 600));
    EXPECT_TRUE(check(format::HEADER_KIND_TREE, 0));
}

TEST(SkinHeader, NameListRunningPastTheEndMakesItInvalid)
{
    TempDirectory directory;
    auto source = skin();
    source.pictures = { u"back" };
    source.fonts = { u"14 1 0 0 Tahoma" };
    auto bytes = description(source);
    EXPECT_TRUE(Skin(write(directory, "good.skin", bytes), { 480, 640 }, pocket_pc).is_valid());

    put32(bytes, format::HEADER_FONT_COUNT, 0x7FFFFFFF);
    EXPECT_FALSE(Skin(write(directory, "counts.skin", bytes), { 480, 640 }, pocket_pc).is_valid());
    put32(bytes, format::HEADER_FONT_COUNT, 1);
    put32(bytes, format::HEADER_NAME_LIST, static_cast<std::uint32_t>(bytes.size()) - 1);
    EXPECT_FALSE(Skin(write(directory, "list.skin", bytes), { 480, 640 }, pocket_pc).is_valid());
}

TEST(SkinHeader, TextFieldsNeedTheirTerminatorAndNothingAfterIt)
{
    TempDirectory directory;
    for (std::uint32_t field : { format::HEADER_VERSION, format::HEADER_DEVICES }) {
        auto unterminated = header_alone(skin());
        for (std::uint32_t i = 0; i < 32; ++i)
            platform::write_u16le(&unterminated[field + 2 * i], u'R');
        EXPECT_FALSE(Skin(write(directory, "a.skin", unterminated), { 0, 0 }, pocket_pc).is_valid())
            << field;

        auto dirty = header_alone(skin());
        platform::write_u16le(&dirty[field + 2 * 31], u'x');
        EXPECT_FALSE(Skin(write(directory, "b.skin", dirty), { 0, 0 }, pocket_pc).is_valid())
            << field;

        auto full = header_alone(skin());
        for (std::uint32_t i = 0; i < 31; ++i)
            platform::write_u16le(&full[field + 2 * i], u'P');
        EXPECT_TRUE(Skin(write(directory, "c.skin", full), { 0, 0 }, pocket_pc).is_valid())
            << field;
    }
}

TEST(SkinHeader, WrongMagicOrMissingFileIsInvalid)
{
    TempDirectory directory;
    auto bytes = description(skin());
    platform::write_u16le(&bytes[6], 0x043C);
    EXPECT_FALSE(Skin(write(directory, "magic.skin", bytes), { 480, 640 }, pocket_pc).is_valid());
    EXPECT_FALSE(Skin(directory.wide("missing.skin"), { 480, 640 }, pocket_pc).is_valid());
    EXPECT_FALSE(Skin(directory.wide(""), { 480, 640 }, pocket_pc).is_valid());
}

TEST(SkinScale, FactorsAreTheOuterLoopOfTheExactFit)
{
    TempDirectory directory;
    auto path = write(directory, "two.skin", skin());
    Skin at_480(path, { 480, 640 }, pocket_pc);
    EXPECT_EQ(at_480.scale(), 1);
    EXPECT_TRUE(at_480.check_version(u"Ringwise_1.0", { 480, 640 }));

    Skin at_720(path, { 720, 960 }, pocket_pc);
    EXPECT_EQ(at_720.scale(), 3);
    EXPECT_TRUE(at_720.check_version(u"Ringwise_1.0", { 720, 960 }));

    // No exact fit: the check fails, and the best fit keeps the first of
    // equal waste (480 x 640 at factor 1 before 240 x 320 at factor 2).
    Skin at_600(path, { 600, 800 }, pocket_pc);
    EXPECT_FALSE(at_600.check_version(u"Ringwise_1.0", { 600, 800 }));
    EXPECT_EQ(at_600.scale(), 1);
}

TEST(SkinScale, BestFitTakesTheLeastWaste)
{
    TempDirectory directory;
    auto source = skin();
    source.design_sizes[1] = {};
    source.design_sizes[0] = { 200, 300 };
    auto path = write(directory, "one.skin", source);
    EXPECT_EQ(Skin(path, { 420, 620 }, pocket_pc).scale(), 2);
    EXPECT_EQ(Skin(path, { 800, 1300 }, pocket_pc).scale(), 4);
    EXPECT_EQ(Skin(path, { 100, 100 }, pocket_pc).scale(), 1); // nothing fits
    EXPECT_EQ(Skin(path, { 0, 0 }, pocket_pc).scale(), 1);
}

TEST(SkinScale, AnUnusedFirstEntryPassesEveryScreenAtScaleOne)
{
    TempDirectory directory;
    auto source = skin();
    source.design_sizes = {};
    source.design_sizes[1] = { 240, 320 };
    auto path = write(directory, "any.skin", source);
    for (Point screen : { Point { 480, 640 }, Point { 123, 457 }, Point { 720, 960 } }) {
        Skin any(path, screen, pocket_pc);
        EXPECT_TRUE(any.check_version(u"Ringwise_1.0", screen));
        EXPECT_EQ(any.scale(), 1);
    }
}

TEST(SkinScale, HugeDesignSizesNeitherOverflowNorWin)
{
    TempDirectory directory;
    auto source = skin();
    source.design_sizes[0] = { INT32_MIN, INT32_MIN };
    source.design_sizes[1] = { INT32_MAX, -5 };
    source.design_sizes[2] = { 240, 320 };
    Skin huge(write(directory, "huge.skin", source), { 480, 640 }, pocket_pc);
    EXPECT_EQ(huge.scale(), 2);
}

TEST(SkinVersion, DevicesTagAndScreenAreAllChecked)
{
    TempDirectory directory;
    auto source = skin();
    source.devices = u"PS";
    auto both = write(directory, "both.skin", source);
    source.devices = u"S";
    auto phone = write(directory, "phone.skin", source);

    Skin skin(both, { 0, 0 }, pocket_pc);
    EXPECT_TRUE(skin.check_version(u"", { 0, 0 }));
    EXPECT_TRUE(skin.check_version(u"Ringwise_1.0", { 0, 0 }));
    EXPECT_FALSE(skin.check_version(u"Ringwise_settings_1.0", { 0, 0 }));
    EXPECT_FALSE(skin.check_version(u"Ringwise_1", { 0, 0 }));
    EXPECT_FALSE(skin.check_version(u"Ringwise_1.0", { 480, 320 }));
    EXPECT_TRUE(Skin(phone, { 0, 0 }, smartphone).check_version(u"Ringwise_1.0", { 240, 320 }));
    EXPECT_FALSE(Skin(phone, { 0, 0 }, pocket_pc).check_version(u"Ringwise_1.0", { 240, 320 }));

    EXPECT_TRUE(skinner::is_good_skin_file(both, u"Ringwise_1.0", { 480, 640 }, pocket_pc));
    EXPECT_FALSE(skinner::is_good_skin_file(phone, u"Ringwise_1.0", { 480, 640 }, pocket_pc));
    EXPECT_FALSE(skinner::is_good_skin_file(both, u"Other", { 480, 640 }, pocket_pc));
    EXPECT_FALSE(skinner::is_good_skin_file(directory.wide("none.skin"), u"", { 0, 0 }, pocket_pc));
}

TEST(SkinWorkArea, BarsDependOnTheDeviceAndScreenWidth)
{
    using skinner::PropertiesImpl;
    EXPECT_EQ(PropertiesImpl::workarea_for({ 480, 640 }, pocket_pc), (Point { 480, 536 }));
    EXPECT_EQ(PropertiesImpl::workarea_for({ 640, 480 }, pocket_pc), (Point { 640, 376 }));
    EXPECT_EQ(PropertiesImpl::workarea_for({ 240, 320 }, pocket_pc), (Point { 240, 268 }));
    // A phone's bars grow with its shorter side, twice as much at scale 2.
    EXPECT_EQ(PropertiesImpl::workarea_for({ 360, 720 }, pocket_pc), (Point { 360, 642 }));
    EXPECT_EQ(PropertiesImpl::workarea_for({ 720, 1440 }, pocket_pc), (Point { 720, 1284 }));
    EXPECT_EQ(PropertiesImpl::workarea_for({ 176, 220 }, smartphone), (Point { 176, 180 }));
    EXPECT_EQ(PropertiesImpl::workarea_for({ 240, 320 }, smartphone), (Point { 240, 266 }));
    EXPECT_EQ(PropertiesImpl::workarea_for({ 352, 416 }, smartphone), (Point { 352, 336 }));
    EXPECT_EQ(PropertiesImpl::workarea_for({ 480, 640 }, smartphone), (Point { 480, 532 }));
    EXPECT_EQ(PropertiesImpl::workarea_for({ 320, 240 }, smartphone), (Point { 320, 240 }));
    EXPECT_EQ(PropertiesImpl::workarea_for({ 480, 640 }, SkinDevice { false, true }),
        (Point { 480, 640 }));
    EXPECT_EQ(PropertiesImpl::workarea_for({ 0, 0 }, pocket_pc), (Point { 0, 0 }));
}

TEST(SkinArchive, DescriptionIsTheFirstEntryWithTheSkinExtension)
{
    TempDirectory directory;
    auto bytes = description(skin());
    auto other = description(skin({ variant(u"Other", 10, 10) }));
    auto zip = skinc::write_zip({
        { "readme.txt", { 'h', 'i' } },
        { "folder.skin/picture", { 1, 2, 3 } },
        { "skins/Main.SKIN", bytes },
        { "second.skin", other },
    });
    auto path = write(directory, "archive.skin", zip);
    Skin skin(path, { 480, 640 }, pocket_pc);
    EXPECT_TRUE(skin.is_valid());
    EXPECT_TRUE(skin.has_form(u"Form"));
    EXPECT_FALSE(skin.has_form(u"Other"));
    EXPECT_TRUE(skinner::is_good_skin_file(path, u"Ringwise_1.0", { 480, 640 }, pocket_pc));
}

TEST(SkinArchive, CompressedFirstEntryMakesThePlainFileReading)
{
    TempDirectory directory;
    auto bytes = description(skin());
    auto zip = skinc::write_zip({
        { "packed.bin", { 9, 9, 9 }, 8, 100 },
        { "main.skin", bytes },
    });
    auto path = write(directory, "packed.skin", zip);
    EXPECT_FALSE(Skin(path, { 480, 640 }, pocket_pc).is_valid());
    EXPECT_FALSE(skinner::is_good_skin_file(path, u"", { 0, 0 }, pocket_pc));
}

TEST(SkinArchive, EntryCutShortMakesTheSkinInvalid)
{
    TempDirectory directory;
    auto zip = skinc::write_zip({ { "main.skin", description(skin()) } });
    zip.resize(30 + 9 + 541); // the local header, the name and part of the data
    EXPECT_FALSE(Skin(write(directory, "cut.skin", zip), { 480, 640 }, pocket_pc).is_valid());

    // A header that claims far more than the file holds is refused before
    // any room is made for it.
    auto lying = skinc::write_zip({ { "main.skin", description(skin()) } });
    put32(lying, 18, 0x7FFFFF00);
    put32(lying, 22, 0x7FFFFF00);
    EXPECT_FALSE(Skin(write(directory, "lying.skin", lying), { 480, 640 }, pocket_pc).is_valid());
}
