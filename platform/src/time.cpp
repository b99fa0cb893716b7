// time.cpp - the time service: the millisecond clocks. Both count
// milliseconds of the system's monotonic clock (time since boot, as on
// Windows) in 32 bits, wrapping to 0 after about 49.7 days. (The thread
// sleep is in pause.cpp.)
#include <time.h>

#include <cstdint>

#include <windows.h>

namespace {

uint64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(ts.tv_nsec);
}

DWORD MonotonicMs() { return static_cast<DWORD>(MonotonicNs() / 1'000'000u); }

}  // namespace

DWORD timeGetTime(void) { return MonotonicMs(); }

DWORD GetTickCount(void) { return MonotonicMs(); }
