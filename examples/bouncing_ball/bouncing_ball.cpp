// bouncing_ball - a ball bounces off the window's edges at a steady speed,
// whatever the computer's speed: each frame moves it by the time passed
// since the last one (ClockMs), so a slow frame makes a longer step.
// Double buffering draws each frame out of sight; PauseMs rests between
// frames.
//
// Escape ends the program at once (SetWaitOnClose(false): no last click),
// and so does closing the window.
#include "graphics.h"

int main() {
    const int width = 480, height = 320;
    window w(width, height, 100, 100);
    w.SetTitle("Bouncing ball");
    w.SetWaitOnClose(false);
    w.SetBuffering(true);

    double x = 60, y = 80;        // the ball's centre, in pixels
    double vx = 0.25, vy = 0.18;  // its speed, in pixels a millisecond
    const int radius = 20;
    uint32_t last = ClockMs();
    bool done = false;
    while (!done && w.IsOpen()) {
        char code = 0;
        KeyKind key;
        while ((key = w.PollKey(code)) != KK_NONE) {
            if (key == KK_ESC) done = true;
        }

        uint32_t now = ClockMs();
        double passed = now - last;  // milliseconds since the last frame
        last = now;
        x += vx * passed;
        y += vy * passed;
        // At an edge the ball turns back: its speed changes sign.
        if (x < radius) {
            x = radius;
            vx = -vx;
        }
        if (x > width - radius) {
            x = width - radius;
            vx = -vx;
        }
        if (y < radius) {
            y = radius;
            vy = -vy;
        }
        if (y > height - radius) {
            y = height - radius;
            vy = -vy;
        }

        w.SetPen(MIDNIGHT_BLUE, 1);
        w.SetBrush(MIDNIGHT_BLUE);
        w.DrawRectangle(0, 0, width, height, STYLE_FILLED);
        w.SetPen(WHITE, 1);
        w.DrawString(10, 10, "Escape ends.");
        w.SetPen(ORANGE, 2);
        w.SetBrush(YELLOW);
        w.DrawCircle(static_cast<int>(x), static_cast<int>(y), radius, STYLE_FILLED);
        w.UpdateBuffer();
        PauseMs(10);
    }
    return 0;
}
