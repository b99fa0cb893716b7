// pixel_readback - draws a colour gradient, then reads back the colour under
// each left click with GetColor and shows it. A right click ends.
#include "graphics.h"

int main() {
    window w(480, 320, 100, 100);
    w.SetTitle("Pixel read-back");
    for (int x = 0; x < 480; x += 4) {
        w.SetPen(x * 255 / 480, 128, 255 - x * 255 / 480, 1);
        w.SetBrush(x * 255 / 480, 128, 255 - x * 255 / 480);
        w.DrawRectangle(x, 0, x + 4, 240, STYLE_FILLED);
    }
    w.SetBrush(WHITE);
    w.SetPen(WHITE, 1);
    w.DrawRectangle(0, 240, 480, 320, STYLE_FILLED);
    w.SetPen(BLACK, 1);
    w.DrawString(10, 250, "Left click the colours; right click ends.");

    int x = 0, y = 0;
    while (w.AwaitClick(x, y) == CK_LEFT) {
        color c = w.GetColor(x, y);
        w.SetPen(WHITE, 1);
        w.SetBrush(WHITE);
        w.DrawRectangle(0, 275, 480, 320, STYLE_FILLED);
        w.SetPen(BLACK, 1);
        w.DrawString(10, 280, "red");
        w.DrawNumber(45, 280, c.red);
        w.DrawString(90, 280, "green");
        w.DrawNumber(140, 280, c.green);
        w.DrawString(185, 280, "blue");
        w.DrawNumber(225, 280, c.blue);
        w.SetBrush(c);  // a swatch of the colour read
        w.DrawRectangle(300, 278, 340, 310, STYLE_FILLED);
    }
    return 0;
}
