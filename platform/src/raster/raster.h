// raster.h - the raster engine's geometry: shapes become spans (runs
// [x0, x1) on one row), which become pixels in one place (paint.h), cut to
// the surface there. Geometry follows GDI's aliased rules: boxes exclude
// their right and bottom edges, lines leave out their last pixel,
// inside-frame outlines keep within the box, polygons fill by the alternate
// or winding rule. Geometry is only generated inside a clip box, so any
// coordinates (up to INT_MIN/INT_MAX) cost no more than the pixels they
// touch.
//
// The engine's files: spans.cpp (span algebra), figures.cpp (boxes,
// ellipses, rounded rectangles), polygons.cpp (scan conversion), lines.cpp
// (thin and wide lines), bezier.cpp (curves), arcs.cpp (arcs and pies),
// paint.cpp (mix modes and painting) with the row loops of pixel_rows.h.
#ifndef PLATFORM_RASTER_H
#define PLATFORM_RASTER_H

#include <windows.h>

#include <cstdint>
#include <vector>

#include "surface.h"

namespace platform {
namespace raster {

// Half a turn in radians, for the angles of arcs and pies.
inline constexpr double kPi = 3.141592653589793;

struct Span {
    int32_t y;
    int32_t x0;  // first pixel
    int32_t x1;  // one past the last pixel
};
using Spans = std::vector<Span>;

// The pixels geometry is generated for: [left, right) x [top, bottom).
struct Clip {
    int32_t left, top, right, bottom;
};
inline Clip ClipOf(const Surface& s) { return Clip{0, 0, s.width, s.height}; }

// ------------------------------------------------------------ span algebra
// Spans sorted by row then x with overlapping or touching runs merged.
void Normalize(Spans& spans);
// Spans of `a` that are not in `b` (both normalized); result normalized.
Spans Subtract(const Spans& a, const Spans& b);
// Union of two normalized span lists; result normalized.
Spans Union(const Spans& a, const Spans& b);
// Spans of both (normalized) lists; result normalized.
Spans Intersect(const Spans& a, const Spans& b);
// The outline of a filled figure one pixel thick: its pixels with a
// left, right, upper or lower neighbour outside it.
Spans Boundary(const Spans& filled);
// Every pixel of `thin` widened to a round pen `width` pixels across (the
// pen's dot is the ellipse of a width x width box around the pixel); only
// rows and columns inside `clip` are produced.
Spans Dilate(const Spans& thin, int width, const Clip& clip);
// `clip` grown by `margin` pixels on every side, without overflow.
Clip Grow(const Clip& clip, int margin);

// ------------------------------------------------------------ figures
// A box given by two corners in any order, put right: left <= right, top <= bottom.
struct Box {
    int64_t left, top, right, bottom;
};
Box Ordered(int64_t left, int64_t top, int64_t right, int64_t bottom);
// A box without width or height: figures in it draw nothing at all.
inline bool Empty(const Box& box) { return box.left == box.right || box.top == box.bottom; }

// A curve, whole figure or rounded corner, narrower or lower than this
// many pixels is too small to be round: it is drawn as the rectangle of its
// box.
inline constexpr int64_t kSmallestRound = 3;
inline bool TooSmallToBeRound(int64_t width, int64_t height) {
    return width < kSmallestRound || height < kSmallestRound;
}

// Filled figures (regions and interiors), all within `clip`.
void RectSpans(const Box& box, const Clip& clip, Spans& out);
// The ellipse inscribed in a box, traced as GDI traces it; a box too small
// to be round is filled whole.
void EllipseSpans(const Box& box, const Clip& clip, Spans& out);
// Rounded rectangle whose corners are quarter ellipses of ew x eh.
void RoundRectSpans(const Box& box, int64_t ew, int64_t eh, const Clip& clip, Spans& out);
// The region of an ellipse or rounded rectangle (ew x eh corners): as the
// figures' fill, except that corners two pixels wide are traced too, so only
// the corner rows the trace reaches keep pixels.
void RoundedRegionSpans(const Box& box, int64_t ew, int64_t eh, const Clip& clip, Spans& out);
// The one-pixel outlines of those two figures as a thin pen draws them.
void EllipseRimSpans(const Box& box, const Clip& clip, Spans& out);
void RoundRectRimSpans(const Box& box, int64_t ew, int64_t eh, const Clip& clip, Spans& out);
// The outline of an ellipse (ew, eh = the box's size) or rounded rectangle
// as the closed polygon of its traced pixels, counter-clockwise as seen;
// empty when the figure is too small to be round or too large to trace.
std::vector<POINT> RoundedPolygon(const Box& box, int64_t ew, int64_t eh);

// ------------------------------------------------------------ polygons
// Polygon interior by ALTERNATE (even-odd) or WINDING (non-zero): the
// pixels whose centres lie inside, left and top edges included.
void PolygonSpans(const POINT* points, size_t count, int fillMode, const Clip& clip, Spans& out);

// ------------------------------------------------------------ lines
// A one-pixel line from (x0, y0) to (x1, y1) as GDI draws it with a thin pen;
// the last point is included only when `last` is true.
void ThinLineSpans(int64_t x0, int64_t y0, int64_t x1, int64_t y1, bool last, const Clip& clip, Spans& out);
// A thin polyline through `points`: each segment leaves out its last point;
// `closed` adds the segment back to the first point.
void ThinPolylineSpans(const POINT* points, size_t count, bool closed, const Clip& clip, Spans& out);
// The closed thin line through the corner pixels of a box, (left, top) to
// (right - 1, bottom - 1), row by row: its ring of edge pixels, the whole box
// when it is one pixel wide or high, nothing around a single pixel.
void BoxRimSpans(const Box& box, const Clip& clip, Spans& out);

// A wide geometric polyline: round joins and caps (the pen's dot at every
// point), bands `width` across between the points.
void WidePolylineSpans(const POINT* points, size_t count, bool closed, int width, const Clip& clip, Spans& out);

// ------------------------------------------------------------ curves
// Points of a cubic Bezier curve flattened into a polyline, start and end included.
std::vector<POINT> FlattenBezier(const POINT* p4);

// ------------------------------------------------------------ arcs
// The traced outline of the ellipse of `box` (any size from 1 x 1) from the
// ray through (xs, ys) counter-clockwise to the ray through (xe, ye), both
// seen from the box's middle pixel, as GDI picks its points: the point the
// start ray reaches first up to the point the end ray reaches, the end point
// last. Where the outline's four quarters meet, their shared points come
// twice. Rays that meet no point between them take the whole way round.
// False (and no points) when the box is too large to trace or has no width;
// a box upside down (bottom above top) is traced as it stands.
bool ArcPoints(const Box& box, int64_t xs, int64_t ys, int64_t xe, int64_t ye, std::vector<POINT>& arc);

// The part of the filled ellipse `ellipse` (normalized spans of the figure
// of `box`) swept counter-clockwise, as seen on screen, from the ray through
// (xs, ys) to the ray through (xe, ye), both from the centre of `box`; the
// whole figure when the rays coincide.
Spans Sector(const Spans& ellipse, const Box& box, int64_t xs, int64_t ys, int64_t xe, int64_t ye);

// The pixel of `outline` whose direction from the centre of `box` is closest
// to the ray through (x, y); false when the outline is empty.
bool RayPixel(const Spans& outline, const Box& box, int64_t x, int64_t y, POINT& pixel);

}  // namespace raster
}  // namespace platform

#endif
