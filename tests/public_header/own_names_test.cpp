// A program's own names beside graphics.h: the header brings in none of the
// platform's names or macros, so a program may call its own functions and
// types min, max, RGB, ERROR, OPAQUE and Rectangle, as this file does.
#include <gtest/gtest.h>

int min(int a, int b) { return a < b ? a : b; }
int max(int a, int b) { return a > b ? a : b; }
struct RGB {
    int r, g, b;
};
const int ERROR = -7;
const int OPAQUE = 255;
struct Rectangle {
    int left, top, right, bottom;
    int Width() const { return right - left; }
};

#include "graphics.h"

TEST(PublicHeader, LeavesAProgramItsOwnNames) {
    EXPECT_EQ(min(3, 4), 3);
    EXPECT_EQ(max(3, 4), 4);
    RGB colour{1, 2, 3};
    EXPECT_EQ(colour.g, 2);
    EXPECT_EQ(ERROR, -7);
    EXPECT_EQ(OPAQUE, 255);
    Rectangle box{10, 10, 50, 30};
    EXPECT_EQ(box.Width(), 40);

    // The library is there all the same.
    window w(box.right, box.bottom, 40, 40);
    w.SetWaitOnClose(false);
    w.SetPen(RED, 1);
    w.SetBrush(RED);
    w.DrawRectangle(0, 0, box.Width() - 1, 19, STYLE_FILLED, 0, 0);
    color c = w.GetColor(5, 5);
    EXPECT_EQ(c.red, 255);
    EXPECT_EQ(c.green, 0);
}
