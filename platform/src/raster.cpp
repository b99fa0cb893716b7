// raster.cpp - the raster engine: figures and lines as spans, span algebra
// (normalize, union, intersection, difference, outline, widening), and the
// one place where spans become pixels.
#include "raster.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace raster {
namespace {

int32_t ClampTo(int64_t v, int32_t lo, int32_t hi) {
    return static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(v, lo), hi));
}

int32_t ClampTo(double v, int32_t lo, int32_t hi) {
    if (!(v > lo)) return lo;  // also NaN
    if (v > hi) return hi;
    return static_cast<int32_t>(v);
}

// Appends [x0, x1) on row y, cut to the clip.
void Emit(Spans& out, const Clip& clip, int64_t y, int64_t x0, int64_t x1) {
    if (y < clip.top || y >= clip.bottom) return;
    int32_t a = ClampTo(x0, clip.left, clip.right);
    int32_t b = ClampTo(x1, clip.left, clip.right);
    if (a < b) out.push_back(Span{static_cast<int32_t>(y), a, b});
}

// Ceiling of a / b for b > 0.
__int128 CeilDiv(__int128 a, __int128 b) {
    __int128 q = a / b;
    if (a % b != 0 && a > 0) ++q;
    return q;
}

// Rows [first, last) of a normalized list, one after the other.
struct RowCursor {
    const Spans& spans;
    size_t pos = 0;
    explicit RowCursor(const Spans& s) : spans(s) {}
    bool Done() const { return pos >= spans.size(); }
    int32_t Row() const { return spans[pos].y; }
    // The index one past the current row's last span.
    size_t RowEnd() const {
        size_t end = pos;
        while (end < spans.size() && spans[end].y == spans[pos].y) ++end;
        return end;
    }
};

// Row-level operations on sorted, disjoint runs [b, e) of one row.
template <typename Keep>
void CombineRow(const Span* a, size_t na, const Span* b, size_t nb, int32_t y, Keep keep, Spans& out) {
    // Sweep over all run edges; keep(inA, inB) says whether a point is kept.
    std::vector<int32_t> edges;
    edges.reserve(2 * (na + nb));
    for (size_t i = 0; i < na; ++i) {
        edges.push_back(a[i].x0);
        edges.push_back(a[i].x1);
    }
    for (size_t i = 0; i < nb; ++i) {
        edges.push_back(b[i].x0);
        edges.push_back(b[i].x1);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    size_t ia = 0, ib = 0;
    for (size_t k = 0; k + 1 < edges.size(); ++k) {
        int32_t x = edges[k];
        while (ia < na && a[ia].x1 <= x) ++ia;
        while (ib < nb && b[ib].x1 <= x) ++ib;
        bool inA = ia < na && a[ia].x0 <= x;
        bool inB = ib < nb && b[ib].x0 <= x;
        if (!keep(inA, inB)) continue;
        if (!out.empty() && out.back().y == y && out.back().x1 == x) {
            out.back().x1 = edges[k + 1];
        } else {
            out.push_back(Span{y, x, edges[k + 1]});
        }
    }
}

template <typename Keep>
Spans Combine(const Spans& a, const Spans& b, Keep keep) {
    Spans out;
    RowCursor ca(a), cb(b);
    while (!ca.Done() || !cb.Done()) {
        int32_t y;
        if (ca.Done()) {
            y = cb.Row();
        } else if (cb.Done()) {
            y = ca.Row();
        } else {
            y = std::min(ca.Row(), cb.Row());
        }
        size_t ea = (!ca.Done() && ca.Row() == y) ? ca.RowEnd() : ca.pos;
        size_t eb = (!cb.Done() && cb.Row() == y) ? cb.RowEnd() : cb.pos;
        CombineRow(a.data() + ca.pos, ea - ca.pos, b.data() + cb.pos, eb - cb.pos, y, keep, out);
        ca.pos = ea;
        cb.pos = eb;
    }
    return out;
}

double ScreenAngle(double dx, double dy) {
    double a = std::atan2(-dy, dx);  // counter-clockwise as seen, y grows downward
    return a < 0 ? a + 2 * kPi : a;
}

}  // namespace

