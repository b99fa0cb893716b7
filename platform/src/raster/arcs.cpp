// arcs.cpp - arcs and pies: the traced outline of an ellipse between two
// rays, and for figures too large to trace, the sector of a filled ellipse
// and the outline pixel a ray points at.
#include "raster/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "raster/raster_internal.h"

namespace platform {
namespace raster {

namespace {

double ScreenAngle(double dx, double dy) {
    double a = std::atan2(-dy, dx);  // counter-clockwise as seen, y grows downward
    return a < 0 ? a + 2 * kPi : a;
}

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
