// keyboard_move - the arrow keys move a square, drawn with double buffering
// so that it never flickers: every frame is drawn into a hidden buffer and
// shown at once with UpdateBuffer.
//
// Arrow keys arrive as KK_NAV with the code 4 left, 6 right, 8 up and 2
// down (the digits on the number pad's arrow keys); letters as KK_CHAR.
// UpdateBuffer waits for the next frame (60 a second), so the loop needs no
// pause of its own.
//
// Escape ends the program at once (SetWaitOnClose(false): no last click),
// and so does closing the window.
#include "graphics.h"

int main() {
    window w(480, 320, 100, 100);
    w.SetTitle("Keyboard movement");
    w.SetWaitOnClose(false);  // Escape is the end: no click asked for after it
    w.SetBuffering(true);

    int x = 220, y = 140;
    const int step = 10;
    bool done = false;
    while (!done && w.IsOpen()) {
        char code = 0;
        KeyKind key;
        while ((key = w.PollKey(code)) != KK_NONE) {  // every key waiting
            if (key == KK_ESC) done = true;
            if (key == KK_NAV && code == 4) x -= step;
            if (key == KK_NAV && code == 6) x += step;
            if (key == KK_NAV && code == 8) y -= step;
            if (key == KK_NAV && code == 2) y += step;
        }
        // Keep the square inside the window.
        if (x < 0) x = 0;
        if (x > 440) x = 440;
        if (y < 30) y = 30;
        if (y > 280) y = 280;

        w.SetPen(BLACK, 1);
        w.SetBrush(LIGHT_STEEL_BLUE);
        w.DrawRectangle(0, 0, 480, 320, STYLE_FILLED);
        w.DrawString(10, 10, "Arrow keys move the square; Escape ends.");
        w.SetBrush(FIREBRICK);
        w.DrawRectangle(x, y, x + 40, y + 40, STYLE_FILLED);
        w.UpdateBuffer();  // show the finished frame
    }
    return 0;
}