// ---------------------------------------------------------------- pixels

namespace {

// Each mix mode's masks as functions of the pen: andMask = (pen & a1) ^ a2,
// xorMask = (pen & x1) ^ x2, every bit of a1, a2, x1, x2 the same (0 or 1).
struct MixCodes {
    uint8_t a1, a2, x1, x2;
};

constexpr MixCodes kMixCodes[16] = {
    {0, 0, 0, 0},  // R2_BLACK
    {1, 1, 1, 1},  // R2_NOTMERGEPEN
    {1, 1, 0, 0},  // R2_MASKNOTPEN
    {0, 0, 1, 1},  // R2_NOTCOPYPEN
    {1, 0, 1, 0},  // R2_MASKPENNOT
    {0, 1, 0, 1},  // R2_NOT
    {0, 1, 1, 0},  // R2_XORPEN
    {1, 0, 0, 1},  // R2_NOTMASKPEN
    {1, 0, 0, 0},  // R2_MASKPEN
    {0, 1, 1, 1},  // R2_NOTXORPEN
    {0, 1, 0, 0},  // R2_NOP
    {1, 0, 1, 1},  // R2_MERGENOTPEN
    {0, 0, 1, 0},  // R2_COPYPEN
    {1, 1, 0, 1},  // R2_MERGEPENNOT
    {1, 1, 1, 0},  // R2_MERGEPEN
    {0, 0, 0, 1},  // R2_WHITE
};

}  // namespace

Mix MixOf(int rop2, uint32_t pixel) {
    if (rop2 < R2_BLACK || rop2 > R2_LAST) return Mix{0xFFFFFFu, 0};
    const MixCodes& c = kMixCodes[rop2 - R2_BLACK];
    auto all = [](uint8_t bit) { return bit ? 0xFFFFFFu : 0u; };
    const uint32_t pen = pixel & 0xFFFFFFu;
    return Mix{(pen & all(c.a1)) ^ all(c.a2), (pen & all(c.x1)) ^ all(c.x2)};
}

void PaintSpans(Surface& surface, const Spans& spans, uint32_t pixel, int rop2) {
    if (rop2 < R2_BLACK || rop2 > R2_LAST) return;
    const uint32_t pen = pixel & 0xFFFFFFu;
    const Mix mix = MixOf(rop2, pen);
    for (const Span& s : spans) {
        if (s.y < 0 || s.y >= surface.height) continue;
        int32_t x0 = std::max(s.x0, 0);
        int32_t x1 = std::min(s.x1, surface.width);
        if (x0 >= x1) continue;
        uint32_t* p = surface.Row(s.y) + x0;
        uint32_t* end = surface.Row(s.y) + x1;
        switch (rop2) {
            case R2_COPYPEN: std::fill(p, end, pen); break;
            case R2_NOT:
                for (; p != end; ++p) *p ^= 0xFFFFFFu;
                break;
            default:
                for (; p != end; ++p) *p = ((*p & mix.andMask) ^ mix.xorMask) & 0xFFFFFFu;
        }
    }
}

// ---------------------------------------------------------------- span algebra

void Normalize(Spans& spans) {
    auto before = [](const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; };
    if (!std::is_sorted(spans.begin(), spans.end(), before)) std::sort(spans.begin(), spans.end(), before);
    size_t out = 0;
    for (size_t i = 0; i < spans.size(); ++i) {
        const Span& s = spans[i];
        if (s.x0 >= s.x1) continue;
        if (out > 0 && spans[out - 1].y == s.y && spans[out - 1].x1 >= s.x0) {
            spans[out - 1].x1 = std::max(spans[out - 1].x1, s.x1);
        } else {
            spans[out++] = s;
        }
    }
    spans.resize(out);
}

