// The pause, the millisecond clock and the once-per-interval test.
//
// A busy machine may run any of these calls late, so every assertion holds
// for any delay: where a result depends on how much time passed between
// two calls, the clock is read around them and the result is only judged
// when those readings settle it.
#include <gtest/gtest.h>

#include <algorithm>

#include "graphics_internal.h"

namespace {

TEST(Timing, ClockFollowsThePlatformClockAndAPause) {
    uint32_t platformBefore = timeGetTime();
    uint32_t ours = ClockMs();
    uint32_t platformAfter = timeGetTime();
    EXPECT_LE(ours - platformBefore, platformAfter - platformBefore);
    PauseMs(60);
    uint32_t elapsed = ClockMs() - ours;
    EXPECT_GE(elapsed, 55u);
    EXPECT_LT(elapsed, 60000u);
}

TEST(Timing, ZeroIntervalIsAlwaysPassed) {
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(IntervalPassed(0));
}

TEST(Timing, NewPeriodStartsAtTheCallThatReturnedTrue) {
    uint32_t before = ClockMs();
    ASSERT_TRUE(IntervalPassed(0));  // the shared period starts now
    bool passedEarly = IntervalPassed(1000);
    if (ClockMs() - before < 1000) {
        EXPECT_FALSE(passedEarly);
    }

    PauseMs(400);
    before = ClockMs();
    EXPECT_TRUE(IntervalPassed(100));  // at least 400 ms after the start
    bool passed = IntervalPassed(250);
    uint32_t after = ClockMs();
    // Since the true call at most after - before ms have passed; since the
    // end of the previous period (100 ms after the start) at least 300 ms.
    // Measured from the true call, the period is not over.
    if (after - before < 250) {
        EXPECT_FALSE(passed);
    }
}

TEST(Timing, CallersShareOneTimestamp) {
    ASSERT_TRUE(IntervalPassed(0));
    PauseMs(300);
    uint32_t before = ClockMs();
    EXPECT_TRUE(IntervalPassed(250));  // one caller's period is over...
    bool second = IntervalPassed(250);  // ...which restarts every caller's
    bool third = IntervalPassed(280);
    uint32_t after = ClockMs();
    if (after - before < 250) {
        EXPECT_FALSE(second);
        EXPECT_FALSE(third);
    }
}

TEST(Timing, FrequentCallsPassOncePerInterval) {
    const uint32_t interval = 40;
    uint32_t start = ClockMs();
    ASSERT_TRUE(IntervalPassed(0));
    uint32_t lastTrueBefore = start;  // no later than the true call's own reading
    uint32_t previousBefore = start;
    uint32_t longestGap = 0;          // between two calls' own clock readings, at most
    uint32_t now = start;
    int passes = 0;
    while (now - start < 300) {
        uint32_t before = ClockMs();
        bool passed = IntervalPassed(interval);
        now = ClockMs();
        longestGap = std::max(longestGap, now - previousBefore);
        previousBefore = before;
        if (passed) {
            // A period lasts at least the interval.
            EXPECT_GE(now - lastTrueBefore, interval);
            lastTrueBefore = before;
            ++passes;
        }
        PauseMs(1);
    }
    uint32_t span = now - start;
    // Never more than one pass an interval; and a period ends at the first
    // call after its interval, so it lasts at most the interval plus the
    // longest gap between calls (the last call came at most that gap
    // before the last reading).
    EXPECT_LE(passes, static_cast<int>(span / interval) + 1);
    if (span > longestGap) {
        EXPECT_GE(passes, static_cast<int>((span - longestGap) / (interval + longestGap + 1)) - 1);
    }
}

}  // namespace
