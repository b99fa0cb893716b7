// pie_chart - a pie chart of a small table, with a legend. Each slice is a
// DrawArc pie, its angles given in radians (the last argument 1); angles
// count counter-clockwise from the 3 o'clock direction.
//
// A left click on a slice highlights it by drawing the same slice with
// STYLE_INVERTED; a second click on it inverts it back. The slice under the
// pointer is found with atan2, the way the angles were laid out.
//
// A right click ends the loop; the last window then waits for a click.
#include <cmath>

#include "graphics.h"

namespace {

struct Slice {
    const char* name;
    int votes;
    color colour;
};
const Slice kTable[] = {
    {"Walk", 35, CORNFLOWER_BLUE}, {"Bicycle", 25, MEDIUM_SEA_GREEN}, {"Bus", 20, GOLD}, {"Car", 15, TOMATO},
    {"Other", 5, ORCHID},
};
const int kSlices = 5, kTotal = 100;
const int kCentreX = 150, kCentreY = 160, kRadius = 120;
const double kTurn = 2 * 3.14159265358979;  // a whole turn in radians

// The angles where slice i starts and ends.
double StartOf(int i) {
    int before = 0;
    for (int j = 0; j < i; ++j) before += kTable[j].votes;
    return kTurn * before / kTotal;
}
double EndOf(int i) { return StartOf(i) + kTurn * kTable[i].votes / kTotal; }

void DrawSlice(window& w, int i, drawstyle style) {
    w.DrawArc(kCentreX - kRadius, kCentreY - kRadius, kCentreX + kRadius, kCentreY + kRadius, StartOf(i), EndOf(i),
              style, 1);
}

// The slice at (x, y), or -1 outside the pie.
int SliceAt(int x, int y) {
    double dx = x - kCentreX, dy = kCentreY - y;  // y up, as for the angles
    if (dx * dx + dy * dy > kRadius * kRadius) return -1;
    double angle = std::atan2(dy, dx);  // -pi to pi
    if (angle < 0) angle += kTurn;
    for (int i = 0; i < kSlices; ++i)
        if (angle < EndOf(i)) return i;
    return kSlices - 1;
}

}  // namespace

int main() {
    window w(480, 320, 100, 100);
    w.SetTitle("How we come to school");
    w.SetPen(BLACK, 1);
    w.SetFont(16, FONT_BOLD, FAMILY_SWISS, nullptr);
    w.DrawString(300, 20, "How we come to school");
    w.SetFont(14, 0, FAMILY_SWISS, nullptr);

    for (int i = 0; i < kSlices; ++i) {
        w.SetPen(BLACK, 1);
        w.SetBrush(kTable[i].colour);
        DrawSlice(w, i, STYLE_FILLED);

        // The legend: a swatch, the name and the share.
        int y = 60 + i * 30;
        w.DrawRectangle(300, y, 320, y + 20, STYLE_FILLED, 6, 6);
        w.DrawString(330, y + 2, kTable[i].name);
        int width = 0, height = 0;
        w.GetNumberSize(width, height, kTable[i].votes);
        w.DrawNumber(440 - width, y + 2, kTable[i].votes);  // right-aligned
        w.DrawString(442, y + 2, "%");
    }
    w.SetFont(12, 0, FAMILY_SWISS, nullptr);
    w.DrawString(300, 230, "Left click a slice: highlight it.");
    w.DrawString(300, 250, "Right click: end.");

    int x = 0, y = 0;
    while (w.AwaitClick(x, y) == CK_LEFT) {
        int i = SliceAt(x, y);
        if (i >= 0) DrawSlice(w, i, STYLE_INVERTED);  // a second time undoes it
    }
    return 0;
}
