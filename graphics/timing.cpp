// Timing: a pause, the millisecond clock and a once-per-interval test, on
// the real clock or on the virtual one of headless runs.
#include <ctime>

#include "graphics_internal.h"
#include "headless.h"

namespace {
// When IntervalPassed last returned true (or first ran), shared by all callers.
uint32_t intervalStamp = 0;
bool intervalStampSet = false;
}  // namespace

void PauseMs(uint32_t milliseconds) {
    if (!graphics_headless::VirtualTime()) Sleep(milliseconds);
    graphics_headless::PauseEnded(milliseconds);
}

uint32_t ClockMs() { return graphics_headless::VirtualTime() ? graphics_headless::VirtualClockMs() : timeGetTime(); }

bool TimeIsVirtual() { return graphics_headless::VirtualTime(); }

int64_t CalendarSeconds() {
    if (graphics_headless::VirtualTime()) return graphics_headless::VirtualCalendarSeconds();
    return static_cast<int64_t>(std::time(nullptr));
}

bool IntervalPassed(uint32_t interval) {
    // The first call starts the first period.
    if (!intervalStampSet) {
        intervalStamp = ClockMs();
        intervalStampSet = true;
    }
    uint32_t now = ClockMs();
    // Unsigned difference: a wrap of the clock does no harm.
    if (now - intervalStamp < interval) return false;
    // The next period starts with the call that says it has passed.
    intervalStamp = now;
    return true;
}
