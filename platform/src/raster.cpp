// raster.cpp - the raster engine: figures and lines as spans, span algebra
// (normalize, union, intersection, difference, outline, widening), and the
// one place where spans become pixels.
#include "raster.h"

#include <algorithm>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Appends the run [x0, x1) on row y. The fields are written in place: a
// whole Span built aside and copied over would be read back before its
// parts are stored, which stalls the processor.
inline void Append(Spans& out, int32_t y, int32_t x0, int32_t x1) {
    Span& s = out.emplace_back();
    s.y = y;
    s.x0 = x0;
    s.x1 = x1;
}

// Appends [x0, x1) on row y, cut to the clip.
inline void Emit(Spans& out, const Clip& clip, int64_t y, int64_t x0, int64_t x1) {
    if (y < clip.top || y >= clip.bottom) return;
    int32_t a = ClampTo(x0, clip.left, clip.right);
    int32_t b = ClampTo(x1, clip.left, clip.right);
    if (a < b) Append(out, static_cast<int32_t>(y), a, b);
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

// Row-level operations on sorted, disjoint runs [b, e) of one row: a sweep
// from edge to edge of either list, keep(inA, inB) saying whether the
// stretch up to the next edge is kept.
template <typename Keep>
void CombineRow(const Span* a, size_t na, const Span* b, size_t nb, int32_t y, Keep keep, Spans& out) {
    if (na == 0 && nb == 0) return;
    size_t ia = 0, ib = 0;
    int64_t x = std::min<int64_t>(na ? a[0].x0 : INT64_MAX, nb ? b[0].x0 : INT64_MAX);
    for (;;) {
        while (ia < na && a[ia].x1 <= x) ++ia;
        while (ib < nb && b[ib].x1 <= x) ++ib;
        bool inA = ia < na && a[ia].x0 <= x;
        bool inB = ib < nb && b[ib].x0 <= x;
        int64_t nextA = ia < na ? (inA ? a[ia].x1 : a[ia].x0) : INT64_MAX;
        int64_t nextB = ib < nb ? (inB ? b[ib].x1 : b[ib].x0) : INT64_MAX;
        int64_t next = std::min(nextA, nextB);
        if (next == INT64_MAX) return;
        if (keep(inA, inB)) {
            if (!out.empty() && out.back().y == y && out.back().x1 == x) {
                out.back().x1 = static_cast<int32_t>(next);
            } else {
                Append(out, y, static_cast<int32_t>(x), static_cast<int32_t>(next));
            }
        }
        x = next;
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

// Sets the pixels [p, end) to `value`. Runs of 256 pixels or more are
// left to the processor's string store, which writes whole cache lines
// without reading them first: faster than vector stores once a surface no
// longer fits in the cache, and as fast for a run this long when it does.
// Otherwise with vector stores: runs of four pixels or more are covered by
// 16-byte stores, the last one overlapping its neighbour rather than
// finishing pixel by pixel; long runs are stored 64 bytes at a time on
// 16-byte boundaries in between.
void FillRow(uint32_t* p, uint32_t* end, uint32_t value) {
#if defined(__GNUC__) && defined(__x86_64__)
    if (end - p >= 256) {
        size_t n = static_cast<size_t>(end - p);
        asm volatile("rep stosl" : "+D"(p), "+c"(n) : "a"(value) : "memory");
        return;
    }
#endif
#if defined(__SSE2__)
    if (end - p >= 4) {
        const __m128i v = _mm_set1_epi32(static_cast<int>(value));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
        if (end - p > 8) {
            // From the first 16-byte boundary at or after p on; the store
            // above covers the pixels before it.
            auto* q = reinterpret_cast<uint32_t*>((reinterpret_cast<uintptr_t>(p) + 15) & ~uintptr_t{15});
            for (; end - q >= 16; q += 16) {
                _mm_store_si128(reinterpret_cast<__m128i*>(q), v);
                _mm_store_si128(reinterpret_cast<__m128i*>(q + 4), v);
                _mm_store_si128(reinterpret_cast<__m128i*>(q + 8), v);
                _mm_store_si128(reinterpret_cast<__m128i*>(q + 12), v);
            }
            for (; end - q >= 4; q += 4) _mm_store_si128(reinterpret_cast<__m128i*>(q), v);
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 4), v);
        return;
    }
#endif
    for (; p != end; ++p) *p = value;
}

// Each pixel p of [p, end) becomes (p & andMask) ^ xorMask, four at a time
// where the processor has vector instructions.
void MixRow(uint32_t* p, uint32_t* end, uint32_t andMask, uint32_t xorMask) {
#if defined(__SSE2__)
    const __m128i a = _mm_set1_epi32(static_cast<int>(andMask)), x = _mm_set1_epi32(static_cast<int>(xorMask));
    for (; end - p >= 4; p += 4) {
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_xor_si128(_mm_and_si128(d, a), x));
    }
#endif
    for (; p != end; ++p) *p = (*p & andMask) ^ xorMask;
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
    const Mix mix = MixOf(rop2, pixel);
    if (mix.andMask == 0xFFFFFFu && mix.xorMask == 0) return;  // leaves every pixel as it is
    const int32_t width = surface.width, height = surface.height;
    uint32_t* pixels = surface.pixels.data();
    for (const Span& s : spans) {
        if (s.y < 0 || s.y >= height) continue;
        int32_t x0 = std::max(s.x0, 0);
        int32_t x1 = std::min(s.x1, width);
        if (x0 >= x1) continue;
        uint32_t* row = pixels + static_cast<size_t>(s.y) * static_cast<size_t>(width);
        if (mix.andMask == 0) {
            FillRow(row + x0, row + x1, mix.xorMask);  // the pixels under do not matter
        } else {
            MixRow(row + x0, row + x1, mix.andMask, mix.xorMask);
        }
    }
}

// ---------------------------------------------------------------- span algebra

namespace {

bool Before(const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; }

// Puts spans in row-then-x order. Shapes cover few rows for their spans
// (a polygon one run a row, a pen's dots and bands a few), so the spans
// are dealt out to their rows by counting and each row's few runs are put
// in order where they land; lists spread thinly over many rows are sorted.
void Order(Spans& spans) {
    const size_t n = spans.size();
    if (n < 2) return;
    int32_t top = spans[0].y, bottom = spans[0].y;
    for (const Span& s : spans) {
        top = std::min(top, s.y);
        bottom = std::max(bottom, s.y);
    }
    const uint64_t rows = static_cast<uint64_t>(static_cast<int64_t>(bottom) - top) + 1;
    if (rows > 4 * static_cast<uint64_t>(n) + 1024) {
        std::sort(spans.begin(), spans.end(), Before);
        return;
    }
    // begin[r]: where row top + r begins in the ordered list.
    std::vector<uint32_t> begin(static_cast<size_t>(rows) + 1, 0);
    for (const Span& s : spans) ++begin[static_cast<size_t>(s.y - top) + 1];
    for (size_t r = 1; r <= rows; ++r) begin[r] += begin[r - 1];
    constexpr uint32_t kFewOnARow = 32;
    std::vector<uint32_t> next(begin.begin(), begin.end() - 1);
    Spans ordered(n);
    for (const Span& s : spans) {
        size_t r = static_cast<size_t>(s.y - top);
        size_t i = next[r]++;
        if (begin[r + 1] - begin[r] <= kFewOnARow) {
            // Put in place among the runs already dealt to the row.
            for (; i > begin[r] && ordered[i - 1].x0 > s.x0; --i) ordered[i] = ordered[i - 1];
        }
        ordered[i] = s;
    }
    for (size_t r = 0; r < rows; ++r) {
        if (begin[r + 1] - begin[r] > kFewOnARow) {
            std::sort(ordered.begin() + begin[r], ordered.begin() + begin[r + 1], Before);
        }
    }
    spans.swap(ordered);
}

// Merges the ordered spans [0, n) in place; returns how many are left and in
// `end` the index of the first span out of order (n when there is none).
size_t MergeOrdered(Spans& spans, size_t n, size_t& end) {
    size_t out = 0;
    int32_t lastY = 0, lastX0 = 0;
    for (size_t i = 0; i < n; ++i) {
        const Span s = spans[i];
        if (i > 0 && (s.y < lastY || (s.y == lastY && s.x0 < lastX0))) {
            end = i;
            return out;
        }
        lastY = s.y;
        lastX0 = s.x0;
        if (s.x0 >= s.x1) continue;
        if (out > 0 && spans[out - 1].y == s.y && spans[out - 1].x1 >= s.x0) {
            spans[out - 1].x1 = std::max(spans[out - 1].x1, s.x1);
        } else {
            spans[out++] = s;
        }
    }
    end = n;
    return out;
}

}  // namespace

void Normalize(Spans& spans) {
    size_t end;
    size_t kept = MergeOrdered(spans, spans.size(), end);
    if (end < spans.size()) {
        // Out of order from `end` on: the merged part and the rest are put
        // in order together and merged again.
        spans.erase(spans.begin() + static_cast<std::ptrdiff_t>(kept), spans.begin() + static_cast<std::ptrdiff_t>(end));
        Order(spans);
        kept = MergeOrdered(spans, spans.size(), end);
    }
    spans.resize(kept);
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
int64_t WalkQuarter(int64_t w, int64_t h, Visit visit) {
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
    return y;
}

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

// Fill and one-pixel rim of a box whose corners are quarters of an ew x eh
// ellipse (the whole ellipse when ew, eh are the box's size). `narrowest` is
// the narrowest corner that is traced; narrower ones leave the box square.
void Rounded(const Box& box, int64_t ew, int64_t eh, const Clip& clip, Spans* fill, Spans* rim,
             int64_t narrowest = 3) {
    int64_t w = box.right - box.left, h = box.bottom - box.top;
    if (w <= 0 || h <= 0) return;
    ew = std::min(ew, w);
    eh = std::min(eh, h);
    int64_t rowFirst = std::max<int64_t>(box.top, clip.top) - box.top;
    int64_t rowEnd = std::min<int64_t>(box.bottom, clip.bottom) - box.top;
    if (rowFirst >= rowEnd) return;
    if (ew < narrowest || eh < 3) {
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
    // The last corner row the trace reached: the straight top and bottom
    // edges run along it.
    int64_t lastRow = eh - lower - 1;
    if (traced) {
        q = TraceQuarter(ew, eh);
        while (lastRow > 0 && q.maxX[static_cast<size_t>(lastRow)] == INT64_MIN) --lastRow;
    }
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
        bool edgeRow = r == 0 || r == h - 1;
        if (traced) {
            edgeRow = edgeRow || cr - lower == lastRow;
            size_t qi = static_cast<size_t>(cr - lower);
            if (qi >= q.maxX.size() || q.maxX[qi] == INT64_MIN) {
                // The trace's last step, down and past the middle column,
                // lands on a row of its own: for an even corner width the
                // corner halves meet between two columns there, and the row
                // keeps the straight part between the corners.
                if (fill && static_cast<int64_t>(qi) == q.tipRow && ew % 2 == 0 && shift > 0)
                    Emit(*fill, clip, y, box.left + ew / 2, box.left + shift + ew / 2);
                continue;
            }
            maxX = q.maxX[qi];
            minX = q.minX[qi];
        } else {
            SolveQuarterRow(ew, eh, cr - lower, minX, maxX);
        }
        int64_t outerLeft = box.left + (ew - 1 - maxX), outerRight = box.left + shift + maxX + 1;
        if (fill) Emit(*fill, clip, y, outerLeft, outerRight);
        if (rim) {
            if (edgeRow) {
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

void RoundedRegionSpans(const Box& box, int64_t ew, int64_t eh, const Clip& clip, Spans& out) {
    Rounded(box, ew, eh, clip, &out, nullptr, 2);  // no corners (ew or eh <= 0) leave the box square
}

void RoundRectRimSpans(const Box& box, int64_t ew, int64_t eh, const Clip& clip, Spans& out) {
    if (ew <= 0 || eh <= 0) ew = eh = 0;
    Rounded(box, ew, eh, clip, nullptr, &out);
}

namespace {

struct PointD {
    double x, y;
};

// Room for n values of T: on the stack when there are few, as for the
// corners of the polygons and bands most drawings are made of.
template <typename T, size_t N>
class Scratch {
public:
    explicit Scratch(size_t n) {
        if (n > N) heap_.resize(n);
        data_ = n > N ? heap_.data() : local_;
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    T* data() { return data_; }
    T& operator[](size_t i) { return data_[i]; }

private:
    T local_[N];
    std::vector<T> heap_;
    T* data_;
};

// Scan conversion shared by all polygons: the pixels whose sample point
// (x + at, y + at) lies inside, by the even-odd or non-zero rule; left and
// top edges are inside. GDI samples polygons at the pixel's corner (at = 0).
void FillPolygon(const PointD* points, size_t count, int fillMode, const Clip& clip, Spans& out, double at = 0.0) {
    struct Edge {
        int64_t top, bottom;  // rows [top, bottom) whose centres the edge crosses
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
    };
    struct Crossing {
        double x;
        int64_t pixel;  // first pixel whose sample point is at or right of x
        int dir;
        bool operator<(const Crossing& o) const { return pixel != o.pixel ? pixel < o.pixel : x < o.x; }
    };
    auto whole = [](double v) { return v == std::floor(v) && std::fabs(v) < 4e15; };
    if (!points || count < 3) return;
    Scratch<Edge, 8> edges(count);
    size_t edgeCount = 0;
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
        e.exact = at == 0.0 && whole(up.x) && whole(up.y) && whole(dn.x) && whole(dn.y);
        if (e.exact) {
            e.ix0 = static_cast<int64_t>(up.x);
            e.iy0 = static_cast<int64_t>(up.y);
            e.idx = static_cast<int64_t>(dn.x) - e.ix0;
            e.idy = static_cast<int64_t>(dn.y) - e.iy0;
            e.whole = e.idx / e.idy;
            e.part = e.idx % e.idy;
            if (e.part < 0) {
                e.part += e.idy;
                --e.whole;
            }
            e.row = INT64_MIN;  // worked out in full on the first row asked for
        }
        edges[edgeCount++] = e;
    }
    if (edgeCount == 0) return;
    std::sort(edges.data(), edges.data() + edgeCount, [](const Edge& a, const Edge& b) { return a.top < b.top; });
    // Room for one run a row at least, taken at once (and growing as
    // push_back grows, for the many pieces of a long wide line).
    int64_t lowest = edges[0].bottom;
    for (size_t i = 1; i < edgeCount; ++i) lowest = std::max(lowest, edges[i].bottom);
    size_t need = out.size() + static_cast<size_t>(lowest - edges[0].top);
    if (need > out.capacity()) out.reserve(std::max(need, 2 * out.capacity()));
    // Where an edge crosses row y, and the first pixel whose sample point is
    // at or right of that crossing.
    // The rows asked for of one edge mostly follow one another, and the
    // exact crossing is then stepped from the last row's without division.
    // The crossing lies between the edge's whole-number ends, well inside 64
    // bits, so the stepped values never overflow.
    auto crossing = [at](Edge* e, int64_t y, bool wantX = true) {
        double x = 0.0;
        if (wantX || !e->exact) x = e->x0 + (static_cast<double>(y) + at - e->y0) * e->slope;
        int64_t pixel;
        if (e->exact) {
            if (e->row != y) {
                __int128 num = static_cast<__int128>(e->ix0) * e->idy + static_cast<__int128>(y - e->iy0) * e->idx;
                __int128 q = CeilDiv(num, e->idy);
                e->pixel = static_cast<int64_t>(q);
                e->rem = static_cast<int64_t>(q * e->idy - num);
                e->row = y;
            }
            pixel = e->pixel;
            // On to the next row.
            e->pixel += e->whole;
            e->rem -= e->part;
            if (e->rem < 0) {
                e->rem += e->idy;
                ++e->pixel;
            }
            ++e->row;
        } else {
            pixel = ClampTo(std::ceil(x - at), INT32_MIN, INT32_MAX);
        }
        return Crossing{x, pixel, e->dir};
    };
    // Pixels [pa, pb) of row y, clipped and added to the row.
    auto emit = [&](int64_t y, int64_t pa, int64_t pb) {
        int32_t a = ClampTo(pa, clip.left, clip.right);
        int32_t b = ClampTo(pb, clip.left, clip.right);
        if (a >= b) return;
        if (!out.empty() && out.back().y == y && out.back().x0 <= a && out.back().x1 >= a) {
            out.back().x1 = std::max(out.back().x1, b);
        } else {
            Append(out, static_cast<int32_t>(y), a, b);
        }
    };
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
        // The rows up to the next edge's start or an active edge's end cross
        // the same edges.
        int64_t until = next < edgeCount ? std::min<int64_t>(edges[next].top, clip.bottom) : clip.bottom;
        for (size_t k = 0; k < activeCount; ++k) until = std::min(until, active[k]->bottom);
        if (activeCount == 2) {
            // One run per row between the two crossings, by either rule.
            Edge* e0 = active[0];
            Edge* e1 = active[1];
            // Crossings on one pixel leave the row empty whichever comes
            // first, so the pixels alone order the two.
            if (e0->exact && e1->exact && y < until) {
                // Both crossings stepped exactly, kept in registers from the
                // second row on.
                int64_t p0 = crossing(e0, y, false).pixel, p1 = crossing(e1, y, false).pixel;
                emit(y, std::min(p0, p1), std::max(p0, p1));
                p0 = e0->pixel;
                p1 = e1->pixel;
                int64_t r0 = e0->rem, r1 = e1->rem;
                const int64_t w0 = e0->whole, w1 = e1->whole, f0 = e0->part, f1 = e1->part;
                const int64_t d0 = e0->idy, d1 = e1->idy;
                for (++y; y < until; ++y) {
                    emit(y, std::min(p0, p1), std::max(p0, p1));
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
                e0->pixel = p0;
                e0->rem = r0;
                e0->row = y;
                e1->pixel = p1;
                e1->rem = r1;
                e1->row = y;
                continue;
            }
            for (; y < until; ++y) {
                int64_t p0 = crossing(e0, y, false).pixel, p1 = crossing(e1, y, false).pixel;
                emit(y, std::min(p0, p1), std::max(p0, p1));
            }
            continue;
        }
        for (; y < until; ++y) {
            crossings.clear();
            for (size_t k = 0; k < activeCount; ++k) crossings.push_back(crossing(active[k], y));
            std::sort(crossings.begin(), crossings.end());
            int winding = 0;
            for (size_t k = 0; k + 1 < crossings.size(); ++k) {
                winding += fillMode == WINDING ? crossings[k].dir : 1;
                bool inside = fillMode == WINDING ? winding != 0 : (winding & 1) != 0;
                if (inside) emit(y, crossings[k].pixel, crossings[k + 1].pixel);
            }
        }
    }
}

}  // namespace

void PolygonSpans(const POINT* points, size_t count, int fillMode, const Clip& clip, Spans& out) {
    if (!points || count < 3) return;
    Scratch<PointD, 8> d(count);
    for (size_t i = 0; i < count; ++i) d[i] = PointD{static_cast<double>(points[i].x), static_cast<double>(points[i].y)};
    FillPolygon(d.data(), count, fillMode, clip, out);
}

void WidePolylineSpans(const POINT* points, size_t count, bool closed, int width, const Clip& clip, Spans& out) {
    if (!points || count == 0) return;
    // Round joins and caps: the pen's dot at every point; between points a
    // band `width` across. Level and upright bands are centred on pixel
    // corners for even widths and half a pixel to the right (or down) of
    // them for odd ones, as the dot is; slanted bands are worked out below.
    Spans dot;
    int64_t lead = width / 2;
    EllipseSpans(Box{-lead, -lead, width - lead, width - lead}, Clip{-width, -width, width, width}, dot);
    const double shiftX = (width % 2) ? 0.5 : 0.0, half = width / 2.0;
    const Clip reach = Grow(clip, width + 1);
    auto near = [&](const POINT& p) {
        return p.x >= reach.left && p.x < reach.right && p.y >= reach.top && p.y < reach.bottom;
    };
    // Whether the band between two points can reach the clip: its box does.
    auto reaches = [&](const POINT& a, const POINT& b) {
        return std::max(a.x, b.x) >= reach.left && std::min(a.x, b.x) < reach.right &&
               std::max(a.y, b.y) >= reach.top && std::min(a.y, b.y) < reach.bottom;
    };
    // Room for the dots and a run a row for each band at once, rather
    // than growing band by band; only for those that can reach the clip
    // (the outline of a huge figure has many points, few of them near).
    size_t segments = closed ? count : count - 1;
    size_t room = 0;
    for (size_t i = 0; i < count; ++i)
        if (near(points[i])) room += dot.size();
    const int64_t clipRows = static_cast<int64_t>(clip.bottom) - clip.top;
    for (size_t i = 0; i < segments; ++i) {
        const POINT& a = points[i];
        const POINT& b = points[(i + 1) % count];
        if (!reaches(a, b)) continue;
        int64_t rows = std::abs(static_cast<int64_t>(b.y) - a.y) + width + 2;
        room += static_cast<size_t>(std::max<int64_t>(0, std::min(rows, clipRows)));
    }
    out.reserve(out.size() + room);
    for (size_t i = 0; i < count; ++i) {
        const POINT& p = points[i];
        if (!near(p)) continue;
        for (const Span& d : dot) Emit(out, clip, static_cast<int64_t>(p.y) + d.y, static_cast<int64_t>(p.x) + d.x0,
                                       static_cast<int64_t>(p.x) + d.x1);
    }
    for (size_t i = 0; i < segments; ++i) {
        const POINT& a = points[i];
        const POINT& b = points[(i + 1) % count];
        double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
        double len = std::hypot(dx, dy);
        if (len == 0) continue;
        if (!reaches(a, b)) continue;
        if (dx != 0 && dy != 0) {
            // A slanted band is the polygon (filled as GDI fills polygon
            // regions) between two lines parallel to the segment. The band's
            // whole width across, in x and in y, is taken as the next whole
            // number above it (fx, fy); the line on the left of the picture
            // runs through the points moved by half of it across the
            // segment, rounded half away from zero, the other line fx
            // further right and fy further up or down.
            double wx = width * std::fabs(dy) / len, wy = width * std::fabs(dx) / len;
            // Across the segment towards the left: x falls, and y rises when
            // the segment climbs to the right as seen, else falls.
            double ox = -wx / 2, oy = ((dx > 0) == (dy > 0) ? wy : -wy) / 2;
            double lx = std::round(ox), ly = std::round(oy);
            double fx = std::floor(wx) + 1, fy = std::floor(wy) + 1;
            double rx = lx + fx, ry = ly + (oy > 0 ? -fy : fy);
            PointD quad[4] = {{a.x + lx, a.y + ly}, {b.x + lx, b.y + ly}, {b.x + rx, b.y + ry}, {a.x + rx, a.y + ry}};
            FillPolygon(quad, 4, WINDING, clip, out);
            continue;
        }
        double nx = -dy / len * half, ny = dx / len * half;
        PointD quad[4] = {{a.x + shiftX + nx, a.y + ny},
                          {b.x + shiftX + nx, b.y + ny},
                          {b.x + shiftX - nx, b.y - ny},
                          {a.x + shiftX - nx, a.y - ny}};
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
    // Level and upright lines: n pixels from the first point on.
    if (dy == 0) {
        int64_t first = dx > 0 ? x0 : x0 - n + 1;
        Emit(out, clip, y0, first, first + n);
        return;
    }
    if (dx == 0) {
        if (x0 < clip.left || x0 >= clip.right) return;
        int64_t first = dy > 0 ? y0 : y0 - n + 1;
        int64_t top = std::max<int64_t>(first, clip.top), bottom = std::min<int64_t>(first + n, clip.bottom);
        auto x = static_cast<int32_t>(x0);
        for (int64_t y = top; y < bottom; ++y) Append(out, static_cast<int32_t>(y), x, x + 1);
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
    const size_t firstEmitted = out.size();
    const int64_t den = 2 * len, step2 = 2 * dMinor;
    __int128 num0 = static_cast<__int128>(2) * iFirst * dMinor - len;
    __int128 q0 = CeilDiv(num0, den);
    int64_t rem = static_cast<int64_t>(num0 - q0 * den);
    // The minor coordinate moves by at most one a step and the steps stay
    // within the clip, so a start beyond +-2^62 never comes near a visible
    // row: it is held there, and the stepping needs no more than 64 bits.
    const __int128 kFar = static_cast<__int128>(1) << 62;
    int64_t minorWide = static_cast<int64_t>(std::max(-kFar, std::min(kFar, minor0 + q0)));
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
        int64_t m = minorWide;
        int64_t major = major0 + step * i;
        if (m < INT32_MIN || m > INT32_MAX) continue;
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
    // A line going up was traced bottom row first; its rows are handed on
    // top first like every other figure's.
    if (dy < 0) std::reverse(out.begin() + static_cast<std::ptrdiff_t>(firstEmitted), out.end());
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

void BoxRimSpans(const Box& box, const Clip& clip, Spans& out) {
    auto clamp = [](int64_t v) {
        return static_cast<LONG>(std::min<int64_t>(std::max<int64_t>(v, INT32_MIN), INT32_MAX));
    };
    int64_t l = clamp(box.left), t = clamp(box.top), r = clamp(box.right - 1), b = clamp(box.bottom - 1);
    if (r - l < 1 || b - t < 1) {
        // A single pixel, a line or corners the other way round: the
        // polyline itself says what it covers.
        POINT corners[4] = {{static_cast<LONG>(l), static_cast<LONG>(t)}, {static_cast<LONG>(r), static_cast<LONG>(t)},
                            {static_cast<LONG>(r), static_cast<LONG>(b)}, {static_cast<LONG>(l), static_cast<LONG>(b)}};
        ThinPolylineSpans(corners, 4, true, clip, out);
        return;
    }
    // The top and bottom rows whole, the left and right pixels between.
    Emit(out, clip, t, l, r + 1);
    int64_t first = std::max<int64_t>(t + 1, clip.top), last = std::min<int64_t>(b, clip.bottom);
    for (int64_t y = first; y < last; ++y) {
        Emit(out, clip, y, l, l + 1);
        Emit(out, clip, y, r, r + 1);
    }
    Emit(out, clip, b, l, r + 1);
}

namespace {

// GDI flattens a cubic curve in fixed point, sixteenths of a pixel. It
// halves the curve (midpoints rounded up) until a piece is flat or eight
// halvings deep and keeps the end of every piece, rounded to the nearest
// pixel. A piece is flat when both control points lie between its ends along
// its major axis and within a pixel of its chord across that axis, the
// chord's slope taken as a whole number of sixteenths per pixel.
constexpr int kBezierShift = 4;
constexpr int64_t kBezierPixel = int64_t{1} << kBezierShift;
constexpr int kBezierDepth = 8;

struct FixedPoint {
    int64_t x, y;
};

int64_t ToPixel(int64_t v) { return (v + kBezierPixel / 2) >> kBezierShift; }

bool FlatPiece(const FixedPoint* c) {
    // Axis 0 the major one (x for shallow chords), axis 1 across it.
    int64_t dx = c[3].x - c[0].x, dy = c[3].y - c[0].y;
    bool shallow = std::llabs(dy) <= std::llabs(dx);
    auto major = [&](const FixedPoint& p) { return shallow ? p.x : p.y; };
    auto minor = [&](const FixedPoint& p) { return shallow ? p.y : p.x; };
    int64_t m0 = major(c[0]), m3 = major(c[3]);
    for (int i = 1; i <= 2; ++i) {
        int64_t m = major(c[i]);
        if (m < m0 ? m < m3 : m > m3) return false;  // not between the ends
    }
    int64_t dMajor = ToPixel(m3 - m0), dMinor = minor(c[3]) - minor(c[0]);
    if (dMajor == 0) return true;
    int64_t slope = dMinor / dMajor;  // sixteenths per pixel, cut toward zero
    for (int i = 1; i <= 2; ++i) {
        int64_t off = minor(c[i]) - minor(c[0]) - slope * ToPixel(major(c[i]) - m0);
        if (std::llabs(off) > kBezierPixel) return false;
    }
    return true;
}

void SplitFixed(const FixedPoint* c, int depth, std::vector<POINT>& out) {
    if (depth == 0 || FlatPiece(c)) {
        out.push_back(POINT{static_cast<LONG>(ToPixel(c[3].x)), static_cast<LONG>(ToPixel(c[3].y))});
        return;
    }
    auto mid = [](const FixedPoint& a, const FixedPoint& b) { return FixedPoint{(a.x + b.x + 1) / 2, (a.y + b.y + 1) / 2}; };
    FixedPoint m01 = mid(c[0], c[1]), m12 = mid(c[1], c[2]), m23 = mid(c[2], c[3]);
    FixedPoint m012 = mid(m01, m12), m123 = mid(m12, m23), m = mid(m012, m123);
    FixedPoint left[4] = {c[0], m01, m012, m};
    FixedPoint right[4] = {m, m123, m23, c[3]};
    SplitFixed(left, depth - 1, out);
    SplitFixed(right, depth - 1, out);
}

}  // namespace

std::vector<POINT> FlattenBezier(const POINT* p) {
    FixedPoint c[4];
    for (int i = 0; i < 4; ++i) c[i] = FixedPoint{int64_t{p[i].x} * kBezierPixel, int64_t{p[i].y} * kBezierPixel};
    std::vector<POINT> out{p[0]};
    SplitFixed(c, kBezierDepth, out);
    return out;
}

// ---------------------------------------------------------------- arcs

namespace {

// An offset on screen from the middle pixel of a box (y grows downward).
struct Offset {
    int64_t x, y;
};

// The quarter turn a ray lies in, counter-clockwise as seen from the ray to
// the right: 0 up to and including straight up, 1 up to and including
// straight left, 2 below that, 3 from straight down on.
int QuarterOf(const Offset& ray) {
    if (ray.y < 0 || (ray.y == 0 && ray.x > 0)) return ray.x >= 0 ? 0 : 1;
    if (ray.y == 0) return 1;
    return ray.x < 0 ? 2 : 3;
}

}  // namespace

bool ArcPoints(const Box& box, int64_t xs, int64_t ys, int64_t xe, int64_t ye, std::vector<POINT>& arc) {
    arc.clear();
    int64_t w = box.right - box.left, h = box.bottom - box.top;
    // A height of zero or less (an inside-frame pen taller than the box
    // turns its path upside down) is traced all the same, as GDI does.
    if (w < 1 || w > kLargestTraced || h > kLargestTraced || h < -kLargestTraced) return false;
    // Upside down and taller than wide, it has no outline at all.
    if (-h > w) return true;
    // The traced quarter below and right of the centre, from the right
    // middle down to the bottom, in box coordinates. The outline is four
    // copies of it, counter-clockwise from the right middle: top right, top
    // left (reversed), bottom left, bottom right (reversed); each copy keeps
    // both its ends, so the points where they meet come twice.
    std::vector<Offset> quarter;
    WalkQuarter(w, h, [&](int64_t x, int64_t y) { quarter.push_back(Offset{x, y}); });
    const size_t n = quarter.size();
    if (n == 0) return true;
    // Point k of the outline: its pixel, and its offset from the middle
    // pixel as the quarter's point is offset from the box's middle.
    auto point = [&](size_t k, Offset& seen) {
        size_t part = (k / n) % 4, i = k % n;
        const Offset& q = quarter[part % 2 == 0 ? i : n - 1 - i];
        int64_t dx = q.x - w / 2, dy = q.y - h / 2;
        bool left = part == 1 || part == 2, upper = part < 2;
        seen = Offset{left ? -dx : dx, upper ? -dy : dy};
        return POINT{static_cast<LONG>(box.left + (left ? w - 1 - q.x : q.x)),
                     static_cast<LONG>(box.top + (upper ? h - 1 - q.y : q.y))};
    };
    int64_t midX = box.left + w / 2, midY = box.top + h / 2;
    // The first point the ray through (x, y) reaches: searched among the
    // points of the quarter the ray lies in, the first counter-clockwise of
    // the ray; a point on the ray itself counts as reached in the upper half
    // and not in the lower. None in that quarter: the next quarter's first.
    auto reach = [&](int64_t x, int64_t y) {
        Offset ray{x - midX, y - midY};
        if (ray.x == 0 && ray.y == 0) ray.x = 1;
        size_t part = static_cast<size_t>(QuarterOf(ray));
        for (size_t k = part * n; k < (part + 1) * n; ++k) {
            Offset p;
            point(k, p);
            __int128 cross = static_cast<__int128>(ray.y) * p.x - static_cast<__int128>(ray.x) * p.y;
            if (cross > 0 || (cross == 0 && part < 2)) return k;
        }
        return (part + 1) * n;
    };
    // From the start ray's point to the one before the end ray's, round past
    // the right middle when the end comes first.
    size_t first = reach(xs, ys), past = reach(xe, ye);
    if (past <= first) past += 4 * n;
    arc.reserve(past - first);
    for (size_t k = first; k < past; ++k) {
        Offset unused;
        arc.push_back(point(k, unused));
    }
    return true;
}

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
                Append(out, s.y, x, x + 1);
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
