#include "platform/screen/WindowPlacement.h"

#include <gtest/gtest.h>

using namespace platform;
using namespace platform::detail;

TEST(WindowPlacement, ForcedSizeOpensThatManyPixelsInAWindow)
{
    WindowPlacement placement = place_window(Size { 240, 320 }, Size { 360, 720 });
    EXPECT_EQ(placement.size, (Size { 240, 320 }));
    EXPECT_FALSE(placement.full_screen);
    // Pixels, not logical pixels: a high-density display must not double them.
    EXPECT_FALSE(placement.high_density);
}

TEST(WindowPlacement, PhoneDisplayIsFilledAtItsSize)
{
    for (Size phone : { Size { 360, 720 }, Size { 720, 1440 }, Size { 320, 480 } }) {
        WindowPlacement placement = place_window(std::nullopt, phone);
        EXPECT_EQ(placement.size, phone);
        EXPECT_TRUE(placement.full_screen);
        EXPECT_TRUE(placement.high_density);
    }
}

TEST(WindowPlacement, DesktopDisplayGetsTheDeviceWindow)
{
    WindowPlacement placement = place_window(std::nullopt, Size { 1920, 1080 });
    EXPECT_EQ(placement.size, DESKTOP_WINDOW);
    EXPECT_FALSE(placement.full_screen);
    EXPECT_TRUE(placement.high_density);
    // Just wider than a phone, and too low for the whole window.
    placement = place_window(std::nullopt, Size { 721, 600 });
    EXPECT_EQ(placement.size, (Size { 480, 600 }));
    EXPECT_FALSE(placement.full_screen);
}

TEST(WindowPlacement, UnknownDisplayGetsTheDeviceWindow)
{
    EXPECT_EQ(place_window(std::nullopt, std::nullopt).size, DESKTOP_WINDOW);
    EXPECT_EQ(place_window(std::nullopt, Size { 0, 0 }).size, DESKTOP_WINDOW);
    EXPECT_FALSE(place_window(std::nullopt, Size { 0, 0 }).full_screen);
}

TEST(WindowPlacement, ScreenSizeTextIsWidthByHeight)
{
    EXPECT_EQ(parse_screen_size("360x720"), (Size { 360, 720 }));
    EXPECT_EQ(parse_screen_size("8192x1"), (Size { 8192, 1 }));
    for (const char* bad : { "", "360", "360x", "x720", "0x720", "360x-1", "8193x100", "360x720x2",
             "360x720 ", "abc" })
        EXPECT_EQ(parse_screen_size(bad), std::nullopt) << bad;
    EXPECT_EQ(parse_screen_size(nullptr), std::nullopt);
}

TEST(WindowPlacement, HighDensityPointerPositionsAreScaledToPixels)
{
    Size window { 360, 720 };
    Size drawable { 720, 1440 };
    EXPECT_EQ(window_to_screen({ 0, 0 }, window, drawable), (Point { 0, 0 }));
    EXPECT_EQ(window_to_screen({ 180, 719 }, window, drawable), (Point { 360, 1438 }));
    EXPECT_EQ(window_to_screen({ 17, 33 }, window, window), (Point { 17, 33 }));
    // A window SDL has not measured leaves the point alone.
    EXPECT_EQ(window_to_screen({ 5, 6 }, Size {}, drawable), (Point { 5, 6 }));
}
