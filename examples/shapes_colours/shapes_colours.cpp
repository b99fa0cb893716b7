// shapes_colours - every shape the library draws, in the three drawing
// styles, with colours given the three ways: a named colour (GOLD), three
// whole numbers 0 to 255, or three fractions 0.0 to 1.0.
//
// The pen draws outlines and lines, the brush fills STYLE_FILLED shapes;
// both start white, so every shape here is drawn after setting them.
//
// It draws one picture and ends: the last window waits for a click
// ("Click mouse in the graphics window to finish execution.").
#include "graphics.h"

int main() {
    window w(480, 320, 100, 100);  // the window starts white
    w.SetTitle("Shapes and colours");

    // Filled shapes: outline in the pen, inside in the brush.
    w.SetPen(BLACK, 2);
    w.SetBrush(GOLD);  // a named colour
    w.DrawRectangle(20, 20, 140, 100, STYLE_FILLED);
    w.SetBrush(255, 100, 0);                                   // orange, from whole numbers 0 to 255
    w.DrawRectangle(160, 20, 280, 100, STYLE_FILLED, 30, 30);  // rounded corners
    w.SetBrush(0.2, 0.6, 1.0);                                 // sky blue, from fractions 0.0 to 1.0
    w.DrawCircle(350, 60, 40, STYLE_FILLED);

    // Outlines only: STYLE_FRAME leaves the inside alone.
    w.SetPen(0.0, 0.4, 0.0, 3);  // dark green, from fractions
    w.DrawEllipse(20, 130, 140, 200, STYLE_FRAME);
    w.SetPen(BLACK, 2);
    w.SetBrush(PLUM);
    w.DrawTriangle(160, 200, 220, 120, 280, 200, STYLE_FILLED);
    w.SetBrush(TOMATO);
    w.DrawArc(300, 120, 400, 220, 0, 270, STYLE_FILLED, 0);  // a pie slice, 0 to 270 degrees
    w.SetPen(120, 0, 120, 3);                                // purple, from whole numbers
    w.DrawArc(410, 130, 470, 190, 90, 360, STYLE_FRAME, 0);  // the curve alone

    // A polygon from two arrays of corners, closed back to the first.
    int xs[] = {30, 90, 130, 70, 20};
    int ys[] = {240, 230, 280, 310, 290};
    w.SetPen(BLACK, 2);
    w.SetBrush(LIGHT_SEA_GREEN);
    w.DrawPolygon(xs, ys, 5, STYLE_FILLED);

    // Lines, a row of single points and a curve.
    w.SetPen(NAVY, 1);
    for (int i = 0; i < 10; ++i) w.DrawLine(160 + i * 12, 230, 200 + i * 12, 300);
    for (int x = 160; x < 300; x += 4) w.DrawPoint(x, 310);
    w.SetPen(RED, 2);
    w.DrawBezier(300, 300, 340, 220, 400, 320, 460, 240);

    // STYLE_INVERTED turns every pixel of the shape into its opposite
    // colour: white becomes black, gold becomes blue. Pen and brush do not
    // matter; drawing the same shape inverted again would undo it.
    w.DrawRectangle(420, 20, 460, 100, STYLE_INVERTED);
    w.DrawCircle(140, 100, 25, STYLE_INVERTED);
    return 0;  // the last window waits for a click before it closes
}
