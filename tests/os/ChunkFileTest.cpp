#include "os/ChunkFile.h"

#include "platform/Convert.h"
#include "platform/LittleEndian.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstring>

using os::ChunkFile;

namespace {

std::string le32(std::uint32_t value)
{
    std::string bytes;
    platform::append_u32le(bytes, value);
    return bytes;
}

// One chunk as it lies in the file, built by hand from the format.
std::string chunk_bytes(const std::u16string& name, const std::string& data)
{
    std::string bytes = le32(static_cast<std::uint32_t>(name.size() * 2));
    for (char16_t c : name)
        platform::append_u16le(bytes, c);
    return bytes + le32(static_cast<std::uint32_t>(data.size())) + data;
}

std::string pattern_of(std::size_t size)
{
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return data;
}

std::vector<std::u16string> chunk_names(const std::u16string& path)
{
    ChunkFile reader(path, 0);
    std::vector<std::u16string> names;
    while (reader.next_chunk())
        names.push_back(reader.name());
    return names;
}

} // namespace

TEST(ChunkFile, OneChunkArchiveHasNoHeaderOrTrailer)
{
    TempDirectory temp;
    {
        ChunkFile writer(temp.wide("one.bin"), 1);
        ASSERT_TRUE(writer.begin_chunk(u"fourteen_chars"));
        EXPECT_EQ(writer.write("hello", 5), 5u);
        EXPECT_TRUE(writer.end_chunk());
    }
    std::string bytes = temp.read("one.bin");
    ASSERT_EQ(bytes.size(), 4u + 28u + 4u + 5u);
    EXPECT_EQ(bytes, chunk_bytes(u"fourteen_chars", "hello"));

    ChunkFile reader(temp.wide("one.bin"), 0);
    ASSERT_TRUE(reader.next_chunk());
    EXPECT_EQ(reader.name(), u"fourteen_chars");
    EXPECT_EQ(reader.data_length(), 5u);
    char data[8] = {};
    EXPECT_EQ(reader.read(data, sizeof data), 5u);
    EXPECT_STREQ(data, "hello");
    EXPECT_FALSE(reader.next_chunk());
    EXPECT_FALSE(reader.next_chunk());
}

TEST(ChunkFile, BeginningAChunkEndsTheOpenOneAndSoDoesClosing)
{
    TempDirectory temp;
    {
        ChunkFile writer(temp.wide("two.bin"), 1);
        writer.begin_chunk(u"a");
        writer.write("12", 2);
        writer.begin_chunk(u"\u00e9\u20ac");
        writer.write("345", 3);
    }
    EXPECT_EQ(temp.read("two.bin"), chunk_bytes(u"a", "12") + chunk_bytes(u"\u00e9\u20ac", "345"));
}

TEST(ChunkFile, ReadingStaysInsideTheCurrentChunk)
{
    TempDirectory temp;
    temp.write("a.bin",
        chunk_bytes(u"first", "abc") + chunk_bytes(u"second", "defg") + chunk_bytes(u"", ""));
    ChunkFile reader(temp.wide("a.bin"), 0);
    ASSERT_TRUE(reader.next_chunk());
    char data[16] = {};
    EXPECT_EQ(reader.read(data, 2), 2u);
    EXPECT_EQ(reader.read(data + 2, 10), 1u);
    EXPECT_STREQ(data, "abc");
    EXPECT_EQ(reader.read(data, 10), 0u);
    ASSERT_TRUE(reader.next_chunk());
    EXPECT_EQ(reader.name(), u"second");
    // The next chunk is found whether or not the data was read.
    ASSERT_TRUE(reader.next_chunk());
    EXPECT_EQ(reader.name(), u"");
    EXPECT_EQ(reader.data_length(), 0u);
    EXPECT_FALSE(reader.next_chunk());
}

TEST(ChunkFile, FindChunkSearchesFromTheStartByExactName)
{
    TempDirectory temp;
    temp.write(
        "a.bin", chunk_bytes(u"one", "1") + chunk_bytes(u"Two", "2") + chunk_bytes(u"two", "22"));
    ChunkFile reader(temp.wide("a.bin"), 0);
    ASSERT_TRUE(reader.find_chunk(u"two"));
    EXPECT_EQ(reader.data_length(), 2u);
    ASSERT_TRUE(reader.find_chunk(u"one"));
    EXPECT_FALSE(reader.find_chunk(u"ONE"));
    EXPECT_FALSE(reader.find_chunk(u"three"));
}

TEST(ChunkFile, LengthsRunningPastTheEndStopTheReading)
{
    TempDirectory temp;
    std::string good = chunk_bytes(u"good", "data");
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        { "huge name length", good + le32(0xFFFFFFF0u) + "ab" },
        { "name past the end", good + le32(8) + "abcd" },
        { "odd name length", good + le32(3) + "abc" + le32(0) },
        { "huge data length",
            good + chunk_bytes(u"x", "").substr(0, 6) + le32(0x7FFFFFFFu) + "zz" },
        { "data one byte short", good + chunk_bytes(u"x", "12345").substr(0, 14) },
        { "cut inside a length", good + std::string("\x02\x00", 2) },
    };
    for (const Case& c : cases) {
        temp.write("bad.bin", c.bytes);
        ChunkFile reader(temp.wide("bad.bin"), 0);
        ASSERT_TRUE(reader.next_chunk()) << c.what;
        EXPECT_EQ(reader.name(), u"good");
        EXPECT_FALSE(reader.next_chunk()) << c.what;
        EXPECT_EQ(reader.read(nullptr, 10), 0u);
        EXPECT_FALSE(reader.extract(temp.wide("out"))) << c.what;
        EXPECT_FALSE(reader.find_chunk(u"x")) << c.what;
    }
}

