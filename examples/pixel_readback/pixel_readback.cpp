// pixel_readback - draws a colour gradient, then reads back the colour
// under each left click: GetColor gives it as whole numbers 0 to 255,
// GetRedLevel, GetGreenLevel and GetBlueLevel as fractions 0.0 to 1.0.
//
// A right click ends the loop; the last window then waits for a click.
#include "graphics.h"

int main() {
    const int width = 480, height = 320;
    window w(width, height, 100, 100);
    w.SetTitle("Pixel read-back");
    for (int x = 0; x < width; x += 4) {  // stripes from blue to red
        int red = x * 255 / width;
        w.SetPen(red, 128, 255 - red, 1);
        w.SetBrush(red, 128, 255 - red);
        w.DrawRectangle(x, 0, x + 4, 240, STYLE_FILLED);
    }
    w.SetPen(GAINSBORO, 1);
    w.SetBrush(GAINSBORO);
    w.DrawRectangle(0, 240, width, height, STYLE_FILLED);
    w.SetPen(BLACK, 1);
    w.DrawString(10, 250, "Left click the colours; right click ends.");

    int x = 0, y = 0;
    while (w.AwaitClick(x, y) == CK_LEFT) {
        // A click may be released outside the window: read only inside it.
        if (x < 0 || x >= width || y < 0 || y >= height) continue;
        color c = w.GetColor(x, y);
        double red = w.GetRedLevel(x, y), green = w.GetGreenLevel(x, y), blue = w.GetBlueLevel(x, y);

        w.SetPen(GAINSBORO, 1);
        w.SetBrush(GAINSBORO);
        w.DrawRectangle(0, 270, width, height, STYLE_FILLED);  // clear the last answer
        w.SetPen(BLACK, 1);
        w.DrawString(10, 272, "red");
        w.DrawNumber(45, 272, c.red);
        w.DrawString(90, 272, "green");
        w.DrawNumber(140, 272, c.green);
        w.DrawString(185, 272, "blue");
        w.DrawNumber(225, 272, c.blue);
        w.DrawNumber(10, 292, red);
        w.DrawNumber(90, 292, green);
        w.DrawNumber(185, 292, blue);
        w.SetBrush(c);  // a swatch of the colour read
        w.DrawRectangle(300, 274, 340, 310, STYLE_FILLED);
    }
    return 0;
}
