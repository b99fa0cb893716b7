// menu - a menu worked with the keyboard. Up and Down (KK_NAV 8 and 2; Home
// and End, 7 and 1, go to the first and last line) move the highlight,
// Enter (the character 13) chooses the highlighted line and the digits 1
// to 5 choose a line at once. F1 (KK_FKEY 1) shows a help page.
//
// The highlight is a rectangle drawn with STYLE_INVERTED: drawing it a
// second time in the same place turns the pixels back, so moving it needs
// no redrawing of the text under it.
//
// Quit or Escape ends the menu; the window says goodbye and the last window
// then waits for a click. Closing the window ends it at once.
#include <cmath>

#include "graphics.h"

namespace {

const char* const kItems[] = {"1  Circle", "2  Square", "3  Star", "4  Target", "5  Quit"};
const int kCount = 5, kQuit = 4;
const int kMenuTop = 60, kLine = 36;  // line i spans y from 60 + 36 * i

void Highlight(window& w, int item) {
    w.DrawRectangle(14, kMenuTop + item * kLine - 4, 166, kMenuTop + item * kLine + 28, STYLE_INVERTED);
}

void ClearPicture(window& w) {
    w.SetPen(SLATE_GRAY, 2);
    w.SetBrush(BEIGE);
    w.DrawRectangle(190, 20, 460, 300, STYLE_FILLED);
}

// Draws the picture of menu line `item` in the panel on the right.
void Show(window& w, int item) {
    ClearPicture(w);
    const int cx = 325, cy = 160;
    if (item == 0) {
        w.SetPen(NAVY, 3);
        w.SetBrush(CORNFLOWER_BLUE);
        w.DrawCircle(cx, cy, 90, STYLE_FILLED);
    } else if (item == 1) {
        w.SetPen(DARK_GREEN, 3);
        w.SetBrush(MEDIUM_SEA_GREEN);
        w.DrawRectangle(cx - 85, cy - 85, cx + 85, cy + 85, STYLE_FILLED, 24, 24);
    } else if (item == 2) {
        // Ten corners 36 degrees apart, from the top clockwise; every
        // other one lies on the inner circle.
        int xs[10], ys[10];
        for (int i = 0; i < 10; ++i) {
            double angle = i * 36 * 3.14159265358979 / 180, radius = i % 2 == 0 ? 100 : 40;
            xs[i] = cx + static_cast<int>(std::lround(radius * std::sin(angle)));
            ys[i] = cy - static_cast<int>(std::lround(radius * std::cos(angle)));
        }
        w.SetPen(DARK_GOLDENROD, 2);
        w.SetBrush(GOLD);
        w.DrawPolygon(xs, ys, 10, STYLE_FILLED);
    } else if (item == 3) {
        w.SetPen(FIREBRICK, 1);
        for (int ring = 5; ring >= 1; --ring) {
            w.SetBrush(ring % 2 == 1 ? RED : WHITE);
            w.DrawCircle(cx, cy, ring * 20, STYLE_FILLED);
        }
    }
}

void ShowHelp(window& w) {
    ClearPicture(w);
    w.SetPen(BLACK, 1);
    w.DrawString(205, 40, "Up, Down, Home, End: move");
    w.DrawString(205, 65, "Enter: choose the line");
    w.DrawString(205, 90, "1 to 5: choose that line");
    w.DrawString(205, 115, "Escape: quit");
    w.DrawString(205, 165, "Press any key to go back.");
}

}  // namespace

int main() {
    window w(480, 320, 100, 100);
    w.SetTitle("Menu");
    w.SetPen(LAVENDER, 1);
    w.SetBrush(LAVENDER);
    w.DrawRectangle(0, 0, 480, 320, STYLE_FILLED);
    w.SetPen(BLACK, 1);
    w.SetFont(18, FONT_BOLD, FAMILY_SWISS, nullptr);
    w.DrawString(20, 20, "Draw what?");
    w.SetFont(18, 0, FAMILY_SWISS, nullptr);
    for (int i = 0; i < kCount; ++i) w.DrawString(24, kMenuTop + i * kLine, kItems[i]);
    w.SetFont(12, 0, FAMILY_SWISS, nullptr);
    w.DrawString(20, 290, "F1: help");
    ClearPicture(w);

    int item = 0;
    Highlight(w, item);
    for (;;) {
        char code = 0;
        KeyKind key = w.AwaitKey(code);
        if (key == KK_NONE || key == KK_ESC) break;  // KK_NONE: the window was closed

        int next = item;
        int chosen = -1;
        if (key == KK_NAV && code == 8 && item > 0) next = item - 1;
        if (key == KK_NAV && code == 2 && item < kCount - 1) next = item + 1;
        if (key == KK_NAV && code == 7) next = 0;
        if (key == KK_NAV && code == 1) next = kCount - 1;
        if (key == KK_CHAR && code == 13) chosen = item;
        if (key == KK_CHAR && code >= '1' && code <= '5') chosen = next = code - '1';
        if (next != item) {
            Highlight(w, item);  // inverting again takes the old highlight away
            Highlight(w, next);
            item = next;
        }
        if (chosen == kQuit) break;
        if (chosen >= 0) Show(w, chosen);

        if (key == KK_FKEY && code == 1) {
            ShowHelp(w);
            w.DiscardKeys();  // keys typed before the help appeared do not count
            if (w.AwaitKey(code) == KK_NONE) break;
            ClearPicture(w);
        }
    }

    if (w.IsOpen()) {
        w.SetPen(BLACK, 1);
        w.SetFont(14, FONT_BOLD, FAMILY_SWISS, nullptr);
        w.DrawString(200, 302, "Goodbye. Click to close the window.");
    }
    return 0;
}
