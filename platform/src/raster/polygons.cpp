// polygons.cpp - polygon scan conversion: the pixels inside a polygon by
// the alternate or the winding rule, row by row down the edges that cross
// each row.
#include "raster/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "raster/raster_internal.h"

namespace platform {
namespace raster {

namespace {

// Where an edge crosses a row, and the first pixel whose sample point is at
// or right of that crossing.
struct Crossing {
    double x;
    int64_t pixel;
    int dir;  // 1 for an edge going down, -1 for one going up
    bool operator<(const Crossing& o) const { return pixel != o.pixel ? pixel < o.pixel : x < o.x; }
};

// One edge of a polygon, over the rows whose sample lines it crosses.
struct Edge {
    int64_t top, bottom;   // rows [top, bottom) whose sample lines the edge crosses
    double x0, y0, slope;  // x = x0 + (row + at - y0) * slope
    int dir;
    // Whole-number ends sampled at pixel corners: the first pixel right
    // of the crossing is worked out exactly, so that a crossing on a
    // pixel corner is never taken for one just beside it.
    bool exact;
    int64_t ix0, iy0, idx, idy;  // idy > 0
    // The exact crossing stepped from row to row: on row `row` the first
    // pixel right of it is `pixel`, and pixel * idy less the crossing's
    // numerator is `rem`, in [0, idy). Each row down adds idx, which is
    // whole * idy + part with part in [0, idy).
    int64_t row, pixel, rem, whole, part;

    // The edge from a to b sampled at (x + at, y + at), within the rows of
    // the clip; false when it crosses none of them (level edges included).
    bool Make(const PointD& a, const PointD& b, double at, const Clip& clip) {
        if (a.y == b.y) return false;
        const PointD& up = a.y < b.y ? a : b;
        const PointD& dn = a.y < b.y ? b : a;
        // Rows whose sample line y + at has up.y <= y + at < dn.y.
        double first = std::ceil(up.y - at), end = std::ceil(dn.y - at);
        if (end <= clip.top || first >= clip.bottom) return false;
        top = static_cast<int64_t>(std::max(first, static_cast<double>(clip.top)));
        bottom = static_cast<int64_t>(std::min(end, static_cast<double>(clip.bottom)));
        if (top >= bottom) return false;
        x0 = up.x;
        y0 = up.y;
        slope = (dn.x - up.x) / (dn.y - up.y);
        dir = a.y < b.y ? 1 : -1;
        auto integral = [](double v) { return v == std::floor(v) && std::fabs(v) < 4e15; };
        exact = at == 0.0 && integral(up.x) && integral(up.y) && integral(dn.x) && integral(dn.y);
        if (exact) {
            ix0 = static_cast<int64_t>(up.x);
            iy0 = static_cast<int64_t>(up.y);
            idx = static_cast<int64_t>(dn.x) - ix0;
            idy = static_cast<int64_t>(dn.y) - iy0;
            whole = idx / idy;
            part = idx % idy;
            if (part < 0) {
                part += idy;
                --whole;
            }
            row = INT64_MIN;  // worked out in full on the first row asked for
        }
        return true;
    }

