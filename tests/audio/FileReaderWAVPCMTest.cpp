#include "audio/FileReaderWAVPCM.h"
#include "audio/AudioBuffer.h"
#include "audio/FileWriterWAVPCM.h"
#include "platform/LittleEndian.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

using audio::FileReaderWAVPCM;
using audio::PCMData;
using namespace audio_test;

namespace {

// A hand-made WAV image: the format chunk with `format_size` bytes of body,
// then `between` (whole chunks), then the data chunk claiming `claimed` bytes
// (the real length when negative) and holding `frames` of a 16-bit mono ramp.
std::vector<std::uint8_t> wav_image(std::int32_t frames, std::uint32_t format_size = 16,
    std::uint16_t format_tag = 1, const std::vector<std::uint8_t>& between = {},
    std::int64_t claimed = -1)
{
    std::vector<std::uint8_t> out;
    put(out, "RIFF");
    platform::append_u32le(out, 0);
    put(out, "WAVE");
    put(out, "fmt ");
    platform::append_u32le(out, format_size);
    platform::append_u16le(out, format_tag);
    platform::append_u16le(out, 1);
    platform::append_u32le(out, 22050);
    platform::append_u32le(out, 44100);
    platform::append_u16le(out, 2);
    platform::append_u16le(out, 16);
    for (std::uint32_t i = 16; i < format_size; ++i)
        out.push_back(0);
    out.insert(out.end(), between.begin(), between.end());
    put(out, "data");
    platform::append_u32le(out,
        claimed < 0 ? static_cast<std::uint32_t>(frames * 2) : static_cast<std::uint32_t>(claimed));
    PCMData samples = ramp(frames);
    out.insert(out.end(), samples.bytes(), samples.bytes() + samples.length());
    std::uint32_t riff = static_cast<std::uint32_t>(out.size() - 8);
    platform::write_u32le(out.data() + 4, riff);
    return out;
}

struct Sink : audio::Consumer<PCMData> {
    void on_data(const PCMData& block) override { blocks.push_back(block.frames()); }
    std::vector<std::int32_t> blocks;
};

} // namespace

TEST(FileReaderWAVPCM, ReadsWhatTheWriterWroteInBlocksUpToTheEnd)
{
    TempDirectory dir;
    {
        audio::FileWriterWAVPCM writer(dir.wide("ramp.wav"));
        writer.on_data(ramp(12000));
    }
    FileReaderWAVPCM reader(dir.wide("ramp.wav"));
    ASSERT_TRUE(reader.is_good());
    EXPECT_EQ(reader.get_channels(), 1);
    EXPECT_EQ(reader.get_bits_per_sample(), 16);
    EXPECT_EQ(reader.get_sample_rate(), 22050);
    EXPECT_EQ(reader.get_bit_rate(), 352800);
    EXPECT_EQ(reader.data_size(), 24000);
    EXPECT_EQ(reader.info().data_offset, 44u);
    EXPECT_DOUBLE_EQ(reader.total_seconds(), 12000.0 / 22050);

    PCMData first = reader.get_data(5000);
    PCMData second = reader.get_data(5000);
    EXPECT_EQ(first.frames(), 5000);
    EXPECT_EQ(sample_at(second, 0), 5000);
    EXPECT_FALSE(reader.is_end());
    PCMData last = reader.get_data(5000);
    EXPECT_EQ(last.frames(), 2000);
    EXPECT_EQ(sample_at(last, 1999), 11999);
    EXPECT_TRUE(reader.is_end());
    EXPECT_EQ(reader.get_data(5000).length(), 0);
}

TEST(FileReaderWAVPCM, SkipsOtherChunksBeforeTheData)
{
    std::vector<std::uint8_t> list;
    put(list, "LIST");
    platform::append_u32le(list, 9); // odd size: taken as it is, without a pad byte
    list.insert(list.end(), 9, 'x');

    TempDirectory dir;
    write_bytes(dir.native("list.wav"), wav_image(10, 16, 1, list));
    FileReaderWAVPCM reader(dir.wide("list.wav"));
    ASSERT_TRUE(reader.is_good());
    EXPECT_EQ(reader.info().data_offset, 44u + 17);
    EXPECT_EQ(reader.data_size(), 20);
    EXPECT_EQ(sample_at(reader.get_data(10), 9), 9);
}

