#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "frame_pacing.h"
#include "graphics.h"

namespace {

void SetFrameRate(const char* value) {
#ifdef _WIN32
    _putenv_s("GRAPHICS_FPS", value ? value : "");
#else
    if (value) setenv("GRAPHICS_FPS", value, 1);
    else unsetenv("GRAPHICS_FPS");
#endif
}

// Restores the test environment's rate (pacing off) whatever happens.
struct FrameRateScope {
    explicit FrameRateScope(const char* value) { SetFrameRate(value); }
    ~FrameRateScope() { SetFrameRate("0"); }
};

}  // namespace

TEST(FramePacing, RateComesFromTheEnvironment) {
    const struct {
        const char* text;
        int fps;
    } cases[] = {{nullptr, 60}, {"", 60}, {"0", 0}, {"30", 30}, {"abc", 60},
                 {"25x", 60}, {"-5", 60}, {"99999", 1000}};
    for (const auto& c : cases) {
        FrameRateScope scope(c.text);
        EXPECT_EQ(FrameRateFromEnvironment(), c.fps) << (c.text ? c.text : "(unset)");
    }
}

TEST(FramePacing, WholeFrameCopiesKeepTheAskedRate) {
    window w(120, 80, 10, 10);
    w.SetWaitOnClose(false);
    w.SetBuffering(true);
    {
        FrameRateScope scope("25");  // 40 ms a frame
        w.UpdateBuffer();            // the steady rate starts here
        const uint32_t start = ClockMs();
        for (int frame = 0; frame < 5; ++frame) w.UpdateBuffer();
        const uint32_t elapsed = ClockMs() - start;
        // Five frames at 25 a second cannot reach the screen in under 200 ms
        // (a little slack for the clock's granularity).
        EXPECT_GE(elapsed, 190u);
    }
    // Pacing off: the same five frames are not held back.
    const uint32_t start = ClockMs();
    for (int frame = 0; frame < 5; ++frame) w.UpdateBuffer();
    EXPECT_LT(ClockMs() - start, 150u);
    w.SetBuffering(false);
}

TEST(FramePacing, EveryWindowPacesItsOwnFrames) {
    window first(80, 60, 10, 10);
    window second(80, 60, 100, 10);
    first.SetWaitOnClose(false);
    first.SetBuffering(true);
    second.SetBuffering(true);
    {
        FrameRateScope scope("50");  // 20 ms a frame
        first.UpdateBuffer();
        second.UpdateBuffer();
        const uint32_t start = ClockMs();
        for (int frame = 0; frame < 5; ++frame) {
            first.UpdateBuffer();
            second.UpdateBuffer();
        }
        // However the two windows' frames interleave, each window's five
        // frames keep its own rate: at least 100 ms (less the clock's slack).
        EXPECT_GE(ClockMs() - start, 95u);
    }
    first.SetBuffering(false);
    second.SetBuffering(false);
}

TEST(FramePacing, PicturesDrawnStraightToTheScreenAreNotPaced) {
    // A window-sized picture drawn while buffering is off is a drawing call
    // like any other, not a frame: only UpdateBuffer paces.
    window w(200, 150, 10, 10);
    w.SetWaitOnClose(false);
    w.SetBrush(GOLD);
    w.DrawRectangle(0, 0, 199, 149, STYLE_FILLED, 0, 0);
    image picture;
    w.StoreImage(picture, 0, 0, 200, 150);
    FrameRateScope scope("60");
    const uint32_t start = ClockMs();
    for (int i = 0; i < 100; ++i) w.DrawImage(picture, 0, 0, 200, 150);
    // Paced, the hundred pictures would take 100/60 s; unpaced they take a
    // small fraction of that even on a loaded machine.
    EXPECT_LT(ClockMs() - start, 1000u);
    EXPECT_EQ(w.GetColor(100, 75).red, GOLD.red);
}
