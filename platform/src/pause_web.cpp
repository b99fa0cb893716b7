// pause_web.cpp - the thread sleep (Sleep) of the web build, on the
// browser's monotonic clock (performance.now(), which the runtime's
// CLOCK_MONOTONIC reads; the millisecond clocks are time.cpp's, as on
// Linux). A sleep, even of 0 ms, gives the browser its turn (Asyncify): the
// page shows what was drawn and queues the input that arrives, which the
// window service takes as it comes.
#include <emscripten.h>
#include <time.h>

#include <cstdint>

#include <windows.h>

#include "display_web.h"
#include "window_service.h"

namespace {

uint64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(ts.tv_nsec);
}

}  // namespace

void Sleep(DWORD milliseconds) {
    // What was drawn before a pause is on the screen during it.
    platform::PresentDirtyWindows();
    const uint64_t deadlineNs = MonotonicNs() + uint64_t{milliseconds} * 1'000'000u;
    platform::WaitKeepingWindowsShown(deadlineNs);
    const uint64_t now = MonotonicNs();
    platform::display::ShowPending();
    emscripten_sleep(now < deadlineNs ? static_cast<unsigned>((deadlineNs - now) / 1'000'000u) : 0);
}
