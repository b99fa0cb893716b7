// figures.cpp - boxes, ellipses and rounded rectangles: their filled spans,
// their one-pixel outlines and the polygons of their traced outlines.
#include "raster/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "raster/raster_internal.h"

namespace platform {
namespace raster {

Box Ordered(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return Box{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

void RectSpans(const Box& box, const Clip& clip, Spans& out) {
    int64_t y0 = std::max<int64_t>(box.top, clip.top);
    int64_t y1 = std::min<int64_t>(box.bottom, clip.bottom);
    for (int64_t y = y0; y < y1; ++y) Emit(out, clip, y, box.left, box.right);
}

namespace {

// The same quarter as rows: for each row h / 2 .. h - 1 the first and last
// x of the outline on it, relative to the box.
struct Quarter {
    std::vector<int64_t> minX, maxX;  // index: row - h / 2
    // The row (same index) the trace's final step moved down to as it left
    // the quarter past its middle column, when no pixel of it lies on that
    // row; -1 when there is none.
    int64_t tipRow = -1;
};

Quarter TraceQuarter(int64_t w, int64_t h) {
    Quarter q;
    int64_t rows = h - h / 2;
    q.minX.assign(static_cast<size_t>(rows), INT64_MAX);
    q.maxX.assign(static_cast<size_t>(rows), INT64_MIN);
    int64_t endY = WalkQuarter(w, h, [&](int64_t x, int64_t y) {
        if (y >= h) return;
        size_t r = static_cast<size_t>(y - h / 2);
        q.minX[r] = std::min(q.minX[r], x);
        q.maxX[r] = std::max(q.maxX[r], x);
    });
    if (endY < h && q.maxX[static_cast<size_t>(endY - h / 2)] == INT64_MIN) q.tipRow = endY - h / 2;
    // Rows the trace did not reach (the ends of tall, narrow ellipses) stay
    // empty: GDI draws nothing of the ellipse there.
    return q;
}

// Row r (counted from the middle row h / 2 down) of the same quarter worked
// out from the ellipse equation, for boxes too large to trace.
void SolveQuarterRow(int64_t w, int64_t h, int64_t r, int64_t& minX, int64_t& maxX) {
    double a = (static_cast<double>(w) - 1) / 2.0, b = (static_cast<double>(h) - 1) / 2.0;
    auto outer = [&](int64_t y) {
        double dy = (static_cast<double>(y) - b) / (b + 0.5);
        double t = 1.0 - dy * dy;
        double half = t <= 0 ? 0.0 : (a + 0.5) * std::sqrt(t);
        return std::max(static_cast<int64_t>(std::floor(a + half)), w / 2);
    };
    int64_t y = h / 2 + r;
    maxX = outer(y);
    int64_t below = y + 1 < h ? outer(y + 1) : w / 2;
    minX = std::max(std::min(maxX, below + 1), w / 2);
}

// A figure too small to be round: its box filled, its rim the box's
// outline.
void SquareFigure(const Box& box, const Clip& clip, Spans* fill, Spans* rim) {
    if (fill) RectSpans(box, clip, *fill);
    if (rim) {
        Spans whole;
        RectSpans(box, Grow(clip, 1), whole);
        for (const Span& s : Boundary(whole)) Emit(*rim, clip, s.y, s.x0, s.x1);
    }
}

// The corners of a rounded box: quarters of an ew x eh ellipse, traced, or
// worked out from the equation when too large to trace. Rows of the corner
// ellipse from its middle down are traced; the corner band at the bottom of
// the box has that many rows, the top band mirrors them.
struct Corners {
    int64_t ew, eh;
    int64_t lower;  // corner rows above the ellipse's middle row
    int64_t band;   // corner rows in each band
    bool traced;
    Quarter quarter;
    // The last corner row the trace reached: the straight top and bottom
    // edges run along it.
    int64_t lastRow;

    Corners(int64_t w, int64_t h)
        : ew(w),
          eh(h),
          lower(h / 2),
          band(h - h / 2),
          traced(w <= kLargestTraced && h <= kLargestTraced),
          lastRow(band - 1) {
        if (!traced) return;
        quarter = TraceQuarter(ew, eh);
        while (lastRow > 0 && quarter.maxX[static_cast<size_t>(lastRow)] == INT64_MIN) --lastRow;
    }

    // The corner row that row r of a box h rows high belongs to; -1 for the
    // straight rows between the bands.
    int64_t RowOf(int64_t r, int64_t h) const {
        if (r >= h - band) return r - (h - eh);
        if (r < band) return eh - 1 - r;
        return -1;
    }
};

// Row r of a rounded box (relative to its top), corner row cr: the fill
// between the outer ends of the corners' outline on it, the rim along the
// outline (the whole row on the box's top and bottom rows and where the
// straight edges run).
void CornerRow(const Box& box, const Corners& c, int64_t r, int64_t cr, const Clip& clip, Spans* fill, Spans* rim) {
    const int64_t h = box.bottom - box.top, y = box.top + r;
    const int64_t shift = (box.right - box.left) - c.ew;  // the right corners sit this much further right
    int64_t maxX, minX;
    bool edgeRow = r == 0 || r == h - 1;
    if (c.traced) {
        edgeRow = edgeRow || cr - c.lower == c.lastRow;
        size_t qi = static_cast<size_t>(cr - c.lower);
        if (qi >= c.quarter.maxX.size() || c.quarter.maxX[qi] == INT64_MIN) {
            // The trace's last step, down and past the middle column, lands
            // on a row of its own: for an even corner width the corner
            // halves meet between two columns there, and the row keeps the
            // straight part between the corners.
            if (fill && static_cast<int64_t>(qi) == c.quarter.tipRow && c.ew % 2 == 0 && shift > 0)
                Emit(*fill, clip, y, box.left + c.ew / 2, box.left + shift + c.ew / 2);
            return;
        }
        maxX = c.quarter.maxX[qi];
        minX = c.quarter.minX[qi];
    } else {
        SolveQuarterRow(c.ew, c.eh, cr - c.lower, minX, maxX);
    }
    int64_t outerLeft = box.left + (c.ew - 1 - maxX), outerRight = box.left + shift + maxX + 1;
    if (fill) Emit(*fill, clip, y, outerLeft, outerRight);
    if (rim) {
        if (edgeRow) {
            Emit(*rim, clip, y, outerLeft, outerRight);
        } else {
            Emit(*rim, clip, y, outerLeft, box.left + (c.ew - 1 - minX) + 1);
            Emit(*rim, clip, y, box.left + shift + minX, outerRight);
        }
    }
}

// Fill and one-pixel rim of a box whose corners are quarters of an ew x eh
// ellipse (the whole ellipse when ew, eh are the box's size). `narrowest` is
// the narrowest corner that is traced; narrower ones leave the box square.
void Rounded(const Box& box, int64_t ew, int64_t eh, const Clip& clip, Spans* fill, Spans* rim,
             int64_t narrowest = kSmallestRound) {
    int64_t w = box.right - box.left, h = box.bottom - box.top;
    if (w <= 0 || h <= 0) return;
    ew = std::min(ew, w);
    eh = std::min(eh, h);
    int64_t rowFirst = std::max<int64_t>(box.top, clip.top) - box.top;
    int64_t rowEnd = std::min<int64_t>(box.bottom, clip.bottom) - box.top;
    if (rowFirst >= rowEnd) return;
    if (ew < narrowest || eh < kSmallestRound) {
        SquareFigure(box, clip, fill, rim);
        return;
    }
    const Corners corners(ew, eh);
    for (int64_t r = rowFirst; r < rowEnd; ++r) {
        int64_t cr = corners.RowOf(r, h);
        if (cr >= 0) {
            CornerRow(box, corners, r, cr, clip, fill, rim);
            continue;
        }
        // A straight row between the corner bands: filled across, its rim
        // the two side pixels.
        int64_t y = box.top + r;
        if (fill) Emit(*fill, clip, y, box.left, box.right);
        if (rim) {
            Emit(*rim, clip, y, box.left, box.left + 1);
            Emit(*rim, clip, y, box.right - 1, box.right);
        }
    }
}

}  // namespace

void EllipseSpans(const Box& box, const Clip& clip, Spans& out) {
    Rounded(box, box.right - box.left, box.bottom - box.top, clip, &out, nullptr);
}

void EllipseRimSpans(const Box& box, const Clip& clip, Spans& out) {
    Rounded(box, box.right - box.left, box.bottom - box.top, clip, nullptr, &out);
}

void RoundRectSpans(const Box& box, int64_t ew, int64_t eh, const Clip& clip, Spans& out) {
    if (ew <= 0 || eh <= 0) {
        RectSpans(box, clip, out);
        return;
    }
    Rounded(box, ew, eh, clip, &out, nullptr);
}

void RoundedRegionSpans(const Box& box, int64_t ew, int64_t eh, const Clip& clip, Spans& out) {
    Rounded(box, ew, eh, clip, &out, nullptr, 2);  // no corners (ew or eh <= 0) leave the box square
}

void RoundRectRimSpans(const Box& box, int64_t ew, int64_t eh, const Clip& clip, Spans& out) {
    if (ew <= 0 || eh <= 0) ew = eh = 0;
    Rounded(box, ew, eh, clip, nullptr, &out);
}

std::vector<POINT> RoundedPolygon(const Box& box, int64_t ew, int64_t eh) {
    std::vector<POINT> out;
    int64_t w = box.right - box.left, h = box.bottom - box.top;
    ew = std::min(ew, w);
    eh = std::min(eh, h);
    if (TooSmallToBeRound(ew, eh) || ew > kLargestTraced || eh > kLargestTraced) return out;
    std::vector<POINT> q;  // bottom-right quarter, from the right middle down to the bottom
    WalkQuarter(ew, eh, [&](int64_t x, int64_t y) { q.push_back(POINT{static_cast<LONG>(x), static_cast<LONG>(y)}); });
    auto add = [&](int64_t x, int64_t y) {
        POINT p{static_cast<LONG>(box.left + x), static_cast<LONG>(box.top + y)};
        if (out.empty() || out.back().x != p.x || out.back().y != p.y) out.push_back(p);
    };
    int64_t sx = w - ew, sy = h - eh;
    // Counter-clockwise as seen: top right, top left, bottom left, bottom right.
    for (size_t i = 0; i < q.size(); ++i) add(q[i].x + sx, eh - 1 - q[i].y);
    for (size_t i = q.size(); i-- > 0;) add(ew - 1 - q[i].x, eh - 1 - q[i].y);
    for (size_t i = 0; i < q.size(); ++i) add(ew - 1 - q[i].x, q[i].y + sy);
    for (size_t i = q.size(); i-- > 0;) add(q[i].x + sx, q[i].y + sy);
    if (out.size() > 1 && out.front().x == out.back().x && out.front().y == out.back().y) out.pop_back();
    return out;
}

}  // namespace raster
}  // namespace platform
