// key_loop - the loop a beginner writes: it shows every character typed
// until Escape, and never asks IsOpen. Closing its window ends it all the
// same: the tests of a window closed under such a loop run it
// (tests/headless/headless.sh with a script's close, tests/e2e/close_loop.sh
// with the window manager's).
#include <cstdio>

#include "graphics.h"

int main() {
    window w(320, 120, 40, 40);
    w.SetTitle("Key loop");
    w.SetPen(BLACK, 1);
    w.DrawString(10, 10, "Type; Escape ends.");
    std::printf("waiting for keys\n");
    std::fflush(stdout);
    char code = 0;
    char text[2] = {0, 0};
    int x = 10;
    KeyKind kind;
    while ((kind = w.AwaitKey(code)) != KK_ESC) {
        if (kind != KK_CHAR) continue;
        text[0] = code;
        w.DrawString(x, 50, text);
        x += 12;
    }
    std::printf("Escape\n");
    return 0;
}
