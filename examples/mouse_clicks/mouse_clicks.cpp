// mouse_clicks - a dot where the left button clicks, with its position;
// the right button ends the program.
#include "graphics.h"

int main() {
    window w(480, 320, 100, 100);
    w.SetTitle("Mouse clicks");
    w.SetBrush(WHITE);
    w.DrawRectangle(0, 0, 480, 320, STYLE_FILLED);
    w.SetPen(BLACK, 1);
    w.DrawString(10, 10, "Left click: a dot.  Right click: end.");

    int x = 0, y = 0;
    while (w.AwaitClick(x, y) == CK_LEFT) {  // CK_NONE once the window is closed
        w.SetPen(BLACK, 1);
        w.SetBrush(ORANGE_RED);
        w.DrawCircle(x, y, 8, STYLE_FILLED);
        w.DrawNumber(x + 12, y - 8, x);
        w.DrawNumber(x + 50, y - 8, y);
    }
    return 0;
}
