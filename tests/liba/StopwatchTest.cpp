#include "liba/Stopwatch.h"
#include "platform/Tick.h"

#include <gtest/gtest.h>

using namespace liba;

namespace {

std::uint32_t fake_now = 0;
std::uint32_t fake_ticks()
{
    return fake_now;
}

class FakeClock : public ::testing::Test {
protected:
    void SetUp() override { previous = platform::set_tick_source(&fake_ticks); }
    void TearDown() override { platform::set_tick_source(previous); }
    platform::TickSource previous = nullptr;
};

} // namespace

TEST_F(FakeClock, ElapsedIsMillisecondsAsSeconds)
{
    fake_now = 5000;
    Stopwatch stopwatch;
    EXPECT_EQ(stopwatch.start(), 5000.0);
    fake_now = 7700;
    EXPECT_DOUBLE_EQ(stopwatch.elapsed(), 2.7);
    stopwatch.restart();
    EXPECT_EQ(stopwatch.elapsed(), 0.0);
}

TEST_F(FakeClock, ElapsedSurvivesTheWrapOfTheTickCount)
{
    fake_now = 0xFFFFFF00u;
    Stopwatch stopwatch;
    fake_now = 0x100u;
    EXPECT_DOUBLE_EQ(stopwatch.elapsed(), 0.512);
}

TEST(TickCount, RestoresTheMonotonicClock)
{
    platform::TickSource previous = platform::set_tick_source(&fake_ticks);
    fake_now = 12345;
    EXPECT_EQ(platform::tick_count(), 12345u);
    EXPECT_EQ(platform::set_tick_source(previous), &fake_ticks);
    std::uint32_t before = platform::tick_count();
    platform::sleep(20);
    std::uint32_t passed = platform::tick_count() - before;
    EXPECT_GE(passed, 20u);
    EXPECT_LT(passed, 5000u);
}

TEST(TickCount, GlobalStopwatchRunsFromProgramStart)
{
    Stopwatch& global = global_stopwatch();
    EXPECT_EQ(&global, &global_stopwatch());
    EXPECT_GE(global.elapsed(), 0.0);
    EXPECT_LT(global.elapsed(), 600.0);
}
