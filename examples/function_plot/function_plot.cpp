// function_plot - plots y = sin(x) and y = x * x / 4 - 1 for x from -4 to 4
// with axes, tick marks and numbered ticks.
//
// The lesson is the change of coordinates: a point (x, y) of the plane is
// drawn at the pixel (Column(x), Row(y)). Rows count down the window, so y
// is turned upside down. Each curve is a chain of short lines, one pixel
// column apart.
//
// It draws one picture and ends: the last window waits for a click.
#include <cmath>

#include "graphics.h"

namespace {

// The part of the plane shown, x from -4 to 4 and y from -2 to 3, fitted
// into a window with a margin for the numbers.
struct Plane {
    const double minX = -4, maxX = 4, minY = -2, maxY = 3;
    const int margin = 30;
    int width = 0, height = 0;  // the window's drawing area

    int Column(double x) const { return margin + static_cast<int>((x - minX) / (maxX - minX) * (width - 2 * margin)); }
    int Row(double y) const {
        return height - margin - static_cast<int>((y - minY) / (maxY - minY) * (height - 2 * margin));
    }
    // The x at a pixel column: Column the other way round.
    double X(int column) const { return minX + (column - margin) * (maxX - minX) / (width - 2 * margin); }
};

double Sine(double x) { return std::sin(x); }
double Parabola(double x) { return x * x / 4 - 1; }

// A curve as lines from one pixel column to the next; parts above or below
// the plane shown are left out.
void Plot(window& w, const Plane& p, double (*f)(double)) {
    int lastColumn = p.Column(p.minX), lastRow = p.Row(f(p.minX));
    for (int column = lastColumn + 1; column <= p.Column(p.maxX); ++column) {
        double y = f(p.X(column));
        int row = p.Row(y);
        if (y >= p.minY && y <= p.maxY) w.DrawLine(lastColumn, lastRow, column, row);
        lastColumn = column;
        lastRow = row;
    }
}

}  // namespace

int main() {
    window w(480, 320, 100, 100);
    w.SetTitle("Function plot");
    Plane p;
    w.QuerySize(p.width, p.height);

    // The curves, each with its formula in its colour.
    w.SetFont(16, 0, FAMILY_SWISS, nullptr);
    w.SetPen(ROYAL_BLUE, 2);
    Plot(w, p, Sine);
    w.DrawString(10, 6, "y = sin(x)");
    w.SetPen(DARK_ORANGE, 2);
    Plot(w, p, Parabola);
    w.DrawString(130, 6, "y = x * x / 4 - 1");

    // The axes over the curves, with a tick and its number at every whole x
    // and y.
    w.SetPen(BLACK, 1);
    w.DrawLine(p.Column(p.minX), p.Row(0), p.Column(p.maxX) + 1, p.Row(0));
    w.DrawLine(p.Column(0), p.Row(p.minY), p.Column(0), p.Row(p.maxY) - 1);
    w.SetFont(12, 0, FAMILY_SWISS, nullptr);
    int width = 0, height = 0;
    for (int x = -4; x <= 4; ++x) {
        if (x == 0) continue;
        w.DrawLine(p.Column(x), p.Row(0) - 3, p.Column(x), p.Row(0) + 4);
        w.GetNumberSize(width, height, x);
        w.DrawNumber(p.Column(x) - width / 2, p.Row(0) + 6, x);  // centred under the tick
    }
    for (int y = -2; y <= 3; ++y) {
        if (y == 0) continue;
        w.DrawLine(p.Column(0) - 3, p.Row(y), p.Column(0) + 4, p.Row(y));
        w.GetNumberSize(width, height, y);
        w.DrawNumber(p.Column(0) - 6 - width, p.Row(y) - height / 2, y);  // left of the tick
    }
    return 0;
}
