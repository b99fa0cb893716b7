// mouse_clicks - AwaitClick waits for the next click and says which button
// it was and where: each left click puts a dot there with its position.
//
// A right click ends the loop; the last window then waits for a click
// ("Click mouse in the graphics window to finish execution."). Closing the
// window with its close box ends it at once: AwaitClick then returns
// CK_NONE.
#include "graphics.h"

int main() {
    window w(480, 320, 100, 100);
    w.SetTitle("Mouse clicks");
    w.SetPen(BLACK, 1);
    w.DrawString(10, 10, "Left click: a dot.  Right click: end.");

    int x = 0, y = 0;
    while (w.AwaitClick(x, y) == CK_LEFT) {
        w.SetPen(BLACK, 1);
        w.SetBrush(ORANGE_RED);
        w.DrawCircle(x, y, 8, STYLE_FILLED);
        w.DrawNumber(x + 12, y - 8, x);  // the position, x then y
        w.DrawNumber(x + 50, y - 8, y);
    }
    return 0;
}
