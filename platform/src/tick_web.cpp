// tick_web.cpp - the message steps' tick in the browser (tick.h): the page
// runs no thread of ours, so the flag stays raised and every message step
// reads the clock.
#include "tick.h"

namespace platform {
namespace tick {

std::atomic<bool> due{true};

void Start() {}

void Take() {}

}  // namespace tick
}  // namespace platform