TEST(ChunkFile, CopiesFilesAroundTheBlockSizeExactly)
{
    TempDirectory temp;
    const std::size_t sizes[] = { 0, 1, ChunkFile::BLOCK_SIZE - 1, ChunkFile::BLOCK_SIZE,
        ChunkFile::BLOCK_SIZE + 1, 3 * ChunkFile::BLOCK_SIZE + 5 };
    for (std::size_t size : sizes)
        temp.write("in/" + std::to_string(size), pattern_of(size));
    {
        ChunkFile writer(temp.wide("archive.bin"), 1);
        for (std::size_t size : sizes)
            EXPECT_TRUE(writer.add_file(temp.wide("in/" + std::to_string(size)),
                u"n" + platform::from_utf8(std::to_string(size))));
    }
    ChunkFile reader(temp.wide("archive.bin"), 0);
    for (std::size_t size : sizes) {
        std::string name = std::to_string(size);
        ASSERT_TRUE(reader.find_chunk(u"n" + platform::from_utf8(name)));
        EXPECT_EQ(reader.data_length(), size);
        EXPECT_TRUE(reader.extract(temp.wide("out/" + name)));
        EXPECT_EQ(temp.read("out/" + name), pattern_of(size)) << size;
    }
}

TEST(ChunkFile, AddFileOfAMissingSourceAddsNothing)
{
    TempDirectory temp;
    {
        ChunkFile writer(temp.wide("archive.bin"), 1);
        EXPECT_FALSE(writer.add_file(temp.wide("missing"), u"x"));
    }
    EXPECT_EQ(temp.read("archive.bin"), "");
}

TEST(ChunkFile, DirectoryRoundTripKeepsOnlyTheFolderAsked)
{
    TempDirectory temp;
    temp.write("commands/commands.xml", "<commands/>");
    temp.write("commands/Anna Home.tag", pattern_of(40000));
    temp.write("commands/Anna Home.wav", "RIFF");
    temp.write("commands/sub/ignored.tag", "deeper");
    {
        ChunkFile writer(temp.wide("backup.vcb"), 1);
        writer.begin_chunk(u"VOICE_COMMAND_BACKUP_VERSION");
        std::int32_t version = 100;
        writer.write(&version, 4);
        EXPECT_TRUE(writer.add_directory(temp.wide("commands"), u"commands"));
    }
    EXPECT_EQ(chunk_names(temp.wide("backup.vcb")),
        (std::vector<std::u16string> { u"VOICE_COMMAND_BACKUP_VERSION", u"commands/Anna Home.tag",
            u"commands/Anna Home.wav", u"commands/commands.xml" }));

    ChunkFile reader(temp.wide("backup.vcb"), 0);
    ASSERT_TRUE(reader.find_chunk(u"VOICE_COMMAND_BACKUP_VERSION"));
    std::int32_t version = 0;
    EXPECT_EQ(reader.read(&version, 4), 4u);
    EXPECT_EQ(version, 100);
    EXPECT_TRUE(reader.extract_directory(temp.wide("restored/commands"), u"Commands/"));
    EXPECT_EQ(temp.read("restored/commands/Anna Home.tag"), pattern_of(40000));
    EXPECT_EQ(temp.read("restored/commands/commands.xml"), "<commands/>");
    EXPECT_EQ(temp.read("restored/commands/Anna Home.wav"), "RIFF");
    EXPECT_FALSE(temp.exists("restored/commands/sub"));
    EXPECT_FALSE(temp.exists("restored/commands/VOICE_COMMAND_BACKUP_VERSION"));
}

TEST(ChunkFile, ExtractionNeverLeavesTheTargetFolder)
{
    TempDirectory temp;
    temp.write("target/existing", "keep");
    temp.write("archive.vcb",
        chunk_bytes(u"commands/..", "escape") + chunk_bytes(u"commands\\.", "dot")
            + chunk_bytes(u"commands/", "empty") + chunk_bytes(u"commands/sub/x", "deeper")
            + chunk_bytes(u"commands/../../x", "up") + chunk_bytes(u"other/x", "other")
            + chunk_bytes(u"commands\\ok", "fine"));
    ChunkFile reader(temp.wide("archive.vcb"), 0);
    EXPECT_TRUE(reader.extract_directory(temp.wide("target/inner"), u"commands"));
    EXPECT_EQ(temp.read("target/inner/ok"), "fine");
    EXPECT_EQ(temp.read("target/existing"), "keep");
    EXPECT_FALSE(temp.exists("target/x"));
    EXPECT_FALSE(temp.exists("x"));
    std::size_t count = 0;
    for ([[maybe_unused]] auto& entry :
        std::filesystem::recursive_directory_iterator(temp.native()))
        ++count;
    // archive.vcb, target, target/existing, target/inner, target/inner/ok
    EXPECT_EQ(count, 5u);
}

TEST(ChunkFile, ExtractDirectoryStopsAtTheFirstFailure)
{
    TempDirectory temp;
    temp.write("archive.vcb",
        chunk_bytes(u"commands/a", "1") + chunk_bytes(u"commands/b", "2")
            + chunk_bytes(u"commands/c", "3"));
    // A directory where "b" should go makes its extraction fail.
    temp.write("target/b/blocker", "");
    ChunkFile reader(temp.wide("archive.vcb"), 0);
    EXPECT_FALSE(reader.extract_directory(temp.wide("target"), u"commands"));
    EXPECT_EQ(temp.read("target/a"), "1");
    EXPECT_FALSE(temp.exists("target/c"));
}
