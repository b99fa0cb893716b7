// bezier.cpp - cubic Bezier curves flattened into polylines as GDI
// flattens them.
#include "raster/raster.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "raster/raster_internal.h"

namespace platform {
namespace raster {

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
    auto mid = [](const FixedPoint& a, const FixedPoint& b) {
        return FixedPoint{(a.x + b.x + 1) / 2, (a.y + b.y + 1) / 2};
    };
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

}  // namespace raster
}  // namespace platform