Spans Subtract(const Spans& a, const Spans& b) {
    return Combine(a, b, [](bool inA, bool inB) { return inA && !inB; });
}

Spans Union(const Spans& a, const Spans& b) {
    return Combine(a, b, [](bool inA, bool inB) { return inA || inB; });
}

Spans Intersect(const Spans& a, const Spans& b) {
    return Combine(a, b, [](bool inA, bool inB) { return inA && inB; });
}

Spans Boundary(const Spans& filled) {
    // Interior: pixels whose four neighbours are all in the figure; that is
    // the figure shrunk by one on each side of every run, intersected with
    // the rows above and below.
    Spans shrunk, up, down;
    shrunk.reserve(filled.size());
    for (const Span& s : filled) {
        if (s.x1 - s.x0 > 2) shrunk.push_back(Span{s.y, s.x0 + 1, s.x1 - 1});
        if (s.y > INT32_MIN) down.push_back(Span{s.y - 1, s.x0, s.x1});  // row y seen from row y - 1
        if (s.y < INT32_MAX) up.push_back(Span{s.y + 1, s.x0, s.x1});   // row y seen from row y + 1
    }
    Spans interior = Intersect(Intersect(shrunk, up), down);
    return Subtract(filled, interior);
}

Clip Grow(const Clip& clip, int margin) {
    auto grow = [&](int32_t v, int sign) {
        return ClampTo(static_cast<int64_t>(v) + sign * static_cast<int64_t>(margin), INT32_MIN + 1, INT32_MAX - 1);
    };
    return Clip{grow(clip.left, -1), grow(clip.top, -1), grow(clip.right, 1), grow(clip.bottom, 1)};
}

Spans Dilate(const Spans& thin, int width, const Clip& clip) {
    if (width <= 1) {
        Spans out;
        for (const Span& s : thin) Emit(out, clip, s.y, s.x0, s.x1);
        return out;
    }
    // The pen's dot, relative to the pixel it is centred on.
    Spans dot;
    int64_t lead = width / 2;
    EllipseSpans(Box{-lead, -lead, width - lead, width - lead}, Clip{-width, -width, width, width}, dot);
    Spans out;
    out.reserve(thin.size() * dot.size());
    for (const Span& s : thin) {
        for (const Span& d : dot) {
            Emit(out, clip, static_cast<int64_t>(s.y) + d.y, static_cast<int64_t>(s.x0) + d.x0,
                 static_cast<int64_t>(s.x1) - 1 + d.x1);
        }
    }
    Normalize(out);
    return out;
}

// ---------------------------------------------------------------- figures

