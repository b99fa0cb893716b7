// sketch - a small exercise of the kind a course grades: a square that the
// arrow keys (or the digits 2, 4, 6 and 8) move by 20 pixels, a dot where
// the pointer is, red while the left button is held (QueryButton). One
// frame is shown for every key.
//
// q ends the drawing, then a click ends the program (SetWaitOnClose(false):
// that click is the last one asked for). Closing the window ends it too.
//
// A grader runs it without a display: input.txt beside this file is the
// input script (GRAPHICS_INPUT) of such a run; see docs/examples.md.
#include <cstdio>

#include "graphics.h"

int main() {
    window w(320, 240, 20, 20);
    w.SetTitle("Sketch");
    w.SetWaitOnClose(false);
    w.SetBuffering(true);
    int x = 140;
    int y = 100;
    while (w.IsOpen()) {
        w.SetPen(BLACK, 1);
        w.SetBrush(WHITE);
        w.DrawRectangle(0, 0, 320, 240, STYLE_FILLED, 0, 0);
        w.SetBrush(ROYAL_BLUE);
        w.DrawRectangle(x, y, x + 40, y + 40, STYLE_FILLED, 0, 0);
        int32_t px = 0;
        int32_t py = 0;
        ButtonState left = w.QueryButton(MB_LEFT, px, py);
        w.SetBrush(left == BS_DOWN ? RED : DARK_GREEN);
        if (px >= 0) w.DrawCircle(px, py, 4, STYLE_FILLED);
        w.UpdateBuffer();

        char code = 0;
        KeyKind kind = w.AwaitKey(code);
        if (kind == KK_CHAR && (code == 'q' || code == 'Q')) break;
        if (kind == KK_NAV || kind == KK_CHAR) {
            if (code == 4 || code == '4') x -= 20;
            if (code == 6 || code == '6') x += 20;
            if (code == 8 || code == '8') y -= 20;
            if (code == 2 || code == '2') y += 20;
        }
    }
    if (!w.IsOpen()) return 0;  // closed with its close box: no click can come
    std::printf("square at %d %d; click to quit\n", x, y);
    std::fflush(stdout);
    int32_t cx = 0;
    int32_t cy = 0;
    w.AwaitClick(cx, cy);
    std::printf("clicked at %d %d\n", cx, cy);
    return 0;
}
