// bouncing_ball - a ball bounces off the window's edges at a steady speed,
// whatever the computer's speed: each frame moves it by the time passed
// (ClockMs), and PauseMs rests between frames. A click ends the program.
#include "graphics.h"

int main() {
    window w(480, 320, 100, 100);
    w.SetTitle("Bouncing ball");
    w.SetBuffering(true);

    double x = 60, y = 80;           // the ball's centre, in pixels
    double vx = 0.25, vy = 0.18;     // its speed, in pixels a millisecond
    const int radius = 20;
    uint32_t last = ClockMs();
    int cx = 0, cy = 0;
    while (w.IsOpen() && w.PollClick(cx, cy) == CK_NONE) {
        uint32_t now = ClockMs();
        double passed = now - last;
        last = now;
        x += vx * passed;
        y += vy * passed;
        if (x < radius) { x = radius; vx = -vx; }
        if (x > 480 - radius) { x = 480 - radius; vx = -vx; }
        if (y < radius) { y = radius; vy = -vy; }
        if (y > 320 - radius) { y = 320 - radius; vy = -vy; }

        w.SetBrush(MIDNIGHT_BLUE);
        w.SetPen(MIDNIGHT_BLUE, 1);
        w.DrawRectangle(0, 0, 480, 320, STYLE_FILLED);
        w.SetPen(WHITE, 1);
        w.DrawString(10, 10, "Click to end.");
        w.SetBrush(YELLOW);
        w.SetPen(ORANGE, 2);
        w.DrawCircle(static_cast<int>(x), static_cast<int>(y), radius, STYLE_FILLED);
        w.UpdateBuffer();
        PauseMs(10);
    }
    return 0;
}