Box Ordered(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return Box{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

void RectSpans(const Box& box, const Clip& clip, Spans& out) {
    int64_t y0 = std::max<int64_t>(box.top, clip.top);
    int64_t y1 = std::min<int64_t>(box.bottom, clip.bottom);
    for (int64_t y = y0; y < y1; ++y) Emit(out, clip, y, box.left, box.right);
}

namespace {

// Largest quarter ellipse traced step by step; beyond it (far larger than
// any surface) the outline is worked out from the ellipse equation.
constexpr int64_t kLargestTraced = int64_t{1} << 18;

// Walks the quarter of the ellipse inscribed in a w x h box (w, h >= 3)
// below and right of its centre, pixel by pixel from the right end of the
// middle row h / 2 down to the bottom, calling visit(x, y) for each pixel
// (relative to the box). This is the midpoint method for an ellipse given by
// its bounding box, in the integer form of Alois Zingl's "A Rasterizing
// Algorithm for Drawing Curves" (2012), the algorithm Wine's DIB engine
// credits for its ellipses.
template <typename Visit>
void WalkQuarter(int64_t w, int64_t h, Visit visit) {
    const int64_t a = w - 1, b = h - 1;
    const __int128 a8 = static_cast<__int128>(8) * a * a, b8 = static_cast<__int128>(8) * b * b;
    __int128 dx = static_cast<__int128>(4) * b * b * (1 - a);
    __int128 dy = static_cast<__int128>(4) * a * a * (1 + (b % 2));
    __int128 err = dx + dy + static_cast<__int128>(a) * a * (b % 2);
    int64_t x = a, y = h / 2;
    while (x >= w / 2) {
        __int128 e2 = 2 * err;
        visit(x, y);
        if (e2 >= dx) {
            --x;
            dx += b8;
            err += dx;
        }
        if (e2 <= dy) {
            ++y;
            dy += a8;
            err += dy;
        }
    }
}

// The same quarter as rows: for each row h / 2 .. h - 1 the first and last
// x of the outline on it, relative to the box.
struct Quarter {
    std::vector<int64_t> minX, maxX;  // index: row - h / 2
};

Quarter TraceQuarter(int64_t w, int64_t h) {
    Quarter q;
    int64_t rows = h - h / 2;
    q.minX.assign(static_cast<size_t>(rows), INT64_MAX);
    q.maxX.assign(static_cast<size_t>(rows), INT64_MIN);
    WalkQuarter(w, h, [&](int64_t x, int64_t y) {
        if (y >= h) return;
        size_t r = static_cast<size_t>(y - h / 2);
        q.minX[r] = std::min(q.minX[r], x);
        q.maxX[r] = std::max(q.maxX[r], x);
    });
    // Rows the trace stepped over keep the extent of the row above.
    for (size_t r = 1; r < q.minX.size(); ++r) {
        if (q.maxX[r] == INT64_MIN) {
            q.minX[r] = q.minX[r - 1];
            q.maxX[r] = q.maxX[r - 1];
        }
    }
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

// Fill and one-pixel rim of a box whose corners are quarters of an ew x eh
// ellipse (the whole ellipse when ew, eh are the box's size).
void Rounded(const Box& box, int64_t ew, int64_t eh, const Clip& clip, Spans* fill, Spans* rim) {
    int64_t w = box.right - box.left, h = box.bottom - box.top;
    if (w <= 0 || h <= 0) return;
    ew = std::min(ew, w);
    eh = std::min(eh, h);
    int64_t rowFirst = std::max<int64_t>(box.top, clip.top) - box.top;
    int64_t rowEnd = std::min<int64_t>(box.bottom, clip.bottom) - box.top;
    if (rowFirst >= rowEnd) return;
    if (ew < 3 || eh < 3) {
        if (fill) RectSpans(box, clip, *fill);
        if (rim) {
            Spans whole;
            RectSpans(box, Grow(clip, 1), whole);
            for (const Span& s : Boundary(whole)) Emit(*rim, clip, s.y, s.x0, s.x1);
        }
        return;
    }
    // Rows of the corner ellipse from its middle down are traced; a corner
    // band at the bottom has that many rows, the top band mirrors them.
    int64_t lower = eh / 2;
    int64_t band = eh - lower;
    Quarter q;
    bool traced = ew <= kLargestTraced && eh <= kLargestTraced;
    if (traced) q = TraceQuarter(ew, eh);
    int64_t shift = w - ew;  // the right corners sit this much further right
    for (int64_t r = rowFirst; r < rowEnd; ++r) {
        int64_t y = box.top + r;
        // The corner row this box row belongs to, if any.
        int64_t cr = -1;
        if (r >= h - band) {
            cr = r - (h - eh);
        } else if (r < eh - lower) {
            cr = eh - 1 - r;
        }
        if (cr < 0) {
            if (fill) Emit(*fill, clip, y, box.left, box.right);
            if (rim) {
                Emit(*rim, clip, y, box.left, box.left + 1);
                Emit(*rim, clip, y, box.right - 1, box.right);
            }
            continue;
        }
        int64_t maxX, minX;
        if (traced) {
            size_t qi = static_cast<size_t>(cr - lower);
            if (qi >= q.maxX.size()) continue;
            maxX = q.maxX[qi];
            minX = q.minX[qi];
        } else {
            SolveQuarterRow(ew, eh, cr - lower, minX, maxX);
        }
        int64_t outerLeft = box.left + (ew - 1 - maxX), outerRight = box.left + shift + maxX + 1;
        if (fill) Emit(*fill, clip, y, outerLeft, outerRight);
        if (rim) {
            if (r == 0 || r == h - 1) {
                Emit(*rim, clip, y, outerLeft, outerRight);
            } else {
                Emit(*rim, clip, y, outerLeft, box.left + (ew - 1 - minX) + 1);
                Emit(*rim, clip, y, box.left + shift + minX, outerRight);
            }
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

void RoundRectRimSpans(const Box& box, int64_t ew, int64_t eh, const Clip& clip, Spans& out) {
    if (ew <= 0 || eh <= 0) ew = eh = 0;
    Rounded(box, ew, eh, clip, nullptr, &out);
}

namespace {

struct PointD {
    double x, y;
};

// Scan conversion shared by all polygons: the pixels whose sample point
// (x + at, y + at) lies inside, by the even-odd or non-zero rule; left and
// top edges are inside. GDI samples polygons at the pixel's corner (at = 0).
void FillPolygon(const PointD* points, size_t count, int fillMode, const Clip& clip, Spans& out, double at = 0.0) {
    struct Edge {
        int64_t top, bottom;  // rows [top, bottom) whose centres the edge crosses
        double x0, y0, slope;  // x = x0 + (row + at - y0) * slope
        int dir;
    };
    if (!points || count < 3) return;
    std::vector<Edge> edges;
    edges.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const PointD& a = points[i];
        const PointD& b = points[(i + 1) % count];
        if (a.y == b.y) continue;
        const PointD& up = a.y < b.y ? a : b;
        const PointD& dn = a.y < b.y ? b : a;
        Edge e;
        // Rows whose sample line y + at has up.y <= y + at < dn.y.
        double top = std::ceil(up.y - at), bottom = std::ceil(dn.y - at);
        if (bottom <= clip.top || top >= clip.bottom) continue;
        e.top = static_cast<int64_t>(std::max(top, static_cast<double>(clip.top)));
        e.bottom = static_cast<int64_t>(std::min(bottom, static_cast<double>(clip.bottom)));
        if (e.top >= e.bottom) continue;
        e.x0 = up.x;
        e.y0 = up.y;
        e.slope = (dn.x - up.x) / (dn.y - up.y);
        e.dir = a.y < b.y ? 1 : -1;
        edges.push_back(e);
    }
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.top < b.top; });
    std::vector<const Edge*> active;
    std::vector<std::pair<double, int>> crossings;
    size_t next = 0;
    for (int64_t y = edges.front().top; y < clip.bottom; ++y) {
        while (next < edges.size() && edges[next].top <= y) active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->bottom <= y; }),
                     active.end());
        if (active.empty()) {
            if (next >= edges.size()) break;
            y = edges[next].top - 1;
            continue;
        }
        crossings.clear();
        for (const Edge* e : active) {
            crossings.emplace_back(e->x0 + (static_cast<double>(y) + at - e->y0) * e->slope, e->dir);
        }
        std::sort(crossings.begin(), crossings.end());
        int winding = 0;
        for (size_t k = 0; k + 1 < crossings.size(); ++k) {
            winding += fillMode == WINDING ? crossings[k].second : 1;
            bool inside = fillMode == WINDING ? winding != 0 : (winding & 1) != 0;
            if (!inside) continue;
            // Pixels whose sample points x + at lie in [xa, xb).
            int32_t a = ClampTo(std::ceil(crossings[k].first - at), clip.left, clip.right);
            int32_t b = ClampTo(std::ceil(crossings[k + 1].first - at), clip.left, clip.right);
            if (a >= b) continue;
            if (!out.empty() && out.back().y == y && out.back().x0 <= a && out.back().x1 >= a) {
                out.back().x1 = std::max(out.back().x1, b);
            } else {
                out.push_back(Span{static_cast<int32_t>(y), a, b});
            }
        }
    }
}

}  // namespace

void PolygonSpans(const POINT* points, size_t count, int fillMode, const Clip& clip, Spans& out) {
    if (!points || count < 3) return;
    std::vector<PointD> d(count);
    for (size_t i = 0; i < count; ++i) d[i] = PointD{static_cast<double>(points[i].x), static_cast<double>(points[i].y)};
    FillPolygon(d.data(), count, fillMode, clip, out);
}

void WidePolylineSpans(const POINT* points, size_t count, bool closed, int width, const Clip& clip, Spans& out) {
    if (!points || count == 0) return;
    // Round joins and caps: the pen's dot at every point; between points a
    // band `width` across, centred on pixel corners for even widths and half
    // a pixel to the right of them for odd ones (to the right and down on
    // diagonals, which thereby run through pixel centres). A slanted edge longer than
    // one step reaches half a pixel further along its major axis on both
    // sides: each row (or column) of it takes in the pixels within half a
    // pixel of the band. Steps between neighbouring pixels (the traced
    // outlines of ellipses) keep the plain band.
    Spans dot;
    int64_t lead = width / 2;
    EllipseSpans(Box{-lead, -lead, width - lead, width - lead}, Clip{-width, -width, width, width}, dot);
    const double shiftX = (width % 2) ? 0.5 : 0.0, half = width / 2.0;
    const Clip reach = Grow(clip, width + 1);
    auto near = [&](const POINT& p) {
        return p.x >= reach.left && p.x < reach.right && p.y >= reach.top && p.y < reach.bottom;
    };
    for (size_t i = 0; i < count; ++i) {
        const POINT& p = points[i];
        if (!near(p)) continue;
        for (const Span& d : dot) Emit(out, clip, static_cast<int64_t>(p.y) + d.y, static_cast<int64_t>(p.x) + d.x0,
                                       static_cast<int64_t>(p.x) + d.x1);
    }
    size_t segments = closed ? count : count - 1;
    for (size_t i = 0; i < segments; ++i) {
        const POINT& a = points[i];
        const POINT& b = points[(i + 1) % count];
        double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
        double len = std::hypot(dx, dy);
        if (len == 0) continue;
        // Skip segments whose box lies wholly outside the reach of the clip.
        if (std::max(a.x, b.x) < reach.left || std::min(a.x, b.x) >= reach.right ||
            std::max(a.y, b.y) < reach.top || std::min(a.y, b.y) >= reach.bottom) {
            continue;
        }
        bool step = std::fabs(dx) <= 1 && std::fabs(dy) <= 1;
        double shiftY = std::fabs(dx) == std::fabs(dy) ? shiftX : 0.0;
        double reach = step ? half : half + 0.5 * std::min(std::fabs(dx), std::fabs(dy)) / len;
        double nx = -dy / len * reach, ny = dx / len * reach;
        PointD quad[4] = {{a.x + shiftX + nx, a.y + shiftY + ny},
                          {b.x + shiftX + nx, b.y + shiftY + ny},
                          {b.x + shiftX - nx, b.y + shiftY - ny},
                          {a.x + shiftX - nx, a.y + shiftY - ny}};
        FillPolygon(quad, 4, WINDING, clip, out);
    }
}

std::vector<POINT> RoundedPolygon(const Box& box, int64_t ew, int64_t eh) {
    std::vector<POINT> out;
    int64_t w = box.right - box.left, h = box.bottom - box.top;
    ew = std::min(ew, w);
    eh = std::min(eh, h);
    if (ew < 3 || eh < 3 || ew > kLargestTraced || eh > kLargestTraced) return out;
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

// ---------------------------------------------------------------- lines

void ThinLineSpans(int64_t x0, int64_t y0, int64_t x1, int64_t y1, bool last, const Clip& clip, Spans& out) {
    int64_t dx = x1 - x0, dy = y1 - y0;
    int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    int64_t n = std::max(adx, ady) + (last ? 1 : 0);
    if (n == 0) return;
    if (adx == 0 && ady == 0) {
        Emit(out, clip, y0, x0, x0 + 1);
        return;
    }
    // Step along the major axis; the minor coordinate is the exact one
    // rounded to nearest, halves going to the smaller coordinate.
    bool xMajor = adx >= ady;
    int64_t major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;
    int64_t step = (xMajor ? dx : dy) < 0 ? -1 : 1;
    int64_t len = xMajor ? adx : ady;
    int64_t dMinor = xMajor ? dy : dx;
    // Steps whose major coordinate lies inside the clip.
    int64_t lo = xMajor ? clip.left : clip.top, hi = (xMajor ? clip.right : clip.bottom) - 1;
    int64_t iFirst, iLast;
    if (step > 0) {
        iFirst = lo - major0;
        iLast = hi - major0;
    } else {
        iFirst = major0 - hi;
        iLast = major0 - lo;
    }
    iFirst = std::max<int64_t>(iFirst, 0);
    iLast = std::min<int64_t>(iLast, n - 1);
    if (iFirst > iLast) return;
    // minor(i) = minor0 + ceil((2 i dMinor - len) / (2 len)), worked out once
    // and then stepped with its remainder, which stays in (-2 len, 0].
    const int64_t den = 2 * len, step2 = 2 * dMinor;
    __int128 num0 = static_cast<__int128>(2) * iFirst * dMinor - len;
    __int128 q0 = CeilDiv(num0, den);
    int64_t rem = static_cast<int64_t>(num0 - q0 * den);
    __int128 minorWide = minor0 + q0;
    for (int64_t i = iFirst; i <= iLast; ++i) {
        if (i > iFirst) {
            rem += step2;
            if (rem > 0) {
                ++minorWide;
                rem -= den;
            } else if (rem <= -den) {
                --minorWide;
                rem += den;
            }
        }
        __int128 minor = minorWide;
        int64_t major = major0 + step * i;
        if (minor < INT32_MIN || minor > INT32_MAX) continue;
        int64_t m = static_cast<int64_t>(minor);
        if (xMajor) {
            if (m < clip.top || m >= clip.bottom) continue;
            if (!out.empty() && out.back().y == m && out.back().x1 == major) {
                ++out.back().x1;
            } else if (!out.empty() && out.back().y == m && out.back().x0 == major + 1) {
                --out.back().x0;
            } else {
                Emit(out, clip, m, major, major + 1);
            }
        } else {
            Emit(out, clip, major, m, m + 1);
        }
    }
}

void ThinPolylineSpans(const POINT* points, size_t count, bool closed, const Clip& clip, Spans& out) {
    if (!points || count == 0) return;
    size_t segments = closed ? count : count - 1;
    for (size_t i = 0; i < segments; ++i) {
        const POINT& a = points[i];
        const POINT& b = points[(i + 1) % count];
        ThinLineSpans(a.x, a.y, b.x, b.y, false, clip, out);
    }
}

namespace {

struct Cubic {
    double x[4], y[4];
};

// Splits a curve in halves until its control points lie within `tolerance`
// of its chord, appending the end of each flat piece.
void Subdivide(const Cubic& c, double tolerance, int depth, std::vector<POINT>& out) {
    double dx = c.x[3] - c.x[0], dy = c.y[3] - c.y[0];
    double len = std::hypot(dx, dy);
    auto off = [&](int i) {
        if (len == 0) return std::hypot(c.x[i] - c.x[0], c.y[i] - c.y[0]);
        return std::fabs((c.x[i] - c.x[0]) * dy - (c.y[i] - c.y[0]) * dx) / len;
    };
    if (depth >= 12 || std::max(off(1), off(2)) <= tolerance) {
        POINT q{ClampTo(std::floor(c.x[3] + 0.5), INT32_MIN, INT32_MAX), ClampTo(std::floor(c.y[3] + 0.5), INT32_MIN, INT32_MAX)};
        if (q.x != out.back().x || q.y != out.back().y) out.push_back(q);
        return;
    }
    Cubic l, r;
    for (int axis = 0; axis < 2; ++axis) {
        const double* v = axis == 0 ? c.x : c.y;
        double* lv = axis == 0 ? l.x : l.y;
        double* rv = axis == 0 ? r.x : r.y;
        double m01 = (v[0] + v[1]) / 2, m12 = (v[1] + v[2]) / 2, m23 = (v[2] + v[3]) / 2;
        double m012 = (m01 + m12) / 2, m123 = (m12 + m23) / 2, mid = (m012 + m123) / 2;
        lv[0] = v[0]; lv[1] = m01; lv[2] = m012; lv[3] = mid;
        rv[0] = mid; rv[1] = m123; rv[2] = m23; rv[3] = v[3];
    }
    Subdivide(l, tolerance, depth + 1, out);
    Subdivide(r, tolerance, depth + 1, out);
}

}  // namespace

std::vector<POINT> FlattenBezier(const POINT* p) {
    // Pieces flat to within a pixel, as GDI flattens curves.
    Cubic c;
    for (int i = 0; i < 4; ++i) {
        c.x[i] = p[i].x;
        c.y[i] = p[i].y;
    }
    std::vector<POINT> out{p[0]};
    Subdivide(c, 1.0, 0, out);
    if (out.back().x != p[3].x || out.back().y != p[3].y) out.push_back(p[3]);
    if (out.size() == 1) out.push_back(p[3]);
    return out;
}

// ---------------------------------------------------------------- arcs

Spans Sector(const Spans& ellipse, const Box& box, int64_t xs, int64_t ys, int64_t xe, int64_t ye) {
    double cx = static_cast<double>(box.left + (box.right - box.left) / 2);
    double cy = static_cast<double>(box.top + (box.bottom - box.top) / 2);
    double start = ScreenAngle(xs - cx, ys - cy);
    double sweep = ScreenAngle(xe - cx, ye - cy) - start;
    if (sweep < 0) sweep += 2 * kPi;
    if (sweep == 0) return ellipse;
    Spans out;
    for (const Span& s : ellipse) {
        for (int32_t x = s.x0; x < s.x1; ++x) {
            double d = ScreenAngle(x - cx, s.y - cy) - start;
            if (d < 0) d += 2 * kPi;
            if (d > sweep) continue;
            if (!out.empty() && out.back().y == s.y && out.back().x1 == x) {
                ++out.back().x1;
            } else {
                out.push_back(Span{s.y, x, x + 1});
            }
        }
    }
    return out;
}

bool RayPixel(const Spans& outline, const Box& box, int64_t x, int64_t y, POINT& pixel) {
    double cx = static_cast<double>(box.left + (box.right - box.left) / 2);
    double cy = static_cast<double>(box.top + (box.bottom - box.top) / 2);
    double ray = ScreenAngle(x - cx, y - cy);
    double best = 10;
    for (const Span& s : outline) {
        for (int32_t px = s.x0; px < s.x1; ++px) {
            double d = std::fabs(ScreenAngle(px - cx, s.y - cy) - ray);
            d = std::min(d, 2 * kPi - d);
            if (d < best) {
                best = d;
                pixel = POINT{px, s.y};
            }
        }
    }
    return best < 10;
}

}  // namespace raster
}  // namespace platform
