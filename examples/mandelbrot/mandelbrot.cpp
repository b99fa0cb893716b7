// mandelbrot - the Mandelbrot set drawn pixel by pixel: each pixel is a
// point c of the plane, coloured by how many steps of z = z * z + c it
// takes |z| to pass 2 (black: it never does within 100 steps).
//
// Drawing is double buffered; the finished rows are shown every 25 rows, so
// the picture grows down the window. Computing a row draws nothing, so
// ProcessOneMessage keeps the window answering meanwhile; SetPen is called
// only when the colour changes.
//
// It ends when the picture is finished: the last window waits for a click.
// Closing the window stops the drawing and ends it.
#include "graphics.h"

namespace {

const int kWidth = 400, kHeight = 300;
const int kMaxSteps = 100;

// Steps until |z| > 2, or kMaxSteps when it stays small.
int Steps(double cr, double ci) {
    double zr = 0, zi = 0;
    int n = 0;
    while (n < kMaxSteps && zr * zr + zi * zi <= 4) {
        double next = zr * zr - zi * zi + cr;
        zi = 2 * zr * zi + ci;
        zr = next;
        ++n;
    }
    return n;
}

// The colour for a number of steps, as red, green and blue 0 to 255: from
// dark blue through orange to pale yellow, black inside the set.
void ColourOf(int steps, int& red, int& green, int& blue) {
    double t = static_cast<double>(steps) / kMaxSteps;  // 0 to 1
    if (steps == kMaxSteps) t = 0;
    red = static_cast<int>(9 * (1 - t) * t * t * t * 255);  // each polynomial stays below 1
    green = static_cast<int>(15 * (1 - t) * (1 - t) * t * t * 255);
    blue = static_cast<int>(8.5 * (1 - t) * (1 - t) * (1 - t) * t * 255);
}

}  // namespace

int main() {
    window w(kWidth, kHeight, 100, 100);
    w.SetTitle("Mandelbrot set");
    w.SetBuffering(true);

    // Pixel (column, row) is the point -2.2 + 0.008 * column, 1.2 - 0.008 * row.
    const double scale = 3.2 / kWidth;
    int steps[kWidth];
    int penRed = -1, penGreen = -1, penBlue = -1;  // no pen chosen yet
    for (int row = 0; row < kHeight && w.IsOpen(); ++row) {
        for (int column = 0; column < kWidth; ++column) steps[column] = Steps(-2.2 + scale * column, 1.2 - scale * row);
        w.ProcessOneMessage();

        for (int column = 0; column < kWidth; ++column) {
            int red, green, blue;
            ColourOf(steps[column], red, green, blue);
            if (red != penRed || green != penGreen || blue != penBlue) {
                w.SetPen(red, green, blue, 1);
                penRed = red;
                penGreen = green;
                penBlue = blue;
            }
            w.DrawPoint(column, row);
        }
        if (row % 25 == 24) w.UpdateBuffer();  // show the rows so far
    }
    return 0;
}
