// spans.cpp - span algebra: putting spans in order and merging them,
// union, intersection and difference row by row, a figure's outline, and
// the widening of a thin outline by a round pen.
#include "raster/raster.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "raster/raster_internal.h"

namespace platform {
namespace raster {

namespace {

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
        spans.erase(spans.begin() + static_cast<std::ptrdiff_t>(kept),
                    spans.begin() + static_cast<std::ptrdiff_t>(end));
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
        if (s.y < INT32_MAX) up.push_back(Span{s.y + 1, s.x0, s.x1});    // row y seen from row y + 1
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

}  // namespace raster
}  // namespace platform
