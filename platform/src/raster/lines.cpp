// lines.cpp - lines as GDI draws them: thin lines and polylines, the thin
// outline of a box, and wide polylines with round joins and caps.
#include "raster/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "raster/raster_internal.h"

namespace platform {
namespace raster {

// ---------------------------------------------------------------- lines

void ThinLineSpans(int64_t x0, int64_t y0, int64_t x1, int64_t y1, bool last, const Clip& clip, Spans& out) {
    int64_t dx = x1 - x0, dy = y1 - y0;
    int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    int64_t n = std::max(adx, ady) + (last ? 1 : 0);
    if (n == 0) return;
    if (n == 1) {
        // One pixel (a line one step long, or of no length with its last
        // point): every line starts on its first point.
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
        POINT corners[4] = {{static_cast<LONG>(l), static_cast<LONG>(t)},
                            {static_cast<LONG>(r), static_cast<LONG>(t)},
                            {static_cast<LONG>(r), static_cast<LONG>(b)},
                            {static_cast<LONG>(l), static_cast<LONG>(b)}};
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
        for (const Span& d : dot)
            Emit(out, clip, static_cast<int64_t>(p.y) + d.y, static_cast<int64_t>(p.x) + d.x0,
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

}  // namespace raster
}  // namespace platform
