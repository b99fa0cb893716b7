// time.cpp - the time service: the thread sleep and the millisecond clocks.
// Both clocks count milliseconds of the system's monotonic clock (time since
// boot, as on Windows) in 32 bits, wrapping to 0 after about 49.7 days.
#include <errno.h>
#include <sched.h>
#include <time.h>

#include <windows.h>

#include "window_service.h"

namespace {

DWORD MonotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1'000'000u;
    return static_cast<DWORD>(ms);
}

}  // namespace

void Sleep(DWORD milliseconds) {
    // What was drawn before a pause is on the screen during it.
    platform::PresentDirtyWindows();
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    timespec ts{static_cast<time_t>(milliseconds / 1000u), static_cast<long>(milliseconds % 1000u) * 1'000'000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

DWORD timeGetTime(void) { return MonotonicMs(); }

DWORD GetTickCount(void) { return MonotonicMs(); }
