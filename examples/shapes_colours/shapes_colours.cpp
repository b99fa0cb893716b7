// shapes_colours - every shape, in named colours and in colours made of
// red, green and blue (whole numbers 0 to 255, or fractions 0.0 to 1.0).
#include "graphics.h"

int main() {
    window w(480, 320, 100, 100);
    w.SetTitle("Shapes and colours");
    w.SetBrush(WHITE);
    w.DrawRectangle(0, 0, 480, 320, STYLE_FILLED);  // a white background

    w.SetPen(BLACK, 2);
    w.SetBrush(GOLD);
    w.DrawRectangle(20, 20, 140, 100, STYLE_FILLED);
    w.SetBrush(255, 100, 0);  // orange, from whole numbers
    w.DrawRectangle(160, 20, 280, 100, STYLE_FILLED, 30, 30);  // rounded corners
    w.SetBrush(0.2, 0.6, 1.0);  // sky blue, from fractions
    w.DrawCircle(350, 60, 40, STYLE_FILLED);

    w.SetPen(DARK_GREEN, 3);
    w.DrawEllipse(20, 130, 140, 200, STYLE_FRAME);
    w.SetBrush(PLUM);
    w.DrawTriangle(160, 200, 220, 120, 280, 200, STYLE_FILLED);
    w.SetBrush(TOMATO);
    w.DrawArc(300, 120, 400, 220, 0, 270, STYLE_FILLED, 0);  // a pie: 0 to 270 degrees

    int xs[] = {30, 90, 130, 70, 20};
    int ys[] = {240, 230, 280, 310, 290};
    w.SetBrush(LIGHT_SEA_GREEN);
    w.DrawPolygon(xs, ys, 5, STYLE_FILLED);

    w.SetPen(NAVY, 1);
    for (int i = 0; i < 10; ++i) w.DrawLine(160 + i * 12, 230, 200 + i * 12, 300);
    w.SetPen(RED, 2);
    w.DrawBezier(300, 300, 340, 220, 400, 320, 460, 240);
    w.DrawRectangle(420, 20, 460, 100, STYLE_INVERTED);  // inverts what lies beneath
    return 0;  // the window waits for a click before it closes
}