TEST(FileReaderWAVPCM, RejectsHeadersItCannotPlay)
{
    TempDirectory dir;
    std::vector<std::uint8_t> huge_chunk;
    put(huge_chunk, "junk");
    platform::append_u32le(huge_chunk, 0xFFFFFFF0u);
    std::vector<std::uint8_t> no_wave = wav_image(10);
    no_wave[8] = 'X';
    std::vector<std::uint8_t> truncated = wav_image(10);
    truncated.resize(40);

    const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> cases = {
        { "extended format chunk", wav_image(10, 18) },
        { "floating-point samples", wav_image(10, 16, 3) },
        { "chunk beyond the end", wav_image(10, 16, 1, huge_chunk) },
        { "not WAVE", no_wave },
        { "cut inside the header", truncated },
        { "empty file", {} },
    };
    for (auto& [name, bytes] : cases) {
        write_bytes(dir.native("bad.wav"), bytes);
        FileReaderWAVPCM reader(dir.wide("bad.wav"));
        EXPECT_FALSE(reader.is_good()) << name;
        EXPECT_TRUE(reader.is_end()) << name;
        EXPECT_EQ(reader.get_data(100).length(), 0) << name;
        EXPECT_FALSE(reader.deliver(100)) << name;
    }

    FileReaderWAVPCM missing(dir.wide("missing.wav"));
    EXPECT_FALSE(missing.is_good());
    EXPECT_EQ(missing.get_data(1).length(), 0);
}

TEST(FileReaderWAVPCM, SeeksInWholeFramesAndNeverReadsPastTheData)
{
    TempDirectory dir;
    write_bytes(dir.native("ramp.wav"), wav_image(100));
    FileReaderWAVPCM reader(dir.wide("ramp.wav"));

    reader.seek(21); // rounded down to frame 10
    EXPECT_EQ(reader.position(), 20);
    EXPECT_EQ(sample_at(reader.get_data(1), 0), 10);

    reader.seek(-7);
    EXPECT_EQ(reader.position(), 0);

    reader.seek_seconds(50.0 / 22050);
    EXPECT_EQ(sample_at(reader.get_data(1), 0), 50);

    // Beyond the data but within the file size: nothing to read, at the end.
    reader.seek(230);
    EXPECT_GT(reader.position(), reader.data_size());
    EXPECT_TRUE(reader.is_end());
    EXPECT_EQ(reader.get_data(5000).length(), 0);
    EXPECT_FALSE(reader.deliver(10));
}

TEST(FileReaderWAVPCM, ADataChunkLongerThanTheFileGivesOnlyWhatIsThere)
{
    TempDirectory dir;
    write_bytes(dir.native("cut.wav"), wav_image(100, 16, 1, {}, 0x7FFFFFF0));
    FileReaderWAVPCM reader(dir.wide("cut.wav"));
    ASSERT_TRUE(reader.is_good());

    PCMData all = reader.get_data(1 << 30);
    EXPECT_EQ(all.frames(), 100);
    EXPECT_EQ(reader.get_data(5000).length(), 0);
}

TEST(FileReaderWAVPCM, RewindsToAnImageInsideALargerFile)
{
    std::vector<std::uint8_t> archive(37, 0xAB);
    std::vector<std::uint8_t> image = wav_image(30);
    archive.insert(archive.end(), image.begin(), image.end());
    archive.insert(archive.end(), 500, 0xCD); // whatever follows the image

    TempDirectory dir;
    write_bytes(dir.native("archive.bin"), archive);
    FileReaderWAVPCM reader(dir.wide("archive.bin"));
    EXPECT_FALSE(reader.is_good());

    ASSERT_TRUE(reader.rewind(37));
    EXPECT_EQ(reader.position(), 0);
    PCMData all = reader.get_data(5000);
    EXPECT_EQ(all.frames(), 30);
    EXPECT_EQ(sample_at(all, 29), 29);
    EXPECT_TRUE(reader.is_end());

    EXPECT_FALSE(reader.rewind(36));
}

TEST(FileReaderWAVPCM, DeliversSpansInBlocksOfAtMostFiveThousandFrames)
{
    TempDirectory dir;
    write_bytes(dir.native("ramp.wav"), wav_image(12345));
    FileReaderWAVPCM reader(dir.wide("ramp.wav"));
    Sink sink;
    audio::connect<PCMData>(reader, &sink);

    EXPECT_TRUE(reader.deliver(1)); // less than a frame: nothing to do
    EXPECT_TRUE(sink.blocks.empty());

    EXPECT_TRUE(reader.deliver_seconds(11000.0 / 22050));
    EXPECT_EQ(sink.blocks, (std::vector<std::int32_t> { 5000, 5000, 1000 }));

    // Asking for more than is left delivers the rest and reports the shortfall.
    EXPECT_FALSE(reader.deliver(10000));
    EXPECT_EQ(sink.blocks.back(), 1345);
}
