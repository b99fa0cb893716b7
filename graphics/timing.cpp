// Timing: a pause, the millisecond clock and a once-per-interval test.
#include "graphics_internal.h"

namespace {
// When IntervalPassed last returned true (or first ran), shared by all callers.
uint32_t intervalStamp = 0;
bool intervalStampSet = false;
}  // namespace

void PauseMs(uint32_t milliseconds) { Sleep(milliseconds); }

uint32_t ClockMs() { return timeGetTime(); }

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
