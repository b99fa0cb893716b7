// paint - a paint program for the mouse. While the left button is held
// (QueryButton), lines follow the pointer in the chosen colour; the right
// button rubs out. Pressing on a colour in the bar at the top chooses it,
// the keys 1 to 9 choose the pen's width, c clears the canvas and s saves
// it as paint.png in the current folder (StoreImage, then SavePng) and says
// so on standard output. The bar shows where the pointer is (QueryPointer).
//
// The program asks the mouse's state about a hundred times a second
// (PauseMs rests between), and joins each position to the one before with a
// line, so a fast stroke has no gaps. It draws straight into the window.
//
// Escape ends it at once (SetWaitOnClose(false): no last click), and so does
// closing the window.
#include <cstdio>

#include "graphics.h"

namespace {

const int kWidth = 520, kHeight = 400, kBar = 40;  // the bar is 40 pixels high
const color kPaper = IVORY;
const color kPalette[] = {BLACK, RED, ORANGE, GOLD, FOREST_GREEN, DODGER_BLUE, PURPLE, SADDLE_BROWN};
const int kColours = 8, kSwatch = 34;  // swatch i spans x from 5 + i * 34 to 35 + i * 34

void ClearCanvas(window& w) {
    w.SetPen(kPaper, 1);
    w.SetBrush(kPaper);
    w.DrawRectangle(0, kBar, kWidth, kHeight, STYLE_FILLED);
}

void DrawBar(window& w, int chosen, int width, int pointerX, int pointerY) {
    w.SetPen(LIGHT_GRAY, 1);
    w.SetBrush(LIGHT_GRAY);
    w.DrawRectangle(0, 0, kWidth, kBar, STYLE_FILLED);
    for (int i = 0; i < kColours; ++i) {
        w.SetPen(i == chosen ? BLACK : GRAY, i == chosen ? 3 : 1);  // the chosen one stands out
        w.SetBrush(kPalette[i]);
        w.DrawRectangle(5 + i * kSwatch, 5, 5 + i * kSwatch + 30, 35, STYLE_FILLED);
    }
    w.SetPen(BLACK, 1);
    w.DrawString(290, 6, "width");
    w.DrawNumber(330, 6, width);
    w.SetBrush(kPalette[chosen]);
    w.SetPen(kPalette[chosen], 1);
    w.DrawCircle(360, 12, width / 2 + 1, STYLE_FILLED);  // the pen's size
    w.SetPen(BLACK, 1);
    w.DrawString(290, 22, "pointer");
    if (pointerX >= 0) {  // -1, -1 until the pointer has been over the window
        w.DrawNumber(340, 22, pointerX);
        w.DrawNumber(380, 22, pointerY);
    }
    w.DrawString(420, 6, "1-9: width");
    w.DrawString(420, 22, "c: clear  s: save");
}

}  // namespace

int main() {
    window w(kWidth, kHeight, 100, 100);
    w.SetTitle("Paint - left button paints, right button rubs out, Escape ends");
    w.SetWaitOnClose(false);

    int chosen = 0, width = 3;
    int lastX = -1, lastY = -1;  // the stroke's last point; -1 between strokes
    int shownX = -2, shownY = -2;
    ClearCanvas(w);
    DrawBar(w, chosen, width, -1, -1);

    bool done = false;
    while (!done && w.IsOpen()) {
        char code = 0;
        KeyKind key;
        while ((key = w.PollKey(code)) != KK_NONE) {
            if (key == KK_ESC) done = true;
            if (key == KK_CHAR && code >= '1' && code <= '9') width = code - '0';
            if (key == KK_CHAR && code == 'c') ClearCanvas(w);
            if (key == KK_CHAR && code == 's') {
                image canvas;
                w.StoreImage(canvas, 0, kBar, kWidth, kHeight - kBar);
                if (canvas.SavePng("paint.png")) std::printf("saved paint.png\n");
                std::fflush(stdout);
            }
            shownX = -2;  // draw the bar again
        }
        w.DiscardClicks();  // the buttons are read with QueryButton, not as clicks

        int x = 0, y = 0;
        ButtonState left = w.QueryButton(MB_LEFT, x, y);
        ButtonState right = w.QueryButton(MB_RIGHT, x, y);
        if (left == BS_UP && right == BS_UP) {
            lastX = -1;  // no button held: the stroke is over
        } else if (lastX < 0 && y < kBar) {
            // A press on the bar: a swatch chooses its colour.
            int i = (x - 5) / kSwatch;
            if (left == BS_DOWN && x >= 5 && i < kColours && (x - 5) % kSwatch < 30) chosen = i;
            shownX = -2;
        } else {
            // Paint (or rub out, wider) from the last point to this one,
            // keeping the pen off the bar.
            const color& ink = left == BS_DOWN ? kPalette[chosen] : kPaper;
            int size = left == BS_DOWN ? width : 4 * width;
            if (y < kBar + size / 2) y = kBar + size / 2;
            if (lastX < 0) {
                w.SetPen(ink, 1);
                w.SetBrush(ink);
                w.DrawCircle(x, y, size / 2, STYLE_FILLED);  // a stroke starts with a dot
            } else {
                w.SetPen(ink, size);
                w.DrawLine(lastX, lastY, x, y);
            }
            lastX = x;
            lastY = y;
        }

        int pointerX = 0, pointerY = 0;
        w.QueryPointer(pointerX, pointerY);
        if (pointerX != shownX || pointerY != shownY) {
            DrawBar(w, chosen, width, pointerX, pointerY);
            shownX = pointerX;
            shownY = pointerY;
        }
        PauseMs(10);
    }
    return 0;
}
