#include "skinner/SkinFinder.h"
#include "os/Path.h"
#include "os/Registry.h"
#include "platform/Convert.h"

#include "SkinBuilder.h"

#include <filesystem>

using namespace skin_builder;
using skinner::SkinDevice;
using skinner::SkinFinder;

namespace {

// Special folders and the registry in a temporary directory.
class SkinFinderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("RINGWISE_ROOT", root.native().c_str(), 1);
        setenv("RINGWISE_REGISTRY", root.native("registry.db").c_str(), 1);
        os::reload_special_folders();
        std::filesystem::create_directories(platform::to_utf8(os::expand_path(u"%windows%")));
    }

    void TearDown() override
    {
        unsetenv("RINGWISE_ROOT");
        unsetenv("RINGWISE_REGISTRY");
        os::reload_special_folders();
    }

    void put(const std::string& relative, const skinc::SkinSource& source, bool archive = false)
    {
        std::filesystem::create_directories(
            std::filesystem::path(skins.native(relative)).parent_path());
        write(skins, relative, source, archive);
    }

    std::vector<std::u16string> names(const SkinFinder& finder)
    {
        std::vector<std::u16string> result;
        for (auto& found : finder.skins)
            result.push_back(found.name);
        return result;
    }

    TempDirectory root;
    TempDirectory skins;
    SkinDevice device {};
};

} // namespace

TEST_F(SkinFinderTest, WalksTheWholeTreeFilesBeforeSubdirectoriesAndKeepsWhatFits)
{
    auto other = skin();
    other.version = u"Ringwise_settings_1.0";
    put("b.skin", skin());
    put("a.skin", skin(), true);
    put("z/deep/c.skin", skin());
    put("m/d.SKIN", skin());
    put("m/other.skin", other);
    put("m/notes.txt", skin());
    skins.write("m/broken.skin", "not a skin");

    SkinFinder finder(skins.wide(), u"Ringwise_1.0", { 480, 640 }, u"", device);
    EXPECT_EQ(names(finder), (std::vector<std::u16string> { u"a", u"b", u"d", u"c" }));
    ASSERT_EQ(finder.skins.size(), 4u);
    EXPECT_EQ(finder.skins[2].path, skins.wide("m/d.SKIN"));

    SkinFinder for_settings(skins.wide(), u"Ringwise_settings_1.0", { 0, 0 }, u"", device);
    EXPECT_EQ(names(for_settings), (std::vector<std::u16string> { u"other" }));
    SkinFinder for_other_screen(skins.wide(), u"Ringwise_1.0", { 100, 100 }, u"", device);
    EXPECT_TRUE(for_other_screen.skins.empty());
}

TEST_F(SkinFinderTest, SingleFileSystemFolderAndRegistryFoldersAreSearchedInOrder)
{
    put("one.skin", skin());
    put("elsewhere/two.skin", skin());
    put("registered/three.skin", skin());
    auto windows = platform::to_utf8(os::expand_path(u"%windows%"));
    write_file(windows + "/system.skin", description(skin()));
    std::filesystem::create_directories(windows + "/find.nothing.not");
    write_file(windows + "/find.nothing.not/nested.skin", description(skin()));

    const std::u16string key = u"HKEY_LOCAL_MACHINE\\Software\\Ringwise\\Skins";
    os::RegistryKey registered;
    ASSERT_TRUE(registered.create(key + u"\\First"));
    ASSERT_TRUE(registered.set_string(u"", skins.wide("registered")));
    registered.close();
    os::RegistryKey unreadable;
    ASSERT_TRUE(unreadable.create(key + u"\\Second"));
    unreadable.close();

    SkinFinder finder(skins.wide("one.skin"), u"Ringwise_1.0", { 480, 640 }, key, device);
    EXPECT_EQ(names(finder), (std::vector<std::u16string> { u"one", u"system", u"three" }));
}

TEST_F(SkinFinderTest, LinkBackUpTheTreeDoesNotMakeTheWalkEndless)
{
    put("loop/a.skin", skin());
    std::filesystem::create_directory_symlink(skins.native("loop"), skins.native("loop/again"));
    std::filesystem::create_directory_symlink(skins.native("loop"), skins.native("loop/more"));
    SkinFinder finder(skins.wide("loop"), u"Ringwise_1.0", { 480, 640 }, u"", device);
    EXPECT_EQ(names(finder), (std::vector<std::u16string> { u"a" }));
}
