// The Windows build's start of a death test's child, tried again after a
// failed start (the tests' own harness; there is nothing like it elsewhere).
#ifdef _WIN32
#include <gtest/gtest.h>

#include "child_start_windows.h"

TEST(ChildStart, AFailedStartIsTriedAgainAndAStartThatNeverWorksIsReportedWithItsError) {
    int calls = 0;
    auto failingTwice = [&] {
        ++calls;
        if (calls <= 2) {
            SetLastError(ERROR_INTERNAL_ERROR);
            return FALSE;
        }
        return TRUE;
    };
    EXPECT_TRUE(child_start::TryAgainOnFailure(failingTwice, child_start::kTries, 1));
    EXPECT_EQ(calls, 3);

    calls = 0;
    auto neverWorking = [&] {
        ++calls;
        SetLastError(ERROR_INTERNAL_ERROR);
        return FALSE;
    };
    EXPECT_FALSE(child_start::TryAgainOnFailure(neverWorking, child_start::kTries, 1));
    EXPECT_EQ(calls, child_start::kTries);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNAL_ERROR));
}
#endif
