// click_to_quit - the way many exercises end: draw a picture, then wait for
// a click in the window (AwaitClick) before the program ends. Prints where
// the click was.
//
// That click ends the program (SetWaitOnClose(false): no second click asked
// for); closing the window ends it too. Run headless without an input
// script, the wait can never end: the library then ends the program with
// status 3 and says so.
#include <cstdio>

#include "graphics.h"

int main() {
    window w(300, 200, 40, 40);
    w.SetWaitOnClose(false);
    w.SetTitle("Click to quit");
    w.SetBrush(SKY_BLUE);
    w.SetPen(NAVY, 2);
    w.DrawRectangle(0, 0, 300, 200, STYLE_FILLED, 0, 0);
    w.SetBrush(GOLD);
    w.DrawCircle(150, 90, 50, STYLE_FILLED);
    w.SetPen(BLACK, 1);
    w.DrawString(80, 170, "Click to quit");
    std::printf("Click in the window to quit.\n");
    std::fflush(stdout);
    int32_t x = 0;
    int32_t y = 0;
    ClickKind kind = w.AwaitClick(x, y);
    std::printf("%s click at %d %d\n", kind == CK_RIGHT ? "right" : "left", x, y);
    return 0;
}
