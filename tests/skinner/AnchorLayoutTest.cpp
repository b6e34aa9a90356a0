#include "skinner/AnchorLayout.h"

#include <gtest/gtest.h>

using skinner::Anchor;
using skinner::AxisPlacement;
using skinner::lay_out_axis;

TEST(AnchorLayout, EveryKeywordOnAGrownContainer)
{
    // Designed at 30 with length 20 in a container of 100, now at origin 5
    // with size 200.
    EXPECT_EQ(lay_out_axis(Anchor::MIN_SIDE, 5, 200, 30, 20, 100), (AxisPlacement { 35, 20 }));
    EXPECT_EQ(lay_out_axis(Anchor::BOTH_SIDE, 5, 200, 30, 20, 100), (AxisPlacement { 35, 120 }));
    EXPECT_EQ(lay_out_axis(Anchor::MAX_SIDE, 5, 200, 30, 20, 100), (AxisPlacement { 135, 20 }));
    EXPECT_EQ(lay_out_axis(Anchor::RATIO, 5, 200, 30, 20, 100), (AxisPlacement { 65, 40 }));
    // Centre 40 of 100 becomes 80 of 200, the length stays.
    EXPECT_EQ(lay_out_axis(Anchor::CENTER, 5, 200, 30, 20, 100), (AxisPlacement { 75, 20 }));
}

TEST(AnchorLayout, DivisionsTruncateTowardZero)
{
    // RATIO: 7 * 10 / 3 = 23, 7 * 15 / 3 - 23 = 35 - 23 = 12.
    EXPECT_EQ(lay_out_axis(Anchor::RATIO, 0, 7, 10, 5, 3), (AxisPlacement { 23, 12 }));
    // A control left of the container's origin: -7 * 10 / 3 = -23, not -24.
    EXPECT_EQ(lay_out_axis(Anchor::RATIO, 0, 7, -10, 5, 3), (AxisPlacement { -23, 12 }));
    // CENTER with an odd length: e/2 truncates to 2 on both sides.
    EXPECT_EQ(lay_out_axis(Anchor::CENTER, 0, 9, 1, 5, 4), (AxisPlacement { 4, 5 }));
}

TEST(AnchorLayout, RatioAndCenterKeepTheDesignPositionWithoutADesignSize)
{
    EXPECT_EQ(lay_out_axis(Anchor::RATIO, 10, 300, 30, 20, 0), (AxisPlacement { 40, 20 }));
    EXPECT_EQ(lay_out_axis(Anchor::CENTER, 10, 300, 30, 20, 0), (AxisPlacement { 40, 20 }));
    // A shrunk container: BOTH_SIDE may give a negative length.
    EXPECT_EQ(lay_out_axis(Anchor::BOTH_SIDE, 0, 50, 10, 20, 100), (AxisPlacement { 10, -30 }));
}
