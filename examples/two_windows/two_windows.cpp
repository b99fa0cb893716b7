// two_windows - two windows at once, each with its own pen, brush, buffer
// and drawing. Each draws out of sight (double buffering) and shows its
// picture with its own UpdateBuffer; clicks go to the window clicked.
//
// A click in either window ends the program at once (SetWaitOnClose(false):
// no last click), and so does closing either window.
#include "graphics.h"

int main() {
    window left(300, 240, 60, 100);
    window right(300, 240, 380, 100);
    left.SetTitle("Left window");
    right.SetTitle("Right window");
    left.SetWaitOnClose(false);  // one setting for the whole program
    left.SetBuffering(true);
    right.SetBuffering(true);

    left.SetPen(LAVENDER, 1);
    left.SetBrush(LAVENDER);
    left.DrawRectangle(0, 0, 300, 240, STYLE_FILLED);
    left.SetPen(DARK_SLATE_BLUE, 3);
    left.SetBrush(MEDIUM_SLATE_BLUE);
    left.DrawCircle(150, 120, 70, STYLE_FILLED);
    left.SetPen(BLACK, 1);
    left.DrawString(10, 10, "The left window");
    left.UpdateBuffer();

    right.SetPen(HONEYDEW, 1);
    right.SetBrush(HONEYDEW);
    right.DrawRectangle(0, 0, 300, 240, STYLE_FILLED);
    right.SetPen(DARK_GREEN, 3);
    right.SetBrush(SPRING_GREEN);
    right.DrawTriangle(150, 40, 260, 200, 40, 200, STYLE_FILLED);
    right.SetPen(BLACK, 1);
    right.DrawString(10, 10, "The right window");
    right.UpdateBuffer();

    // Each PollClick looks only at its own window's clicks.
    int x = 0, y = 0;
    while (left.IsOpen() && right.IsOpen() && left.PollClick(x, y) == CK_NONE && right.PollClick(x, y) == CK_NONE) {
        PauseMs(20);
    }
    return 0;
}
