// raster_internal.h - what the raster engine's own files share: clamping,
// appending runs cut to a clip, exact division, the ellipse quarter walk
// that figures and arcs are traced with, and the polygon scan conversion
// that polygons and wide lines are filled with.
#ifndef PLATFORM_RASTER_INTERNAL_H
#define PLATFORM_RASTER_INTERNAL_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "raster/raster.h"

namespace platform {
namespace raster {

inline int32_t ClampTo(int64_t v, int32_t lo, int32_t hi) {
    return static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(v, lo), hi));
}

inline int32_t ClampTo(double v, int32_t lo, int32_t hi) {
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
inline __int128 CeilDiv(__int128 a, __int128 b) {
    __int128 q = a / b;
    if (a % b != 0 && a > 0) ++q;
    return q;
}

// Largest quarter ellipse traced step by step; beyond it (far larger than
// any surface) the outline is worked out from the ellipse equation.
inline constexpr int64_t kLargestTraced = int64_t{1} << 18;

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

// Scan conversion shared by all polygons: the pixels whose sample point
// (x + at, y + at) lies inside, by the even-odd or non-zero rule; left and
// top edges are inside. GDI samples polygons at the pixel's corner (at = 0).
void FillPolygon(const PointD* points, size_t count, int fillMode, const Clip& clip, Spans& out, double at = 0.0);

}  // namespace raster
}  // namespace platform

#endif
