#include "liba/ZipFile.h"

#include "os/File.h"
#include "tools/skinc/ZipWriter.h"

#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <fstream>

using liba::ZipFile;

namespace {

std::vector<std::uint8_t> bytes(const std::string& text)
{
    return { text.begin(), text.end() };
}

std::u16string write(
    const TempDirectory& directory, const std::string& name, const std::vector<std::uint8_t>& data)
{
    std::ofstream(directory.native(name), std::ios::binary)
        .write(
            reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return directory.wide(name);
}

ZipFile open_zip(const std::u16string& path)
{
    return ZipFile(std::make_unique<os::File>(path, 0));
}

std::vector<std::u16string> walk(ZipFile& zip)
{
    std::vector<std::u16string> names;
    zip.rewind();
    while (zip.next_entry())
        names.push_back(zip.entry_name());
    return names;
}

std::string read_all(ZipFile& zip)
{
    std::string text(zip.size(), '\0');
    zip.seek(0);
    text.resize(zip.read(text.data(), static_cast<std::uint32_t>(text.size())));
    return text;
}

} // namespace

TEST(ZipFile, WalksStoredEntriesAndFindsThemByNameOrExtension)
{
    TempDirectory directory;
    auto path = write(directory, "a.zip",
        skinc::write_zip({ { "start.wav", bytes("RIFF....") }, { "img/Back.BMP", bytes("BM") },
            { "Main.Skin", bytes("skin data") }, { "empty", {} } }));
    ZipFile zip = open_zip(path);
    EXPECT_EQ(walk(zip),
        (std::vector<std::u16string> { u"start.wav", u"img/Back.BMP", u"Main.Skin", u"empty" }));

    ASSERT_TRUE(zip.find_extension(u"skin"));
    EXPECT_EQ(zip.entry_name(), u"Main.Skin");
    EXPECT_EQ(read_all(zip), "skin data");
    ASSERT_TRUE(zip.find_entry(u"img/back.bmp"));
    EXPECT_EQ(read_all(zip), "BM");
    ASSERT_TRUE(zip.find_entry(u"empty"));
    EXPECT_EQ(zip.size(), 0u);
    EXPECT_FALSE(zip.find_entry(u"back.bmp"));
    EXPECT_FALSE(zip.find_extension(u"png"));
    EXPECT_FALSE(zip.has_entry());
}

TEST(ZipFile, EntryStreamStaysInsideItsEntry)
{
    TempDirectory directory;
    ZipFile zip = open_zip(write(directory, "a.zip",
        skinc::write_zip({ { "one", bytes("0123456789") }, { "two", bytes("abc") } })));
    ASSERT_TRUE(zip.find_entry(u"one"));
    char buffer[32] = {};
    EXPECT_EQ(zip.skip(4), 4u);
    EXPECT_EQ(zip.tell(), 4u);
    EXPECT_EQ(zip.read(buffer, 32), 6u);
    EXPECT_EQ(std::string(buffer, 6), "456789");
    EXPECT_EQ(zip.read(buffer, 1), 0u);
    EXPECT_EQ(zip.skip(5), 0u);
    EXPECT_FALSE(zip.seek(11));
    EXPECT_TRUE(zip.seek(10));
    EXPECT_EQ(zip.write("x", 1), 0u);
    EXPECT_EQ(zip.available(), 10u);
}

TEST(ZipFile, WalkEndsAtCompressedEntriesOtherSignaturesAndShortReads)
{
    TempDirectory directory;
    auto compressed = skinc::write_zip(
        { { "a", bytes("aa") }, { "packed", bytes("xyz"), 8, 40 }, { "c.skin", bytes("c") } });
    ZipFile first = open_zip(write(directory, "packed.zip", compressed));
    EXPECT_EQ(walk(first), (std::vector<std::u16string> { u"a" }));
    EXPECT_FALSE(first.find_extension(u"skin"));

    // A stored entry whose sizes disagree counts as compressed.
    auto disagree = skinc::write_zip({ { "a.skin", bytes("aa") } });
    disagree[22] = 3;
    ZipFile second = open_zip(write(directory, "disagree.zip", disagree));
    EXPECT_TRUE(walk(second).empty());

    auto cut = skinc::write_zip({ { "a", bytes("aa") }, { "b.skin", bytes("0123456789") } });
    cut.resize(30 + 1 + 2 + 30 + 6 + 4);
    ZipFile third = open_zip(write(directory, "cut.zip", cut));
    EXPECT_EQ(walk(third), (std::vector<std::u16string> { u"a", u"b.skin" }));
    ASSERT_TRUE(third.find_extension(u"skin"));
    EXPECT_EQ(third.size(), 10u);
    EXPECT_EQ(third.available(), 4u);
    char buffer[16];
    EXPECT_EQ(third.read(buffer, 16), 4u);

    ZipFile plain
        = open_zip(write(directory, "plain.skin", bytes("not an archive at all, but long enough")));
    EXPECT_TRUE(walk(plain).empty());
    ZipFile tiny = open_zip(write(directory, "tiny", bytes("PK")));
    EXPECT_TRUE(walk(tiny).empty());
}

TEST(ZipFile, MissingFileRefusesAllWork)
{
    TempDirectory directory;
    ZipFile zip = open_zip(directory.wide("missing.zip"));
    EXPECT_TRUE(zip.refused());
    EXPECT_FALSE(zip.next_entry());
    char buffer[4];
    EXPECT_EQ(zip.read(buffer, 4), 0u);
    EXPECT_EQ(zip.size(), 0u);
    ASSERT_EQ(zip.ResourceReader::errors.size(), 1u);
    EXPECT_EQ(zip.ResourceReader::errors[0], u"can't open file");

    // No stream at all refuses the same way, and nothing is dereferenced.
    ZipFile none(nullptr);
    EXPECT_TRUE(none.refused());
    EXPECT_FALSE(none.find_extension(u"skin"));
    EXPECT_EQ(none.available(), 0u);
}

TEST(ZipFile, ExtensionIsTheTextAfterTheLastDotOfTheFileName)
{
    EXPECT_EQ(ZipFile::extension_of(u"a/b.c/skin"), u"");
    EXPECT_EQ(ZipFile::extension_of(u"a\\b.c\\d.Skin"), u"Skin");
    EXPECT_EQ(ZipFile::extension_of(u"archive.tar.skin"), u"skin");
    EXPECT_EQ(ZipFile::extension_of(u"noextension"), u"");
    EXPECT_EQ(ZipFile::extension_of(u"trailing."), u"");
}
