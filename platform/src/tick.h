// tick.h - the message steps' tick: a flag raised once every step of the
// coarse clock (a few milliseconds) while the program makes message steps,
// so that a step reads the clock
// only when time may have passed that matters (input due to be read from
// the display, drawing due to be shown) instead of at every library call.
//
// The desktop (tick.cpp) raises it from a thread of its own, which rests
// while no step takes the flag (the program sleeps, waits or computes) and
// is woken by the next step that does. The browser (tick_web.cpp) has no
// such thread: there the flag stays raised and every step reads the clock.
#ifndef PLATFORM_TICK_H
#define PLATFORM_TICK_H

#include <atomic>

namespace platform {
namespace tick {

// Raised: time may have passed since a step last took the tick. Raised
// until the ticker runs, and for good where none can run.
extern std::atomic<bool> due;

// Starts the ticker, once; where no thread can be started the flag stays
// raised.
void Start();

inline bool Due() { return due.load(std::memory_order_relaxed); }

// A message step takes the raised flag: it reads the clock now. The flag is
// lowered (while a ticker runs) and a resting ticker goes on.
void Take();

}  // namespace tick
}  // namespace platform

#endif
