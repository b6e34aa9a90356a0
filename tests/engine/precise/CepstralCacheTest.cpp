#include "engine/precise/CepstralCache.h"

#include "platform/LittleEndian.h"

#include "tests/engine/precise/PreciseRecordings.h"

#include <gtest/gtest.h>

#include <bit>
#include <limits>

using namespace test_recordings;

namespace {

constexpr std::uint64_t PRINT = 0x0123456789abcdefull;

class CepstralCache : public ::testing::Test {
protected:
    CepstralFrames frames = tag_cepstra("home-phone");
    std::vector<std::uint8_t> bytes = serialize_cepstral_cache(frames, PRINT);

    std::optional<CepstralFrames> parse(const std::vector<std::uint8_t>& data) const
    {
        return parse_cepstral_cache(data.data(), data.size(), PRINT);
    }
};

TEST_F(CepstralCache, GivesBackTheFramesItWasMadeFrom)
{
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(bytes.size(), 24 + 4 * frames.values.size());
    auto read = parse(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->count, frames.count);
    EXPECT_EQ(read->values, frames.values);
}

TEST_F(CepstralCache, AStaleOrOtherVersionFileIsRefused)
{
    EXPECT_FALSE(parse_cepstral_cache(bytes.data(), bytes.size(), PRINT + 1));
    auto other_version = bytes;
    platform::write_u32le(other_version.data() + 4, CEPSTRAL_CACHE_VERSION + 1);
    EXPECT_FALSE(parse(other_version));
    auto other_magic = bytes;
    other_magic[0] = 'X';
    EXPECT_FALSE(parse(other_magic));
}

TEST_F(CepstralCache, DamagedFilesAreRefused)
{
    for (std::size_t size : { std::size_t(0), std::size_t(10), std::size_t(24), bytes.size() - 1 })
        EXPECT_FALSE(parse(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + size))) << size;
    auto longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(parse(longer));

    auto huge_count = bytes;
    platform::write_u32le(huge_count.data() + 16, 0xffffffffu);
    EXPECT_FALSE(parse(huge_count));
    auto other_dimensions = bytes;
    platform::write_u32le(other_dimensions.data() + 20, CepstralFrames::DIMENSIONS - 1);
    EXPECT_FALSE(parse(other_dimensions));

    for (float bad :
        { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity() }) {
        auto not_finite = bytes;
        platform::write_u32le(not_finite.data() + 24 + 4 * 7, std::bit_cast<std::uint32_t>(bad));
        EXPECT_FALSE(parse(not_finite));
    }
    EXPECT_FALSE(parse_cepstral_cache(nullptr, 100, PRINT));
}

TEST_F(CepstralCache, EmptyFramesMakeAnEmptyButValidFile)
{
    auto empty = serialize_cepstral_cache(CepstralFrames(), PRINT);
    auto read = parse(empty);
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->empty());
}

TEST(RecordingFingerprint, ChangesWithAnyByte)
{
    std::vector<std::uint8_t> recording(1000, 7);
    const std::uint64_t base = recording_fingerprint(recording.data(), recording.size());
    EXPECT_EQ(base, recording_fingerprint(recording.data(), recording.size()));
    recording[999] = 8;
    EXPECT_NE(base, recording_fingerprint(recording.data(), recording.size()));
    EXPECT_NE(base, recording_fingerprint(recording.data(), recording.size() - 1));
}

} // namespace
