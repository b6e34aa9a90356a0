#include "platform/SharedLibrary.h"

#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

TEST(SharedLibrary, DeviceNamesMapToLinuxLibrariesOnlyWhenTheDeviceFileIsMissing)
{
    TempDirectory temp;
    EXPECT_EQ(platform::library_file(temp.native("RingwiseAssign.dll")),
        temp.native("libRingwiseAssign.so"));
    EXPECT_EQ(platform::library_file(temp.native("setup.DLL")), temp.native("libsetup.so"));
    EXPECT_EQ(platform::library_file("phone.dll"), "libphone.so");
    temp.write("Real.dll", "");
    EXPECT_EQ(platform::library_file(temp.native("Real.dll")), temp.native("Real.dll"));
    EXPECT_EQ(platform::library_file(temp.native("libx.so")), temp.native("libx.so"));
    EXPECT_EQ(platform::library_file(temp.native(".dll")), temp.native(".dll"));
}

TEST(SharedLibrary, AFileThatIsNoLibraryIsReportedNotLoaded)
{
    TempDirectory temp;
    temp.write("libBroken.so", "not a library");
    platform::SharedLibrary broken(temp.native("Broken.dll"));
    EXPECT_FALSE(broken.is_loaded());
    EXPECT_EQ(broken.file(), temp.native("libBroken.so"));
    EXPECT_FALSE(broken.error().empty());
    EXPECT_EQ(broken.symbol("anything"), nullptr);

    platform::SharedLibrary phone(std::string(RINGWISE_BINARY_DIR) + "/bin/phone.dll");
    ASSERT_TRUE(phone.is_loaded()) << phone.error();
    EXPECT_NE(phone.symbol("PhoneMakeCall"), nullptr);
    EXPECT_EQ(phone.symbol("CePimCommand"), nullptr);
}
