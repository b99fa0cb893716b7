// clock - an analogue and digital clock. It shows the calendar time
// (CalendarSeconds: seconds since 1970, here as hours, minutes and seconds
// of universal time) plus any hours and minutes set with the keys h and m,
// and how long it has been running (ClockMs).
//
// It redraws when the second changes, and every half second for the
// blinking colon (IntervalPassed); in between it rests with PauseMs, so it
// takes almost no processor time. Under virtual time (GRAPHICS_TIME=virtual,
// TimeIsVirtual) the calendar starts at 1 January 2000, 00:00:00.
//
// Escape ends it at once (SetWaitOnClose(false): no last click), and so does
// closing the window.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "graphics.h"

namespace {

const int kCentreX = 160, kCentreY = 160, kRadius = 140;
const double kPi = 3.14159265358979;

// The point `length` pixels from the centre toward `fraction` of a turn
// clockwise from twelve o'clock.
void Toward(double fraction, int length, int& x, int& y) {
    x = kCentreX + static_cast<int>(std::lround(length * std::sin(2 * kPi * fraction)));
    y = kCentreY - static_cast<int>(std::lround(length * std::cos(2 * kPi * fraction)));
}

void Hand(window& w, double fraction, int length, const color& c, int width) {
    int x = 0, y = 0;
    Toward(fraction, length, x, y);
    w.SetPen(c, width);
    w.DrawLine(kCentreX, kCentreY, x, y);
}

void Draw(window& w, int64_t secondsOfDay, bool colon, uint32_t runningMs) {
    int hours = static_cast<int>(secondsOfDay / 3600), minutes = static_cast<int>(secondsOfDay / 60 % 60),
        seconds = static_cast<int>(secondsOfDay % 60);

    w.SetPen(LIGHT_STEEL_BLUE, 1);
    w.SetBrush(LIGHT_STEEL_BLUE);
    w.DrawRectangle(0, 0, w.QueryWidth(), w.QueryHeight(), STYLE_FILLED);
    w.SetPen(BLACK, 3);
    w.SetBrush(IVORY);
    w.DrawCircle(kCentreX, kCentreY, kRadius, STYLE_FILLED);

    // The minute marks, longer and thicker at the hours.
    for (int mark = 0; mark < 60; ++mark) {
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        Toward(mark / 60.0, mark % 5 == 0 ? kRadius - 18 : kRadius - 8, x1, y1);
        Toward(mark / 60.0, kRadius - 3, x2, y2);
        w.SetPen(BLACK, mark % 5 == 0 ? 3 : 1);
        w.DrawLine(x1, y1, x2, y2);
    }

    // The seconds of this minute as an arc, counter-clockwise from the
    // second hand back to twelve (angles in degrees, 0 pointing right).
    if (seconds > 0) {
        w.SetPen(PALE_TURQUOISE, 6);
        w.DrawArc(kCentreX - 110, kCentreY - 110, kCentreX + 110, kCentreY + 110, 90 - 6 * seconds, 90, STYLE_FRAME, 0);
    }
    Hand(w, (hours % 12 + minutes / 60.0) / 12, 70, BLACK, 6);
    Hand(w, (minutes + seconds / 60.0) / 60, 105, BLACK, 4);
    Hand(w, seconds / 60.0, 115, RED, 1);
    w.SetPen(RED, 1);
    w.SetBrush(RED);
    w.DrawCircle(kCentreX, kCentreY, 5, STYLE_FILLED);

    // The digital time, its colon blinking, centred below the face.
    char text[16];
    std::snprintf(text, sizeof text, colon ? "%02d:%02d:%02d" : "%02d %02d %02d", hours, minutes, seconds);
    w.SetFont(32, FONT_BOLD, FAMILY_MODERN, nullptr);
    int width = 0, height = 0;
    w.GetStringSize(width, height, text);
    w.SetPen(NAVY, 1);
    w.DrawString(kCentreX - width / 2, 310, text);

    w.SetFont(14, 0, FAMILY_SWISS, nullptr);
    w.DrawString(10, 355, TimeIsVirtual() ? "Virtual time (UTC)" : "Universal time (UTC)");
    w.DrawString(10, 375, "h, m: an hour, a minute on. Escape ends.");
    w.DrawString(200, 355, "running");
    uint32_t runningSeconds = runningMs / 1000;
    w.DrawNumber(260, 355, runningSeconds);  // an unsigned number, drawn as it is
    w.GetNumberSize(width, height, runningSeconds);
    w.DrawString(264 + width, 355, "s");
    w.SetTitle("Clock " + std::string(text));
}

}  // namespace

int main() {
    window w(320, 400, 100, 100);
    w.SetWaitOnClose(false);
    w.SetBuffering(true);

    const uint32_t start = ClockMs();
    int64_t offset = 0;  // seconds set with h and m
    int64_t shown = -1;  // the calendar second on the screen
    bool colon = true;
    bool done = false;
    while (!done && w.IsOpen()) {
        bool redraw = false;
        char code = 0;
        KeyKind key;
        while ((key = w.PollKey(code)) != KK_NONE) {
            if (key == KK_ESC) done = true;
            if (key == KK_CHAR && code == 'h') offset += 3600;
            if (key == KK_CHAR && code == 'm') offset += 60;
            redraw = true;
        }
        if (IntervalPassed(500)) {  // false the first time, then every 500 ms
            colon = !colon;
            redraw = true;
        }
        int64_t now = CalendarSeconds();
        if (now != shown) {
            shown = now;
            redraw = true;
        }
        if (redraw) {
            Draw(w, (now + offset) % 86400, colon, ClockMs() - start);
            w.UpdateBuffer();
        } else {
            PauseMs(10);
        }
    }
    return 0;
}
