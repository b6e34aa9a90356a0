#include "os/Application.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("XDG_RUNTIME_DIR", temp.native().c_str(), 1);
        ::setenv("RINGWISE_REGISTRY", temp.native("registry.db").c_str(), 1);
    }
    void TearDown() override
    {
        ::unsetenv("XDG_RUNTIME_DIR");
        ::unsetenv("RINGWISE_REGISTRY");
    }

    TempDirectory temp;
};

TEST_F(ApplicationTest, TheFirstProcessOfAModeFindsNoneAndHoldsTheLockUntilReleased)
{
    os::Application application(7);
    EXPECT_EQ(os::Application::instance(), &application);
    EXPECT_EQ(application.instance_handle(), 7u);
    EXPECT_FALSE(application.check_previous_instance(u"  -17ab", u"Ringwise_test"));
    EXPECT_FALSE(application.found());
    EXPECT_EQ(application.window_class(), u"SkinnerClass_Ringwise_test");
    EXPECT_EQ(application.command_line(), u"  -17ab");
    EXPECT_TRUE(temp.exists("SkinnerClass_Ringwise_test.lock"));
    application.release_instance_lock();
}

using ApplicationDeathTest = ApplicationTest;

TEST_F(ApplicationDeathTest, ASecondApplicationIsABrokenRule)
{
    EXPECT_EXIT(
        {
            os::Application first(1);
            os::Application second(1);
        },
        ::testing::ExitedWithCode(70), "instance != 0");
}

TEST_F(ApplicationDeathTest, AWindowClassNameLongerThan38CharactersIsABrokenRule)
{
    // "SkinnerClass_" and 25 characters are 38: still allowed.
    {
        os::Application application(1);
        EXPECT_FALSE(application.check_previous_instance(u"", u"abcdefghijklmnopqrstuvwxy"));
    }
    EXPECT_EXIT(
        {
            os::Application application(1);
            application.check_previous_instance(u"", u"abcdefghijklmnopqrstuvwxyz");
        },
        ::testing::ExitedWithCode(70), "Application name is too long. Sorry.");
}

} // namespace
