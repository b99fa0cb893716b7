// Pacing of whole frames. A program that animates without a timer of its
// own, as the game does, runs at the same human speed on every machine only
// if its frames reach the screen at a steady rate. Each window keeps its
// own frame clock; the wait is the thread sleep, finished in short sleeps
// so that a coarse sleep cannot overshoot the frame.
#include "frame_pacing.h"

#include <chrono>
#include <cstdlib>

#include "graphics_internal.h"
#include "headless.h"

int FrameRateFromEnvironment() {
    const char* text = std::getenv("GRAPHICS_FPS");
    if (!text || !*text) return 60;
    char* end = nullptr;
    long fps = std::strtol(text, &end, 10);
    if (*end != '\0' || fps < 0) return 60;
    return fps > 1000 ? 1000 : static_cast<int>(fps);
}

namespace {

// Nanoseconds of a steady clock.
int64_t NowNs() {
#ifdef _WIN32
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    const int64_t perSecond = frequency.QuadPart;
    return now.QuadPart / perSecond * 1'000'000'000 + now.QuadPart % perSecond * 1'000'000'000 / perSecond;
#else
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
#endif
}

}  // namespace

void PaceFrame(int64_t& nextDue) {
    // Virtual time runs frames as fast as they can be drawn.
    const int fps = graphics_headless::VirtualTime() ? 0 : FrameRateFromEnvironment();
    if (fps == 0) {
        nextDue = 0;
        return;
    }
#ifdef _WIN32
    // Sleeps of one millisecond rather than the default timer tick.
    static const bool fineTimer = timeBeginPeriod(1) == TIMERR_NOERROR;
    (void)fineTimer;
#endif
    const int64_t period = 1'000'000'000 / fps;
    int64_t now = NowNs();
    if (nextDue == 0 || now > nextDue + period) {
        // First frame, or a frame so late that catching up would race: start
        // the steady rate afresh from now.
        nextDue = now + period;
        return;
    }
    while (now < nextDue) {
        const int64_t ms = (nextDue - now) / 1'000'000;
        Sleep(ms > 1 ? static_cast<DWORD>(ms - 1) : 0);
        now = NowNs();
    }
    nextDue += period;
}
