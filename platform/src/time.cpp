// time.cpp - the time service: the thread sleep and the millisecond clocks.
// Both clocks count milliseconds of the system's monotonic clock (time since
// boot, as on Windows) in 32 bits, wrapping to 0 after about 49.7 days. A
// sleep keeps the thread's windows on the screen (the window service shows
// uncovered and restored windows again and queues their input), waking
// only when the display sends something.
#include <errno.h>
#include <sched.h>
#include <time.h>

#include <windows.h>

#include "window_service.h"

namespace {

uint64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(ts.tv_nsec);
}

DWORD MonotonicMs() { return static_cast<DWORD>(MonotonicNs() / 1'000'000u); }

}  // namespace

void Sleep(DWORD milliseconds) {
    // What was drawn before a pause is on the screen during it.
    platform::PresentDirtyWindows();
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    const uint64_t deadlineNs = MonotonicNs() + uint64_t{milliseconds} * 1'000'000u;
    platform::WaitKeepingWindowsShown(deadlineNs);
    const timespec deadline{static_cast<time_t>(deadlineNs / 1'000'000'000u),
                            static_cast<long>(deadlineNs % 1'000'000'000u)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

DWORD timeGetTime(void) { return MonotonicMs(); }

DWORD GetTickCount(void) { return MonotonicMs(); }
