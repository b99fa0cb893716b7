// two_windows - two windows at once, each with its own pen, brush and
// drawing. Clicks go to the window clicked: a click in either one ends.
#include "graphics.h"

int main() {
    window left(300, 240, 60, 100);
    window right(300, 240, 380, 100);
    left.SetTitle("Left window");
    right.SetTitle("Right window");

    left.SetBrush(LAVENDER);
    left.DrawRectangle(0, 0, 300, 240, STYLE_FILLED);
    left.SetPen(DARK_SLATE_BLUE, 3);
    left.SetBrush(MEDIUM_SLATE_BLUE);
    left.DrawCircle(150, 120, 70, STYLE_FILLED);
    left.SetPen(BLACK, 1);
    left.DrawString(10, 10, "The left window");

    right.SetBrush(HONEYDEW);
    right.DrawRectangle(0, 0, 300, 240, STYLE_FILLED);
    right.SetPen(DARK_GREEN, 3);
    right.SetBrush(SPRING_GREEN);
    right.DrawTriangle(150, 40, 260, 200, 40, 200, STYLE_FILLED);
    right.SetPen(BLACK, 1);
    right.DrawString(10, 10, "The right window");

    int x = 0, y = 0;
    while (left.IsOpen() && right.IsOpen() && left.PollClick(x, y) == CK_NONE &&
           right.PollClick(x, y) == CK_NONE) {
        PauseMs(20);
    }
    return 0;
}
