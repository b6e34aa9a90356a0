#include "app/TagBackup.h"
#include "os/ChunkFile.h"

#include "DocumentFixture.h"

#include <csignal>
#include <filesystem>
#include <map>
#include <sys/resource.h>

namespace {

using Files = std::map<std::string, std::string>;

class TagBackup : public DocumentFixture {
protected:
    std::string folder() const { return temp.native("app/commands"); }

    void put(const std::string& name, const std::string& bytes) const
    {
        temp.write("app/commands/" + name, bytes);
    }

    // Every file of the commands folder, by name.
    Files files() const
    {
        Files result;
        std::error_code error;
        for (auto& entry : std::filesystem::directory_iterator(folder(), error)) {
            if (entry.is_regular_file())
                result[entry.path().filename().string()]
                    = temp.read("app/commands/" + entry.path().filename().string());
        }
        return result;
    }

    // Tag-like files of several sizes, one of them larger than a copy block.
    Files fill(int tags)
    {
        put("commands.xml", "<?xml version=\"1.0\"?><commands/>");
        for (int i = 1; i <= tags; ++i) {
            char name[8];
            std::snprintf(name, sizeof name, "%03d", i);
            std::string tag(static_cast<std::size_t>(100 + 37 * i), '\0');
            for (std::size_t k = 0; k < tag.size(); ++k)
                tag[k] = static_cast<char>((k * 131 + static_cast<std::size_t>(i)) & 0xFF);
            put(std::string(name) + ".tag", tag);
            put(std::string(name) + ".wav", std::string(i == 7 ? 70000 : 3000 + i, char(i)));
        }
        return files();
    }

    // An archive made entry by entry, as another program might write one.
    std::u16string archive(const std::vector<std::pair<std::u16string, std::string>>& entries)
    {
        std::u16string path = temp.wide("made.vcb");
        os::ChunkFile file(path, 1);
        for (auto& [name, data] : entries) {
            EXPECT_TRUE(file.begin_chunk(name));
            file.write(data.data(), static_cast<std::uint32_t>(data.size()));
            EXPECT_TRUE(file.end_chunk());
        }
        return path;
    }

    static std::string version(std::int32_t value)
    {
        auto v = static_cast<std::uint32_t>(value);
        return { char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24) };
    }
};

// Files larger than `bytes` cannot be written while the object lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previous_signal_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previous_signal_);
    }

private:
    rlimit previous_ {};
    void (*previous_signal_)(int);
};

} // namespace

TEST(TagBackupPath, VcbIsAppendedUnlessTheExtensionIsVcbInAnyCase)
{
    EXPECT_EQ(backup_file_path(u"/tmp/tags"), u"/tmp/tags.vcb");
    EXPECT_EQ(backup_file_path(u"/tmp/tags.VCB"), u"/tmp/tags.VCB");
    EXPECT_EQ(backup_file_path(u"/tmp/tags.vCb"), u"/tmp/tags.vCb");
    EXPECT_EQ(backup_file_path(u"/tmp/tags.vcbx"), u"/tmp/tags.vcbx.vcb");
    // The dot must follow the last separator.
    EXPECT_EQ(backup_file_path(u"/tmp/old.vcb/tags"), u"/tmp/old.vcb/tags.vcb");
}

TEST_F(TagBackup, AnEmptyFolderGivesOnlyTheVersionEntry)
{
    std::filesystem::create_directories(folder());
    ASSERT_TRUE(backup_tags(temp.wide("empty")));
    std::string bytes = temp.read("empty.vcb");
    ASSERT_EQ(bytes.size(), 68u);
    // Name length 56, the name in UTF-16LE, data length 4, the value 100.
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x38\0\0\0", 4));
    EXPECT_EQ(bytes.substr(4, 4), std::string("V\0O\0", 4));
    EXPECT_EQ(bytes.substr(60, 8), std::string("\x04\0\0\0\x64\0\0\0", 8));
    // No partial file is left beside it.
    for (auto& entry : std::filesystem::directory_iterator(temp.native()))
        EXPECT_EQ(entry.path().filename().string().find("empty.vcb."), std::string::npos)
            << entry.path();
}

