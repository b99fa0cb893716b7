// Faces and the ball drawn on a window: the colour codes, the black
// outline, and what drawing leaves in the face and the window.
#include <gtest/gtest.h>

#include "ball.h"
#include "face.h"
#include "game_test_support.h"
#include "window_test_access.h"

using game_test::CountColor;
using game_test::Describe;
using game_test::SameColor;

namespace {

class FaceDrawing : public ::testing::Test {
protected:
    FaceDrawing() : win(1000, 720, 5, 5) {
        win.SetWaitOnClose(false);
        win.SetBuffering(true);
    }
    void Clear() {
        win.SetBrush(WHITE);
        win.DrawRectangle(0, 0, 1000, 720, STYLE_FILLED, 0, 0);
    }
    window win;
    // The back wall: drawn from (415, 317) to (584, 402).
    Face wall{300, 600, 0, 0, 800, 32};
};

}  // namespace

TEST_F(FaceDrawing, ColourCodesFillWithTheirColours) {
    const struct { int code; color fill; } codes[] = {
        {16, BLUE}, {32, RED}, {64, GREEN}, {128, color(255, 255, 255)},
        {256, color(174, 174, 174)}, {512, color(122, 122, 122)}, {1024, color(162, 191, 15)},
    };
    for (const auto& c : codes) {
        Clear();
        if (c.code == 128) win.SetBrush(RED);  // so that white has to come from the code
        wall.DrawFilled(win, c.code);
        EXPECT_EQ(wall.colorCode, c.code);
        EXPECT_TRUE(SameColor(WindowTestAccess::BrushColor(win), c.fill)) << c.code;
        const color inside = win.GetColor(500, 360);
        EXPECT_TRUE(SameColor(inside, c.fill)) << c.code << " fills with " << Describe(inside);
        EXPECT_TRUE(SameColor(WindowTestAccess::PenColor(win), BLACK));
        EXPECT_EQ(WindowTestAccess::PenWidth(win), 4);
        EXPECT_TRUE(SameColor(win.GetColor(500, 318), BLACK)) << "outline along the top edge";
        EXPECT_TRUE(SameColor(win.GetColor(500, 300), WHITE)) << "nothing outside the face";
    }
}

TEST_F(FaceDrawing, CodeWithoutAColourDrawsTheOutlineOnly) {
    for (int code : {0, 8, 2048, -16}) {
        Clear();
        win.SetBrush(RED);
        wall.DrawFilled(win, code);
        EXPECT_EQ(wall.colorCode, code);
        EXPECT_TRUE(SameColor(WindowTestAccess::BrushColor(win), RED)) << "brush left alone for " << code;
        EXPECT_TRUE(SameColor(win.GetColor(500, 360), WHITE)) << code;
        EXPECT_TRUE(SameColor(win.GetColor(500, 318), BLACK)) << code;
    }
}

TEST_F(FaceDrawing, OutlineKeepsTheColourCodeAndTheBrush) {
    Clear();
    wall.DrawFilled(win, 128);
    win.SetBrush(GREEN);
    wall.outlineWidth = 1;
    Clear();
    win.SetBrush(BLUE);
    wall.DrawOutline(win);
    EXPECT_EQ(wall.colorCode, 128);
    EXPECT_TRUE(SameColor(WindowTestAccess::BrushColor(win), BLUE));
    EXPECT_EQ(WindowTestAccess::PenWidth(win), 1);
    EXPECT_TRUE(SameColor(win.GetColor(500, 360), WHITE));
    EXPECT_TRUE(SameColor(win.GetColor(500, 317), BLACK));
    EXPECT_TRUE(SameColor(win.GetColor(500, 319), WHITE)) << "one pixel wide";
}

TEST_F(FaceDrawing, BallIsGreenWithThinBlackEdgesAtItsSidesPlace) {
    Ball ball(50, 0, 0, 400);
    Clear();
    ball.DrawFilled(win, 64);
    ball.DrawOutline(win);
    for (const Face& side : ball.faces) EXPECT_EQ(side.colorCode, 64);
    EXPECT_EQ(WindowTestAccess::PenWidth(win), 1);
    // Face-on, the near and far sides are squares around the centre; the
    // far one (z = +25, mirrored to depth 375) is the larger, 15 pixels each
    // way.
    EXPECT_TRUE(SameColor(win.GetColor(500, 360), GREEN));
    EXPECT_TRUE(SameColor(win.GetColor(500, 360 - 10), GREEN));
    EXPECT_TRUE(SameColor(win.GetColor(500, 360 - 15), BLACK)) << "the edge";
    EXPECT_TRUE(SameColor(win.GetColor(500, 360 - 20), WHITE));
    EXPECT_GT(CountColor(win, 460, 320, 540, 400, BLACK, 1), 40);

    // A position written directly does not move the drawing until Move.
    ball.position.Set(200, 0, 400);
    Clear();
    ball.DrawFilled(win, 64);
    EXPECT_TRUE(SameColor(win.GetColor(500, 360), GREEN));
    ball.SetVelocity(0, 0, 0);
    ball.Move();
    Clear();
    ball.DrawFilled(win, 64);
    EXPECT_TRUE(SameColor(win.GetColor(500, 360), WHITE));
    EXPECT_TRUE(SameColor(win.GetColor(388, 360), GREEN)) << "x 200 is drawn left of the centre";
}
