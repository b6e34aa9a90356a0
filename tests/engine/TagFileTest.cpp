#include "engine/TagFile.h"

#include "engine/FeatureExtraction.h"
#include "engine/Matcher.h"
#include "engine/TemplatePreparation.h"
#include "os/File.h"
#include "platform/LittleEndian.h"

#include "tests/engine/Recordings.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace test_recordings;

namespace {

VoiceTemplate trained(const std::string& name)
{
    auto samples = capture(load(name));
    TemplateAnalysis analysis = create_template(samples.data(), bytes(samples));
    return VoiceTemplate(NEW_TEMPLATE_THRESHOLD, std::move(analysis.variants));
}

void expect_same_variants(const VoiceTemplate& a, const VoiceTemplate& b)
{
    EXPECT_EQ(a.threshold(), b.threshold());
    for (int v = 0; v < 3; ++v) {
        const FeatureSet& x = a.variant(v);
        const FeatureSet& y = b.variant(v);
        ASSERT_EQ(x.count, y.count) << v;
        EXPECT_EQ(x.segment_count, y.segment_count) << v;
        EXPECT_TRUE(std::equal(x.segment_start, x.segment_start + 3, y.segment_start)) << v;
        EXPECT_TRUE(std::equal(x.segment_end, x.segment_end + 3, y.segment_end)) << v;
        EXPECT_TRUE(std::equal(x.frames.get(), x.frames.get() + 4 * x.count, y.frames.get())) << v;
        EXPECT_TRUE(
            std::equal(x.normalized.get(), x.normalized.get() + 4 * x.count, y.normalized.get()))
            << v;
    }
}

class TagFileOnDisk : public ::testing::Test {
protected:
    std::u16string path(const std::string& name) const { return directory_.wide(name); }

    TempDirectory directory_;
};

} // namespace

TEST(TagFile, LayoutIsLittleEndianWithoutPadding)
{
    VoiceTemplate tag = trained("office-fast");
    std::vector<std::uint8_t> bytes = serialize_template(tag);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 4),
        (std::vector<std::uint8_t> { 0xCD, 0xCC, 0x4C, 0x3E }));

    std::size_t offset = 4;
    for (int v = 0; v < 3; ++v) {
        const FeatureSet& set = tag.variant(v);
        EXPECT_EQ(platform::read_i32le(bytes.data() + offset), set.count);
        EXPECT_EQ(platform::read_i32le(bytes.data() + offset + 4), set.segment_start[0]);
        EXPECT_EQ(platform::read_i32le(bytes.data() + offset + 16), set.segment_end[0]);
        EXPECT_EQ(platform::read_i32le(bytes.data() + offset + 28), set.segment_count);
        EXPECT_EQ(platform::read_i16le(bytes.data() + offset + 32), set.normalized[0]);
        EXPECT_EQ(platform::read_i32le(bytes.data() + offset + 32 + 8 * set.count), set.frames[0]);
        offset += 32 + 24 * static_cast<std::size_t>(set.count);
    }
    EXPECT_EQ(offset, bytes.size());
}

TEST_F(TagFileOnDisk, RoundTripIsIdenticalByteForByte)
{
    VoiceTemplate tag = trained("doctor-lee");
    {
        os::File file(path("001.tag"), 1);
        ASSERT_TRUE(file.is_open());
        EXPECT_TRUE(write_template(tag, file));
    }
    VoiceTemplate read = read_template(path("001.tag"));
    ASSERT_TRUE(read.has_template());
    expect_same_variants(tag, read);
    EXPECT_EQ(serialize_template(read), serialize_template(tag));

    SpeechEngine engine;
    auto samples = capture(load("doctor-lee"), 14000);
    FeatureSet utterance = extract_utterance(samples.data(), bytes(samples));
    for (int v = 0; v < 3; ++v)
        EXPECT_EQ(compare(engine, read.variant(v), utterance),
            compare(engine, tag.variant(v), utterance));
}

