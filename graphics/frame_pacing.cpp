// Pacing of whole frames. A program that animates without a timer of its
// own, as the game does, runs at the same human speed on every machine only
// if its frames reach the screen at a steady rate.
#include "frame_pacing.h"

#include <cstdlib>

#include "graphics.h"
#include "headless.h"

int FrameRateFromEnvironment() {
    const char* text = std::getenv("GRAPHICS_FPS");
    if (!text || !*text) return 60;
    char* end = nullptr;
    long fps = std::strtol(text, &end, 10);
    if (*end != '\0' || fps < 0) return 60;
    return fps > 1000 ? 1000 : static_cast<int>(fps);
}

#ifdef _WIN32

namespace {

// When the next frame is due, in performance-counter ticks; 0 before the
// first frame.
long long nextFrameDue = 0;

long long Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

}  // namespace

void PaceFrame() {
    // Virtual time runs frames as fast as they can be drawn.
    const int fps = graphics_headless::VirtualTime() ? 0 : FrameRateFromEnvironment();
    if (fps == 0) {
        nextFrameDue = 0;
        return;
    }
    static const bool fineTimer = timeBeginPeriod(1) == TIMERR_NOERROR;
    (void)fineTimer;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const long long period = frequency.QuadPart / fps;

    long long now = Now();
    if (nextFrameDue == 0 || now > nextFrameDue + period) {
        // First frame, or a frame so late that catching up would race: start
        // the steady rate afresh from now.
        nextFrameDue = now + period;
        return;
    }
    while (now < nextFrameDue) {
        const long long ms = (nextFrameDue - now) * 1000 / frequency.QuadPart;
        Sleep(ms > 1 ? static_cast<DWORD>(ms - 1) : 0);
        now = Now();
    }
    nextFrameDue += period;
}

#else

void PaceFrame() {}

#endif
