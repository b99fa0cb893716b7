// The pause, the millisecond clock and the once-per-interval test.
#include <gtest/gtest.h>

#include "graphics_internal.h"

namespace {

TEST(Timing, ClockFollowsThePlatformClockAndAPause) {
    uint32_t before = ClockMs();
    uint32_t platform = timeGetTime();
    EXPECT_LE(platform - before, 5u);
    PauseMs(60);
    uint32_t elapsed = ClockMs() - before;
    EXPECT_GE(elapsed, 55u);
    EXPECT_LT(elapsed, 2000u);
}

TEST(Timing, ZeroIntervalIsAlwaysPassed) {
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(IntervalPassed(0));
}

TEST(Timing, NewPeriodStartsAtTheCallThatReturnedTrue) {
    ASSERT_TRUE(IntervalPassed(0));  // the shared period starts now
    EXPECT_FALSE(IntervalPassed(1000));
    PauseMs(150);
    EXPECT_TRUE(IntervalPassed(100));  // about 150 ms after the start
    PauseMs(60);
    // Measured from the true call (60 ms ago), not from the end of the
    // previous period (which would have made 200 ms pass already).
    EXPECT_FALSE(IntervalPassed(100));
}

TEST(Timing, CallersShareOneTimestamp) {
    ASSERT_TRUE(IntervalPassed(0));
    PauseMs(40);
    EXPECT_TRUE(IntervalPassed(30));   // one caller's period is over...
    EXPECT_FALSE(IntervalPassed(30));  // ...which restarts every caller's
    EXPECT_FALSE(IntervalPassed(35));
}

TEST(Timing, FrequentCallsPassOncePerInterval) {
    ASSERT_TRUE(IntervalPassed(0));
    uint32_t start = ClockMs();
    uint32_t lastTrue = start;
    int passes = 0;
    while (ClockMs() - start < 300) {
        if (IntervalPassed(40)) {
            uint32_t now = ClockMs();
            EXPECT_GE(now - lastTrue, 39u);  // our clock reads lag its own by up to 1 ms
            lastTrue = now;
            ++passes;
        }
        PauseMs(1);
    }
    EXPECT_GE(passes, 4);
    EXPECT_LE(passes, 7);
}

}  // namespace