    // The crossing of row y. The rows asked for of one edge mostly follow
    // one another, and the exact crossing is then stepped from the last
    // row's without division. The crossing lies between the edge's
    // whole-number ends, well inside 64 bits, so the stepped values never
    // overflow. Without `wantX` an exact crossing's x is left out.
    Crossing At(int64_t y, double at, bool wantX = true) {
        double x = 0.0;
        if (wantX || !exact) x = x0 + (static_cast<double>(y) + at - y0) * slope;
        if (!exact) return Crossing{x, ClampTo(std::ceil(x - at), INT32_MIN, INT32_MAX), dir};
        if (row != y) {
            __int128 num = static_cast<__int128>(ix0) * idy + static_cast<__int128>(y - iy0) * idx;
            __int128 q = CeilDiv(num, idy);
            pixel = static_cast<int64_t>(q);
            rem = static_cast<int64_t>(q * idy - num);
            row = y;
        }
        Crossing c{x, pixel, dir};
        // On to the next row.
        pixel += whole;
        rem -= part;
        if (rem < 0) {
            rem += idy;
            ++pixel;
        }
        ++row;
        return c;
    }
};

// Pixels [pa, pb) of row y, clipped and added to the row's last run when
// they touch it.
class RowWriter {
public:
    RowWriter(Spans& out, const Clip& clip) : out_(out), clip_(clip) {}
    void Run(int64_t y, int64_t pa, int64_t pb) {
        int32_t a = ClampTo(pa, clip_.left, clip_.right);
        int32_t b = ClampTo(pb, clip_.left, clip_.right);
        if (a >= b) return;
        if (!out_.empty() && out_.back().y == y && out_.back().x0 <= a && out_.back().x1 >= a) {
            out_.back().x1 = std::max(out_.back().x1, b);
        } else {
            Append(out_, static_cast<int32_t>(y), a, b);
        }
    }

private:
    Spans& out_;
    const Clip& clip_;
};

// Rows [y, until) crossed by two edges alone: one run per row between the
// two crossings, by either rule. Crossings on one pixel leave the row empty
// whichever comes first, so the pixels alone order the two. Both crossings
// stepped exactly are kept in registers from the second row on.
void TwoEdgeRows(Edge& e0, Edge& e1, int64_t y, int64_t until, double at, RowWriter& rows) {
    if (!e0.exact || !e1.exact) {
        for (; y < until; ++y) {
            int64_t p0 = e0.At(y, at, false).pixel, p1 = e1.At(y, at, false).pixel;
            rows.Run(y, std::min(p0, p1), std::max(p0, p1));
        }
        return;
    }
    if (y >= until) return;
    int64_t p0 = e0.At(y, at, false).pixel, p1 = e1.At(y, at, false).pixel;
    rows.Run(y, std::min(p0, p1), std::max(p0, p1));
    p0 = e0.pixel;
    p1 = e1.pixel;
    int64_t r0 = e0.rem, r1 = e1.rem;
    const int64_t w0 = e0.whole, w1 = e1.whole, f0 = e0.part, f1 = e1.part;
    const int64_t d0 = e0.idy, d1 = e1.idy;
    for (++y; y < until; ++y) {
        rows.Run(y, std::min(p0, p1), std::max(p0, p1));
        p0 += w0;
        r0 -= f0;
        if (r0 < 0) {
            r0 += d0;
            ++p0;
        }
        p1 += w1;
        r1 -= f1;
        if (r1 < 0) {
            r1 += d1;
            ++p1;
        }
    }
    e0.pixel = p0;
    e0.rem = r0;
    e0.row = y;
    e1.pixel = p1;
    e1.rem = r1;
    e1.row = y;
}

// Rows [y, until) crossed by the `count` edges of `active`: each row's
// crossings in order, and the runs between them that the rule counts as
// inside.
void CrossedRows(Edge* const* active, size_t count, int fillMode, int64_t y, int64_t until, double at,
                 std::vector<Crossing>& crossings, RowWriter& rows) {
    for (; y < until; ++y) {
        crossings.clear();
        for (size_t k = 0; k < count; ++k) crossings.push_back(active[k]->At(y, at));
        std::sort(crossings.begin(), crossings.end());
        int winding = 0;
        for (size_t k = 0; k + 1 < crossings.size(); ++k) {
            winding += fillMode == WINDING ? crossings[k].dir : 1;
            bool inside = fillMode == WINDING ? winding != 0 : (winding & 1) != 0;
            if (inside) rows.Run(y, crossings[k].pixel, crossings[k + 1].pixel);
        }
    }
}

}  // namespace

void FillPolygon(const PointD* points, size_t count, int fillMode, const Clip& clip, Spans& out, double at) {
    if (!points || count < 3) return;
    // The edges that cross rows of the clip, by their first row.
    Scratch<Edge, 8> edges(count);
    size_t edgeCount = 0;
    for (size_t i = 0; i < count; ++i) {
        if (edges[edgeCount].Make(points[i], points[(i + 1) % count], at, clip)) ++edgeCount;
    }
    if (edgeCount == 0) return;
    std::sort(edges.data(), edges.data() + edgeCount, [](const Edge& a, const Edge& b) { return a.top < b.top; });
    // Room for one run a row at least, taken at once (and growing as
    // push_back grows, for the many pieces of a long wide line).
    int64_t lowest = edges[0].bottom;
    for (size_t i = 1; i < edgeCount; ++i) lowest = std::max(lowest, edges[i].bottom);
    size_t need = out.size() + static_cast<size_t>(lowest - edges[0].top);
    if (need > out.capacity()) out.reserve(std::max(need, 2 * out.capacity()));

    // Down the rows, the edges that cross them: the rows up to the next
    // edge's start or an active edge's end cross the same edges.
    RowWriter rows(out, clip);
    Scratch<Edge*, 8> active(edgeCount);
    size_t activeCount = 0;
    std::vector<Crossing> crossings;
    size_t next = 0;
    int64_t y = edges[0].top;
    while (y < clip.bottom) {
        while (next < edgeCount && edges[next].top <= y) active[activeCount++] = &edges[next++];
        activeCount = static_cast<size_t>(
            std::remove_if(active.data(), active.data() + activeCount, [y](const Edge* e) { return e->bottom <= y; }) -
            active.data());
        if (activeCount == 0) {
            if (next >= edgeCount) break;
            y = edges[next].top;
            continue;
        }
        int64_t until = next < edgeCount ? std::min<int64_t>(edges[next].top, clip.bottom) : clip.bottom;
        for (size_t k = 0; k < activeCount; ++k) until = std::min(until, active[k]->bottom);
        if (activeCount == 2) {
            TwoEdgeRows(*active[0], *active[1], y, until, at, rows);
        } else {
            CrossedRows(active.data(), activeCount, fillMode, y, until, at, crossings, rows);
        }
        y = std::max(y, until);
    }
}

void PolygonSpans(const POINT* points, size_t count, int fillMode, const Clip& clip, Spans& out) {
    if (!points || count < 3) return;
    Scratch<PointD, 8> d(count);
    for (size_t i = 0; i < count; ++i)
        d[i] = PointD{static_cast<double>(points[i].x), static_cast<double>(points[i].y)};
    FillPolygon(d.data(), count, fillMode, clip, out);
}

}  // namespace raster
}  // namespace platform