TEST_F(TagFileOnDisk, MissingFileGivesAHandleWithoutTemplate)
{
    VoiceTemplate read = read_template(path("absent.tag"));
    EXPECT_FALSE(read.has_template());
    EXPECT_EQ(read.threshold(), 0.0f);
    EXPECT_TRUE(read.variant(0).empty());
}

TEST(TagFile, EmptyHandleWritesThresholdZeroAndEmptyVariants)
{
    std::vector<std::uint8_t> bytes = serialize_template(VoiceTemplate {});
    EXPECT_EQ(bytes, std::vector<std::uint8_t>(4 + 3 * 32, 0));
    VoiceTemplate read = parse_template(bytes.data(), bytes.size());
    EXPECT_EQ(read.threshold(), 0.0f);
    SpeechEngine engine;
    FeatureSet utterance;
    utterance.allocate(10);
    for (int v = 0; v < 3; ++v)
        EXPECT_EQ(compare(engine, read.variant(v), utterance), 3.0f);
}

TEST(TagFile, TruncatedOrExtendedFilesAreRejected)
{
    std::vector<std::uint8_t> bytes = serialize_template(trained("office-slow"));
    ASSERT_TRUE(parse_template(bytes.data(), bytes.size()).has_template());
    for (std::size_t size = 0; size < bytes.size(); size += (size < 200 ? 1 : 97))
        EXPECT_FALSE(parse_template(bytes.data(), size).has_template()) << size;
    EXPECT_FALSE(parse_template(bytes.data(), bytes.size() - 1).has_template());
    bytes.push_back(0);
    EXPECT_FALSE(parse_template(bytes.data(), bytes.size()).has_template());
}

TEST(TagFile, DamagedCountsAndSegmentsAreRejected)
{
    const std::vector<std::uint8_t> good = serialize_template(trained("margaret-slow"));
    const std::int32_t count = platform::read_i32le(good.data() + 4);
    ASSERT_GT(count, 0);
    struct Damage {
        std::size_t offset;
        std::int32_t value;
    };
    const Damage damages[] = {
        { 4, -1 }, // negative count
        { 4, count + 1 }, // count beyond the file
        { 4, count - 1 }, // count that leaves bytes over
        { 4, 0x7FFFFFFF }, // absurd count
        { 4 + 4, -1 }, // segment start before the first frame
        { 4 + 16, count + 1 }, // segment end past the last frame
        { 4 + 12, count + 5 }, // unused slot out of range
        { 4 + 28, 0 }, // no segment in a variant with frames
        { 4 + 28, 4 }, // more than three segments
    };
    for (const Damage& damage : damages) {
        std::vector<std::uint8_t> bytes = good;
        platform::write_u32le(
            bytes.data() + damage.offset, static_cast<std::uint32_t>(damage.value));
        EXPECT_FALSE(parse_template(bytes.data(), bytes.size()).has_template())
            << "offset " << damage.offset << " value " << damage.value;
    }
}

TEST_F(TagFileOnDisk, DamagedFileOnDiskIsRejected)
{
    std::vector<std::uint8_t> bytes = serialize_template(trained("home-phone"));
    bytes.resize(bytes.size() / 2);
    {
        os::File file(path("002.tag"), 1);
        ASSERT_EQ(file.write(bytes.data(), static_cast<std::uint32_t>(bytes.size())), bytes.size());
    }
    VoiceTemplate read = read_template(path("002.tag"));
    EXPECT_FALSE(read.has_template());
    EXPECT_EQ(read.threshold(), 0.0f);
}

TEST(TagFile, KnownRecordingKeepsItsStoredBytes)
{
    // Tags trained by earlier builds must keep matching: the bytes of a
    // trained tag (features, segments, normalisation) are fixed.
    std::vector<std::uint8_t> bytes = serialize_template(trained("doctor-lee"));
    std::uint64_t hash = 1469598103934665603ULL;
    for (std::uint8_t byte : bytes) {
        hash ^= byte;
        hash *= 1099511628211ULL;
    }
    EXPECT_EQ(bytes.size(), 5596u);
    EXPECT_EQ(hash, 0x71d7442403ba9bfbULL);
}
