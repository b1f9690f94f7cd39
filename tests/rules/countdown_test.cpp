#include "countdown.h"

#include <gtest/gtest.h>

TEST(Countdown, StartValueOfEachMode) {
    EXPECT_EQ(Countdown::startValue(0), 60);
    EXPECT_EQ(Countdown::startValue(1), 30);
    EXPECT_EQ(Countdown::startValue(2), std::nullopt);
    EXPECT_EQ(Countdown::startValue(-1), std::nullopt);
}

class CountdownOfMode : public testing::TestWithParam<int> {};

TEST_P(CountdownOfMode, ShowsStartDownToZeroThenCompletes) {
    const int start = *Countdown::startValue(GetParam());
    Countdown countdown;
    countdown.start(start);
    for (int expected = start; expected >= 0; --expected) {
        const CountdownTick tick = countdown.tick();
        ASSERT_FALSE(tick.complete) << "tick showing " << expected;
        EXPECT_EQ(tick.shown, expected);
    }
    EXPECT_EQ(countdown.remaining(), -1);
    EXPECT_TRUE(countdown.tick().complete);
    EXPECT_TRUE(countdown.tick().complete) << "a late tick must not show -1 or start again";
    EXPECT_EQ(countdown.remaining(), -1);
}

INSTANTIATE_TEST_SUITE_P(Modes, CountdownOfMode, testing::Values(0, 1));
