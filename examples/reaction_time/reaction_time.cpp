// reaction_time - how fast can you click? Five rounds: the circle turns
// green after a random wait of one to three seconds, and ClockMs measures
// the time from then to your click. A click before it turns green is too
// soon, and the round starts again.
//
// The random waits come from a generator seeded with CalendarSeconds, so
// they differ from run to run (under GRAPHICS_TIME=virtual the calendar
// starts at the same moment, so a scripted run is the same every time).
// Clicks are taken with PollClick between pauses of 1 ms; DiscardClicks
// forgets clicks made while a message was being shown.
//
// It ends after the fifth round with the mean and the best time: the last
// window waits for a click. Closing the window ends it at once.
#include <cstdint>
#include <random>

#include "graphics.h"

namespace {

const int kRounds = 5;

void DrawTarget(window& w, const color& fill, const char* message) {
    w.SetPen(DARK_SLATE_GRAY, 1);
    w.SetBrush(DARK_SLATE_GRAY);
    w.DrawRectangle(0, 0, 260, 300, STYLE_FILLED);
    w.SetPen(BLACK, 3);
    w.SetBrush(fill);
    w.DrawCircle(130, 130, 90, STYLE_FILLED);
    w.SetPen(WHITE, 1);
    w.DrawString(20, 250, message);
}

// Waits `ms` milliseconds unless a click comes first; true if one came.
bool ClickedWithin(window& w, uint32_t ms) {
    uint32_t start = ClockMs();
    int x = 0, y = 0;
    while (w.IsOpen() && ClockMs() - start < ms) {
        if (w.PollClick(x, y) != CK_NONE) return true;
        PauseMs(1);
    }
    return false;
}

}  // namespace

int main() {
    window w(400, 300, 100, 100);
    w.SetTitle("Reaction time");
    w.SetPen(MIDNIGHT_BLUE, 1);
    w.SetBrush(MIDNIGHT_BLUE);
    w.DrawRectangle(260, 0, 400, 300, STYLE_FILLED);
    w.SetPen(WHITE, 1);
    w.DrawString(275, 20, "Your times (ms)");

    std::mt19937 random(static_cast<uint32_t>(CalendarSeconds()));
    uint32_t total = 0, best = UINT32_MAX;
    for (int round = 0; round < kRounds && w.IsOpen();) {
        DrawTarget(w, GRAY, "Click when the circle turns green.");
        if (ClickedWithin(w, 1000 + random() % 2000)) {
            DrawTarget(w, ORANGE_RED, "Too soon! Once more.");
            PauseMs(1000);
            w.DiscardClicks();  // clicks made while the message showed
            continue;
        }
        DrawTarget(w, LIME_GREEN, "Now!");
        uint32_t start = ClockMs();
        int x = 0, y = 0;
        while (w.IsOpen() && w.PollClick(x, y) == CK_NONE) PauseMs(1);
        uint32_t time = ClockMs() - start;

        total += time;
        if (time < best) best = time;
        w.SetPen(WHITE, 1);
        w.DrawNumber(290, 50 + round * 22, round + 1);
        w.DrawNumber(320, 50 + round * 22, time);  // an unsigned number
        ++round;
    }
    if (!w.IsOpen()) return 0;

    DrawTarget(w, LIME_GREEN, "Done. Click to close.");
    w.SetPen(WHITE, 1);
    w.DrawString(275, 175, "mean");
    w.DrawNumber(320, 175, total / kRounds);
    w.DrawString(275, 197, "best");
    w.DrawNumber(320, 197, best);
    return 0;
}
