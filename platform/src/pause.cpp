// pause.cpp - the thread sleep (Sleep). A sleep keeps the thread's windows
// on the screen: what was drawn before it is shown, windows uncovered or
// restored during it are shown again and their input is queued (the window
// service does both), and it wakes only when the display sends something.
// The deadline is on the precise monotonic clock.
#include <errno.h>
#include <sched.h>
#include <time.h>

#include <cstdint>

#include <windows.h>

#include "window_service.h"

void Sleep(DWORD milliseconds) {
    // What was drawn before a pause is on the screen during it.
    platform::PresentDirtyWindows();
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t deadlineNs = static_cast<uint64_t>(now.tv_sec) * 1'000'000'000u +
                                static_cast<uint64_t>(now.tv_nsec) + uint64_t{milliseconds} * 1'000'000u;
    platform::WaitKeepingWindowsShown(deadlineNs);
    const timespec deadline{static_cast<time_t>(deadlineNs / 1'000'000'000u),
                            static_cast<long>(deadlineNs % 1'000'000'000u)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}