TEST_F(TagBackup, FiftyTagsComeBackByteForByte)
{
    Files before = fill(50);
    ASSERT_EQ(before.size(), 101u);
    ASSERT_TRUE(backup_tags(temp.wide("all.vcb")));
    // Change everything: a file goes, one changes, one is new.
    std::filesystem::remove(folder() + "/001.tag");
    put("002.wav", "changed");
    put("999.tag", "new");
    ASSERT_TRUE(restore_tags(temp.wide("all")));
    EXPECT_EQ(files(), before);
    // Nothing of the swap stays beside the folder.
    for (auto& entry : std::filesystem::directory_iterator(temp.native("app")))
        EXPECT_EQ(entry.path().filename().string().find("commands."), std::string::npos)
            << entry.path();
}

TEST_F(TagBackup, TheVersionEntryMayComeLaterAndEntriesBeforeItCount)
{
    auto path = archive({ { u"commands/001.tag", "first" }, { u"other/x", "skip" },
        { u"VOICE_COMMAND_BACKUP_VERSION", version(100) }, { u"COMMANDS\\002.tag", "second" },
        { u"commands/sub/003.tag", "deeper" } });
    put("old.tag", "old");
    ASSERT_TRUE(restore_tags(path));
    EXPECT_EQ(files(), (Files { { "001.tag", "first" }, { "002.tag", "second" } }));
    EXPECT_FALSE(temp.exists("app/x"));
    EXPECT_FALSE(temp.exists("app/commands/sub"));
}

TEST_F(TagBackup, RefusedArchivesChangeNothing)
{
    Files before = fill(3);
    ASSERT_TRUE(backup_tags(temp.wide("good.vcb")));
    std::string good = temp.read("good.vcb");

    // Another version, no version entry, a wrong case of its name.
    EXPECT_FALSE(restore_tags(archive(
        { { u"VOICE_COMMAND_BACKUP_VERSION", version(101) }, { u"commands/001.tag", "x" } })));
    EXPECT_FALSE(restore_tags(archive({ { u"commands/001.tag", "x" } })));
    EXPECT_FALSE(restore_tags(archive({ { u"voice_command_backup_version", version(100) } })));
    EXPECT_FALSE(restore_tags(temp.wide("missing.vcb")));
    EXPECT_EQ(files(), before);

    // Cut short anywhere after the version entry: still nothing changes.
    for (std::size_t cut : { std::size_t(69), good.size() / 2, good.size() - 1 }) {
        temp.write("cut.vcb", good.substr(0, cut));
        EXPECT_FALSE(restore_tags(temp.wide("cut.vcb"))) << cut;
        EXPECT_EQ(files(), before) << cut;
    }
}

TEST_F(TagBackup, HostileNamesNeverLeaveTheFolder)
{
    auto path = archive({ { u"VOICE_COMMAND_BACKUP_VERSION", version(100) },
        { u"commands/../escaped", "x" }, { u"commands/..", "x" }, { u"commands/.", "x" },
        { std::u16string(u"commands/a\0b", 12), "x" }, { u"commands/", "x" },
        { u"commands/kept.tag", "kept" } });
    ASSERT_TRUE(restore_tags(path));
    EXPECT_EQ(files(), (Files { { "kept.tag", "kept" } }));
    EXPECT_FALSE(temp.exists("app/escaped"));
    EXPECT_FALSE(temp.exists("escaped"));
}

TEST_F(TagBackup, AFullDiskKeepsTheOldTagsAndTheOldBackup)
{
    Files before = fill(8);
    ASSERT_TRUE(backup_tags(temp.wide("big.vcb")));
    std::string backup = temp.read("big.vcb");
    {
        // The 70 000-byte recording cannot be written again.
        FileSizeLimit limit(40000);
        EXPECT_FALSE(restore_tags(temp.wide("big.vcb")));
        EXPECT_FALSE(backup_tags(temp.wide("big.vcb")));
    }
    EXPECT_EQ(files(), before);
    EXPECT_EQ(temp.read("big.vcb"), backup);
    for (auto& entry : std::filesystem::directory_iterator(temp.native()))
        EXPECT_EQ(entry.path().filename().string().find("big.vcb."), std::string::npos)
            << entry.path();
}
