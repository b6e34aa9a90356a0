#include "audio/FileWriterWAVPCM.h"
#include "audio/FileReaderWAVPCM.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>

using audio::FileWriterWAVPCM;
using audio::PCMData;
using namespace audio_test;

namespace {

struct Sink : audio::Consumer<PCMData> {
    void on_data(const PCMData& block) override { received.push_back(block); }
    std::vector<PCMData> received;
};

struct Source : audio::Provider<PCMData> {
    PCMData get_data(std::int32_t) override { return PCMData(); }
};

// source -> writer -> sink, the way a recording is written while captured.
struct Chain {
    explicit Chain(const std::u16string& path, bool append = false)
        : writer(path, append)
    {
        audio::connect<PCMData>(source, &writer);
        audio::connect<PCMData>(writer, &sink);
    }
    void push(const PCMData& block) { audio::push(source, block); }

    Source source;
    FileWriterWAVPCM writer;
    Sink sink;
};

} // namespace

TEST(FileWriterWAVPCM, WritesAHeaderWithTheFinalSizes)
{
    TempDirectory dir;
    {
        Chain chain(dir.wide("tag.wav"));
        std::vector<PCMData> pushed;
        for (int i = 0; i < 27; ++i) {
            pushed.push_back(ramp(2205, 22050, i * 2205));
            chain.push(pushed.back());
        }
        EXPECT_TRUE(chain.writer.is_good());
        EXPECT_EQ(chain.writer.size(), 119070);
        EXPECT_EQ(chain.writer.bit_rate(), 352800);
        ASSERT_EQ(chain.sink.received.size(), 27u);
        // Passed on as it came: the very same samples, not a copy.
        EXPECT_EQ(chain.sink.received[26].bytes(), pushed[26].bytes());

        // Until the writer is destroyed the header holds the provisional sizes.
        std::vector<std::uint8_t> early = read_bytes(dir.native("tag.wav"));
        EXPECT_EQ(le32(early, 4), 0u);
        EXPECT_EQ(le32(early, 40), 0u);
    }
    std::vector<std::uint8_t> bytes = read_bytes(dir.native("tag.wav"));
    ASSERT_EQ(bytes.size(), 119114u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(le32(bytes, 4), 119106u);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(le32(bytes, 16), 16u);
    EXPECT_EQ(le32(bytes, 20), 1u | 1u << 16); // PCM, mono
    EXPECT_EQ(le32(bytes, 24), 22050u);
    EXPECT_EQ(le32(bytes, 28), 44100u);
    EXPECT_EQ(le32(bytes, 32), 2u | 16u << 16);
    EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
    EXPECT_EQ(le32(bytes, 40), 119070u);
    EXPECT_EQ(bytes[44 + 2 * 1000], 1000 & 0xFF);
}

TEST(FileWriterWAVPCM, CreatesNoFileBeforeItsFirstUsableBlock)
{
    TempDirectory dir;
    {
        FileWriterWAVPCM writer(dir.wide("never.wav"));
        EXPECT_TRUE(writer.is_good());
    }
    EXPECT_FALSE(std::filesystem::exists(dir.native("never.wav")));

    {
        Chain chain(dir.wide("unformatted.wav"));
        chain.push(PCMData());
        chain.push(PCMData(liba::Buffer(8), 0, 16, 22050));
        EXPECT_EQ(chain.sink.received.size(), 2u);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.native("unformatted.wav")));
}

TEST(FileWriterWAVPCM, SkipsBlocksOfAnotherFormatButPassesThemOn)
{
    TempDirectory dir;
    {
        Chain chain(dir.wide("mixed.wav"));
        chain.push(ramp(10, 22050));
        chain.push(ramp(20, 11025));
        chain.push(ramp(30, 22050, 10));
        EXPECT_TRUE(chain.writer.is_good());
        EXPECT_EQ(chain.writer.size(), 80);
        ASSERT_EQ(chain.sink.received.size(), 3u);
        EXPECT_EQ(chain.sink.received[1].sample_rate, 11025);
    }
    audio::FileReaderWAVPCM reader(dir.wide("mixed.wav"));
    PCMData all = reader.get_data(1000);
    ASSERT_EQ(all.frames(), 40);
    EXPECT_EQ(sample_at(all, 39), 39);
}

TEST(FileWriterWAVPCM, AWriterThatFailsStillPassesBlocksOn)
{
    TempDirectory dir;
    Chain nowhere(dir.wide("no/such/folder/x.wav"));
    nowhere.push(ramp(10));
    nowhere.push(ramp(10));
    EXPECT_FALSE(nowhere.writer.is_good());
    EXPECT_EQ(nowhere.sink.received.size(), 2u);
    EXPECT_EQ(nowhere.writer.size(), 0);

    if (std::filesystem::exists("/dev/full")) {
        Chain full(u"/dev/full");
        full.push(ramp(10));
        EXPECT_FALSE(full.writer.is_good());
        EXPECT_EQ(full.sink.received.size(), 1u);
    }
}

TEST(FileWriterWAVPCM, AppendsToAnExistingFileOfTheSameFormat)
{
    TempDirectory dir;
    {
        FileWriterWAVPCM writer(dir.wide("grow.wav"));
        writer.on_data(ramp(100));
    }
    {
        FileWriterWAVPCM writer(dir.wide("grow.wav"), true);
        EXPECT_TRUE(writer.is_good());
        EXPECT_EQ(writer.size(), 200);
        writer.on_data(ramp(50, 22050, 100));
        writer.on_data(ramp(50, 8000)); // not the file's format
        EXPECT_EQ(writer.size(), 300);
    }
    std::vector<std::uint8_t> bytes = read_bytes(dir.native("grow.wav"));
    EXPECT_EQ(bytes.size(), 344u);
    EXPECT_EQ(le32(bytes, 4), 336u);
    EXPECT_EQ(le32(bytes, 40), 300u);
    audio::FileReaderWAVPCM reader(dir.wide("grow.wav"));
    PCMData all = reader.get_data(1000);
    ASSERT_EQ(all.frames(), 150);
    EXPECT_EQ(sample_at(all, 149), 149);
}

TEST(FileWriterWAVPCM, AppendingLeavesFilesItCannotExtendUntouched)
{
    TempDirectory dir;
    std::vector<std::uint8_t> text(100, 'a');
    write_bytes(dir.native("notes.txt"), text);
    {
        Chain chain(dir.wide("notes.txt"), true);
        chain.push(ramp(10));
        EXPECT_FALSE(chain.writer.is_good());
        EXPECT_EQ(chain.sink.received.size(), 1u);
    }
    EXPECT_EQ(read_bytes(dir.native("notes.txt")), text);

    {
        FileWriterWAVPCM writer(dir.wide("absent.wav"), true);
        writer.on_data(ramp(10));
        EXPECT_FALSE(writer.is_good());
    }
    EXPECT_FALSE(std::filesystem::exists(dir.native("absent.wav")));
}
