// tick.cpp - the message steps' tick on the desktop (tick.h): a thread
// raises the flag once every step of the kernel's coarse clock (the clock
// the window service reads: 4 ms on most systems, 1 ms on some; kept within
// those), since before the clock has moved no time has passed that a step
// could see. When no step has taken the flag for a while (kRestTicks), the
// thread rests on a condition variable until a step takes it again, so that
// a program that waits or sleeps is not woken hundreds of times a second.
#include "tick.h"

#include <time.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace platform {
namespace tick {

std::atomic<bool> due{true};

namespace {

// The coarse clock's step, within 1 to 4 ms.
std::chrono::nanoseconds TickLength() {
    timespec resolution{};
    long ns = 4'000'000;
#ifdef CLOCK_MONOTONIC_COARSE
    if (clock_getres(CLOCK_MONOTONIC_COARSE, &resolution) == 0 && resolution.tv_sec == 0) ns = resolution.tv_nsec;
#endif
    return std::chrono::nanoseconds(std::clamp(ns, 1'000'000L, 4'000'000L));
}

// Ticks no step took before the ticker rests: fewer than a game's pause
// between two frames, so that a game wakes it once a frame, not every tick.
constexpr int kRestTicks = 2;

struct Ticker {
    std::mutex lock;
    std::condition_variable woken;
    std::atomic<bool> resting{false};
};

// Made once and never destroyed: the thread runs until the process ends,
// past the destructors of static objects.
Ticker* ticker = nullptr;

void Run(Ticker* t) {
    const std::chrono::nanoseconds tick = TickLength();
    int untaken = 0;
    for (;;) {
        std::this_thread::sleep_for(tick);
        if (!due.exchange(true, std::memory_order_relaxed)) {
            untaken = 0;  // a step took the last tick
            continue;
        }
        if (++untaken < kRestTicks) continue;
        // Resting: the flag is raised after `resting`, so the next step to
        // see it raised also sees that the ticker rests, and wakes it.
        std::unique_lock<std::mutex> hold(t->lock);
        t->resting.store(true);
        due.store(true);
        t->woken.wait(hold, [t] { return !t->resting.load(); });
        untaken = 0;
    }
}

}  // namespace

void Start() {
    if (ticker != nullptr) return;
    Ticker* t = new Ticker;
    try {
        std::thread(Run, t).detach();
    } catch (const std::system_error&) {
        delete t;  // no thread: the flag stays raised, every step reads the clock
        return;
    }
    ticker = t;
}

void Take() {
    if (ticker == nullptr) return;
    due.store(false);
    if (ticker->resting.load()) {
        {
            std::lock_guard<std::mutex> hold(ticker->lock);
            ticker->resting.store(false);
        }
        ticker->woken.notify_one();
    }
}

}  // namespace tick
}  // namespace platform
