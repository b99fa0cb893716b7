// gdi_shapes.cpp - the GDI shape calls: lines, rectangles, rounded
// rectangles, ellipses, polygons, Bezier curves, arcs and pies, regions and
// single pixels. Each turns its geometry into spans with the raster engine,
// which paints them with the selected pen or brush in the DC's mix mode.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "fault_points.h"
#include "gdi_internal.h"
#include "raster/raster.h"

using platform_faults::Call;
using platform_faults::ShouldFail;

namespace platform {
namespace {

// ------------------------------------------------------------ drawing helpers

// A drawing in progress on one DC: its surface, the clip box geometry is
// generated within, and the pen and brush as the DC made them ready.
struct Target {
    DeviceContext* dc = nullptr;
    Surface* surface = nullptr;
    raster::Clip clip{0, 0, 0, 0};
    const DrawingPen* pen = nullptr;
    const DrawingBrush* brush = nullptr;
};

// Finds the DC and its surface; false for an unknown DC. A DC without a
// surface (the screen) is valid: its drawings go nowhere.
bool Open(HDC handle, Target& target) {
    target.dc = LookupDC(handle);
    if (!target.dc) return false;
    target.surface = TargetSurface(*target.dc);
    if (target.surface) target.clip = raster::ClipOf(*target.surface);
    target.pen = &target.dc->drawingPen;
    target.brush = &target.dc->drawingBrush;
    return true;
}

void PaintPen(Target& target, const raster::Spans& spans) {
    if (target.surface && !spans.empty()) target.pen->paint.Paint(*target.surface, spans);
}

void PaintBrush(Target& target, const raster::Spans& spans) {
    if (target.surface && !spans.empty()) target.brush->paint.Paint(*target.surface, spans);
}

void Finish(Target& target) {
    if (target.surface) NoteDrawnOn(*target.dc);
}

// The DC's room for spans, emptied: for the one list a shape call at a time
// generates there, so that the call allocates nothing.
raster::Spans& Scratch(Target& target) {
    target.dc->scratch.clear();
    return target.dc->scratch;
}

// A closed shape that is a filled figure with an outline: the interior is
// painted first, then the outline. A rectangle's interior, and any figure's
// under a wide pen, stops inside the outline; other figures are filled whole
// and their thin outline painted over the fill, so in a mix mode such as
// R2_NOT their outline pixels that the fill covers are inverted twice, as
// GDI draws them.
enum class Fill { InsideOutline, UnderOutline };

void PaintFigure(Target& target, raster::Spans interior, raster::Spans outline, Fill fill, bool paintOutline = true) {
    raster::Normalize(outline);
    raster::Normalize(interior);
    if (!target.brush->hollow) {
        // Where the pen's mix mode sets the outline's pixels whatever lies
        // under them, the interior need not stop short of the outline.
        bool inside = fill == Fill::InsideOutline && !outline.empty() && !target.pen->paint.Covers();
        PaintBrush(target, inside ? raster::Subtract(interior, outline) : interior);
    }
    if (paintOutline) PaintPen(target, outline);
}

// The box a wide pen's path runs along: for an inside-frame pen the box
// shrunk so that the pen keeps inside it, else the box itself.
raster::Box PathBox(const DrawingPen& pen, const raster::Box& box) {
    int64_t w = pen.width;
    if (!pen.insideFrame || w <= 1) return box;
    return raster::Box{box.left + w / 2, box.top + w / 2, box.right - (w - 1) / 2, box.bottom - (w - 1) / 2};
}

void PaintThinSegments(Target& target, const POINT* points, size_t count, bool closed);

// Outline and interior of a box-based figure. `shape(box, clip, fill, rim)`
// makes the filled spans of a box and its one-pixel rim (either may be
// null). A thin pen draws the rim; a wide one the rim of the pen's path
// widened by the pen's dot.
template <typename ShapeFn, typename OutlineFn>
void DrawBoxFigure(Target& target, const raster::Box& box, bool smallerWithoutPen, Fill fill, ShapeFn shape,
                   OutlineFn polygonOf) {
    const DrawingPen& pen = *target.pen;
    raster::Spans figure;
    if (!pen.drawn) {
        // Without a pen the figure comes out one pixel short at the right and
        // bottom when GDI draws it so (rectangles; small ellipses).
        raster::Box area = box;
        if (smallerWithoutPen) area = raster::Box{box.left, box.top, box.right - 1, box.bottom - 1};
        shape(area, target.clip, &figure, nullptr);
        PaintFigure(target, std::move(figure), {}, fill);
        return;
    }
    int w = pen.width;
    raster::Box path = PathBox(pen, box);
    raster::Spans rim;
    raster::Clip grown = raster::Grow(target.clip, w + 1);
    if (w > 1) {
        // A wide pen runs along the figure's traced outline as a polyline.
        std::vector<POINT> outline = polygonOf(path);
        if (!outline.empty()) {
            shape(path, grown, &figure, nullptr);
            raster::Spans band;
            raster::WidePolylineSpans(outline.data(), outline.size(), true, w, target.clip, band);
            raster::Normalize(band);
            PaintFigure(target, std::move(figure), std::move(band), Fill::InsideOutline);
            return;
        }
    }
    if (w <= 1 && fill == Fill::InsideOutline) {
        // A thin outline around a box leaves the box shrunk by one pixel on
        // every side to the brush (nothing at all of a single pixel).
        shape(raster::Box{path.left + 1, path.top + 1, path.right - 1, path.bottom - 1}, grown, &figure, nullptr);
        shape(path, grown, nullptr, &rim);
        if (!pen.paint.Idempotent()) {
            // The outline is a closed line through the corners, drawn side
            // by side: in a mix mode such as R2_NOT a pixel that two sides
            // of a thin box share is changed twice.
            raster::Normalize(rim);
            PaintFigure(target, std::move(figure), rim, fill, false);
            std::vector<POINT> corners = polygonOf(path);
            PaintThinSegments(target, corners.data(), corners.size(), true);
            return;
        }
    } else {
        shape(path, grown, &figure, &rim);
    }
    raster::Normalize(rim);
    PaintFigure(target, std::move(figure), raster::Dilate(rim, w, target.clip), w > 1 ? Fill::InsideOutline : fill);
}

// The outline of a box as a pen runs along it: through its corner pixels,
// (left, top) to (right - 1, bottom - 1). A box narrower than the pen has
// its corners the other way round, and the pen still draws around them.
std::vector<POINT> CornerPolygon(const raster::Box& box) {
    auto clamp = [](int64_t v) {
        return static_cast<LONG>(std::min<int64_t>(std::max<int64_t>(v, INT32_MIN), INT32_MAX));
    };
    LONG l = clamp(box.left), t = clamp(box.top), r = clamp(box.right - 1), b = clamp(box.bottom - 1);
    return {{l, t}, {r, t}, {r, b}, {l, b}};
}

// A thin outline whose left and right ends are curves meeting in one middle
// row (an ellipse, or a rounded rectangle with corners as high as the box,
// of an odd number of rows) is traced as an upper and a lower half that
// both run along that row: in a mix mode that is not idempotent (R2_NOT,
// R2_XORPEN) the row's outline pixels other than its two end pixels are
// changed twice. `rimOf` gives the outline's spans within a clip.
template <typename RimFn>
void RepaintSharedMiddleRow(Target& target, const raster::Box& box, RimFn rimOf) {
    const DrawingPen& pen = *target.pen;
    int64_t w = box.right - box.left, h = box.bottom - box.top;
    if (!target.surface || !pen.drawn || pen.width > 1 || raster::TooSmallToBeRound(w, h) || h % 2 == 0) return;
    if (pen.paint.Idempotent()) return;
    int64_t mid = box.top + h / 2;
    const raster::Clip& clip = target.clip;
    if (mid < clip.top || mid >= clip.bottom) return;
    raster::Spans rim, twice;
    rimOf(raster::Clip{-(1 << 30), static_cast<int32_t>(mid), 1 << 30, static_cast<int32_t>(mid + 1)}, rim);
    raster::Normalize(rim);
    for (const raster::Span& span : rim) {
        int64_t x0 = span.x0, x1 = span.x1;
        if (x0 == box.left) ++x0;
        if (x1 == box.right) --x1;
        x0 = std::max<int64_t>(x0, clip.left);
        x1 = std::min<int64_t>(x1, clip.right);
        if (x0 < x1) twice.push_back(raster::Span{span.y, static_cast<int32_t>(x0), static_cast<int32_t>(x1)});
    }
    PaintPen(target, twice);
}

std::vector<POINT> EllipsePolygon(const raster::Box& box) {
    if (raster::TooSmallToBeRound(box.right - box.left, box.bottom - box.top)) return CornerPolygon(box);
    return raster::RoundedPolygon(box, box.right - box.left, box.bottom - box.top);
}

void RectShape(const raster::Box& box, const raster::Clip& clip, raster::Spans* fill, raster::Spans* rim) {
    if (fill) raster::RectSpans(box, clip, *fill);
    // A thin pen's closed line through the corners: nothing around a single
    // pixel, the whole box when it is one pixel wide or high.
    if (rim) raster::BoxRimSpans(box, clip, *rim);
}

void EllipseShape(const raster::Box& box, const raster::Clip& clip, raster::Spans* fill, raster::Spans* rim) {
    if (raster::TooSmallToBeRound(box.right - box.left, box.bottom - box.top)) {
        RectShape(box, clip, fill, rim);
        return;
    }
    if (fill) raster::EllipseSpans(box, clip, *fill);
    if (rim) raster::EllipseRimSpans(box, clip, *rim);
}

// The outline of a polyline with the DC's pen, added to `spans`. A wide pen
// draws a geometric line, which ends at the last point instead of short of
// it.
void PenPolyline(const DrawingPen& pen, const POINT* points, size_t count, bool closed, const raster::Clip& clip,
                 raster::Spans& spans) {
    if (!pen.drawn || count == 0) return;
    if (pen.width > 1) {
        raster::WidePolylineSpans(points, count, closed, pen.width, clip, spans);
    } else {
        raster::ThinPolylineSpans(points, count, closed, clip, spans);
    }
}

// A thin pen's polyline painted segment by segment, as GDI draws one: a
// pixel that several segments cross is painted once for each.
void PaintThinSegments(Target& target, const POINT* points, size_t count, bool closed) {
    size_t segments = closed ? count : count - 1;
    for (size_t i = 0; i < segments && count > 0; ++i) {
        raster::Spans& spans = Scratch(target);
        const POINT& a = points[i];
        const POINT& b = points[(i + 1) % count];
        raster::ThinLineSpans(a.x, a.y, b.x, b.y, false, target.clip, spans);
        raster::Normalize(spans);
        PaintPen(target, spans);
    }
}

// Paints a polyline with the DC's pen, the way the pen was made ready to
// draw lines (LineStrategy): segment by segment, every pixel once, or, with
// a mix mode for which painting twice makes no difference, the pen's dots
// and bands as they come, overlaps and all, without being gathered into
// order first, and long polylines piece by piece, so that their cost stays
// in proportion to their pixels.
void DrawPolyline(Target& target, const POINT* points, size_t count, bool closed) {
    const DrawingPen& pen = *target.pen;
    if (!target.surface || count == 0) return;
    if (count == 2 && pen.drawn && pen.width <= 1 && !closed &&
        std::max(std::abs(int64_t{points[1].x} - points[0].x), std::abs(int64_t{points[1].y} - points[0].y)) == 1) {
        // A thin line one step long (a point drawn as a line): its first
        // pixel alone, however the pen draws lines.
        pen.paint.PaintPixel(*target.surface, points[0].x, points[0].y);
        return;
    }
    switch (pen.lines) {
        case LineStrategy::None: return;
        case LineStrategy::Segments: PaintThinSegments(target, points, count, closed); return;
        case LineStrategy::Gathered: {
            raster::Spans& spans = Scratch(target);
            PenPolyline(pen, points, count, closed, target.clip, spans);
            raster::Normalize(spans);
            PaintPen(target, spans);
            return;
        }
        case LineStrategy::AsTheyCome: break;
    }
    constexpr size_t kPiece = 256;
    if (count <= kPiece) {
        raster::Spans& spans = Scratch(target);
        PenPolyline(pen, points, count, closed, target.clip, spans);
        PaintPen(target, spans);
        return;
    }
    for (size_t first = 0; first + 1 < count; first += kPiece) {
        size_t n = std::min(kPiece + 1, count - first);  // pieces share their end points
        raster::Spans& spans = Scratch(target);
        PenPolyline(pen, points + first, n, false, target.clip, spans);
        PaintPen(target, spans);
    }
    if (closed) {
        POINT back[2] = {points[count - 1], points[0]};
        raster::Spans& spans = Scratch(target);
        PenPolyline(pen, back, 2, false, target.clip, spans);
        PaintPen(target, spans);
    }
}

// A closed polyline's interior (normalized) painted with the brush, then its
// outline with the pen. A wide pen's outline is one figure that the brush
// leaves out, so in a mix mode such as R2_NOT no pixel changes twice; a thin
// pen's outline is painted over the brush.
void PaintInteriorAndOutline(Target& target, raster::Spans interior, const POINT* points, size_t count) {
    const DrawingPen& pen = *target.pen;
    // A pen whose mix mode keeps no bit of the pixel beneath covers the
    // brush alike either way.
    if (pen.drawn && pen.width > 1 && !pen.paint.Covers() && !interior.empty()) {
        raster::Spans outline;
        PenPolyline(pen, points, count, true, target.clip, outline);
        raster::Normalize(outline);
        PaintBrush(target, raster::Subtract(interior, outline));
        PaintPen(target, outline);
        return;
    }
    PaintBrush(target, interior);
    DrawPolyline(target, points, count, true);
}

}  // namespace
}  // namespace platform

using namespace platform;

// ---------------------------------------------------------------- lines and shapes

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT oldPosition) {
    if (ShouldFail(Call::MoveToEx)) return FALSE;
    DeviceContext* context = LookupDC(dc);
    if (!context) return FALSE;
    if (oldPosition) *oldPosition = context->position;
    context->position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
    if (ShouldFail(Call::LineTo)) return FALSE;
    Target target;
    if (!Open(dc, target)) return FALSE;
    POINT line[2] = {target.dc->position, POINT{x, y}};
    target.dc->position = line[1];
    DrawPolyline(target, line, 2, false);
    Finish(target);
    return TRUE;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    if (ShouldFail(Call::Rectangle)) return FALSE;
    Target target;
    if (!Open(dc, target)) return FALSE;
    raster::Box box = raster::Ordered(left, top, right, bottom);
    if (target.surface && !raster::Empty(box))
        DrawBoxFigure(target, box, true, Fill::InsideOutline, RectShape, CornerPolygon);
    Finish(target);
    return TRUE;
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height) {
    if (ShouldFail(Call::RoundRect)) return FALSE;
    Target target;
    if (!Open(dc, target)) return FALSE;
    raster::Box box = raster::Ordered(left, top, right, bottom);
    int64_t ew = std::abs(static_cast<int64_t>(width));
    int64_t eh = std::abs(static_cast<int64_t>(height));
    // Too small to round, it is drawn as a rectangle, one pixel short
    // without a pen.
    int64_t w = box.right - box.left, h = box.bottom - box.top;
    bool square = raster::TooSmallToBeRound(std::min(ew, w), std::min(eh, h));
    if (target.surface && !raster::Empty(box)) {
        auto squareBox = [&](const raster::Box& b) {
            return square || raster::TooSmallToBeRound(std::min(ew, b.right - b.left), std::min(eh, b.bottom - b.top));
        };
        DrawBoxFigure(target, box, square, square ? Fill::InsideOutline : Fill::UnderOutline,
                      [&](const raster::Box& b, const raster::Clip& c, raster::Spans* fill, raster::Spans* rim) {
                          if (squareBox(b)) {
                              RectShape(b, c, fill, rim);
                              return;
                          }
                          if (fill) raster::RoundRectSpans(b, ew, eh, c, *fill);
                          if (rim) raster::RoundRectRimSpans(b, ew, eh, c, *rim);
                      },
                      [&](const raster::Box& b) {
                          if (squareBox(b)) return CornerPolygon(b);
                          return raster::RoundedPolygon(b, ew, eh);
                      });
        if (!square && eh >= h) {
            RepaintSharedMiddleRow(target, box, [&](const raster::Clip& c, raster::Spans& rim) {
                raster::RoundRectRimSpans(box, ew, eh, c, rim);
            });
        }
    }
    Finish(target);
    return TRUE;
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
    if (ShouldFail(Call::Ellipse)) return FALSE;
    Target target;
    if (!Open(dc, target)) return FALSE;
    raster::Box box = raster::Ordered(left, top, right, bottom);
    // Without a pen, boxes too small to be round come out one pixel short.
    bool small = raster::TooSmallToBeRound(box.right - box.left, box.bottom - box.top);
    if (target.surface && !raster::Empty(box)) {
        DrawBoxFigure(target, box, small, small ? Fill::InsideOutline : Fill::UnderOutline, EllipseShape, EllipsePolygon);
        RepaintSharedMiddleRow(target, box, [&](const raster::Clip& c, raster::Spans& rim) {
            raster::EllipseRimSpans(box, c, rim);
        });
    }
    Finish(target);
    return TRUE;
}

BOOL Polygon(HDC dc, const POINT* points, int count) {
    if (ShouldFail(Call::Polygon)) return FALSE;
    Target target;
    if (!Open(dc, target) || !points || count < 2) return FALSE;
    if (target.surface) {
        raster::Spans interior;
        if (!target.brush->hollow) {
            raster::PolygonSpans(points, static_cast<size_t>(count), target.dc->polyFillMode, target.clip, interior);
        }
        // The interior, then the outline over it.
        raster::Normalize(interior);
        PaintInteriorAndOutline(target, std::move(interior), points, static_cast<size_t>(count));
    }
    Finish(target);
    return TRUE;
}

BOOL PolyBezier(HDC dc, const POINT* points, DWORD count) {
    if (ShouldFail(Call::PolyBezier)) return FALSE;
    Target target;
    // One start point and three points for every curve.
    if (!Open(dc, target) || !points || count < 4 || (count - 1) % 3 != 0) return FALSE;
    if (target.surface) {
        std::vector<POINT> line{points[0]};
        for (DWORD i = 0; i + 3 < count; i += 3) {
            std::vector<POINT> curve = raster::FlattenBezier(points + i);
            line.insert(line.end(), curve.begin() + 1, curve.end());
        }
        DrawPolyline(target, line.data(), line.size(), false);
    }
    Finish(target);
    return TRUE;
}

namespace {

// An arc or pie whose outline was traced (`arc`, counter-clockwise from the
// start ray to the end ray, more than one point for an arc): the arc drawn
// as a polyline; a pie's wedge, the arc closed through the centre of its
// path, filled and outlined.
void DrawTracedArc(Target& target, bool pie, const raster::Box& path, const std::vector<POINT>& arc) {
    if (!pie) {
        DrawPolyline(target, arc.data(), arc.size(), false);
        return;
    }
    int64_t cx = path.left + (path.right - path.left) / 2;
    int64_t cy = path.top + (path.bottom - path.top) / 2;
    std::vector<POINT> wedge = arc;
    wedge.push_back(POINT{static_cast<LONG>(cx), static_cast<LONG>(cy)});
    raster::Spans interior;
    if (!target.brush->hollow) {
        raster::PolygonSpans(wedge.data(), wedge.size(), ALTERNATE, target.clip, interior);
        raster::Normalize(interior);
    }
    PaintInteriorAndOutline(target, std::move(interior), wedge.data(), wedge.size());
}

// An arc or pie of a figure too large to trace: the outline's pixels within
// the sector between the rays, for a pie with lines from the centre to the
// outline pixels the rays point at, widened by the pen; a pie's wedge is
// the sector of the filled figure.
void DrawSectorArc(Target& target, bool pie, const raster::Box& path, int64_t xs, int64_t ys, int64_t xe, int64_t ye) {
    const DrawingPen& pen = *target.pen;
    int w = pen.drawn ? pen.width : 1;
    raster::Clip grown = raster::Grow(target.clip, w + 1);
    raster::Spans figure, rim;
    EllipseShape(path, grown, &figure, &rim);
    raster::Normalize(figure);
    raster::Normalize(rim);
    raster::Spans thin = raster::Sector(rim, path, xs, ys, xe, ye);
    if (!pie) {
        if (!pen.drawn) return;
        raster::Normalize(thin);
        PaintPen(target, raster::Dilate(thin, w, target.clip));
        return;
    }
    POINT centre{static_cast<LONG>((path.left + path.right) / 2), static_cast<LONG>((path.top + path.bottom) / 2)};
    POINT start, end;
    if (raster::RayPixel(rim, path, xs, ys, start) && raster::RayPixel(rim, path, xe, ye, end)) {
        raster::ThinLineSpans(centre.x, centre.y, start.x, start.y, true, grown, thin);
        raster::ThinLineSpans(centre.x, centre.y, end.x, end.y, true, grown, thin);
    }
    raster::Normalize(thin);
    raster::Spans outline;
    if (pen.drawn) outline = raster::Dilate(thin, w, target.clip);
    raster::Spans wedge = raster::Sector(figure, path, xs, ys, xe, ye);
    PaintFigure(target, std::move(wedge), std::move(outline), w > 1 ? Fill::InsideOutline : Fill::UnderOutline);
}

// Arc and Pie: the curve from the start ray counter-clockwise to the end ray
// along the figure's outline; a pie closes it with lines to the centre and
// fills the wedge.
BOOL ArcOrPie(HDC dc, bool pie, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) {
    Target target;
    if (!Open(dc, target)) return FALSE;
    raster::Box box = raster::Ordered(left, top, right, bottom);
    // A box without width or height holds no curve: nothing is drawn.
    if (!target.surface || raster::Empty(box)) return TRUE;
    raster::Box path = PathBox(*target.pen, box);
    // An inside-frame pen wider than the box leaves its path no width at
    // all: GDI draws nothing, not even a pie's interior.
    if (path.right <= path.left) return TRUE;
    // The traced outline, counter-clockwise, from the start ray to the end
    // ray; a thin pen leaves out its last point, as lines leave out theirs.
    std::vector<POINT> arc;
    if (raster::ArcPoints(path, xs, ys, xe, ye, arc)) {
        // An arc of a single point draws nothing, whatever the pen.
        if (arc.empty() || (!pie && arc.size() == 1)) return TRUE;
        DrawTracedArc(target, pie, path, arc);
    } else {
        DrawSectorArc(target, pie, path, xs, ys, xe, ye);
    }
    Finish(target);
    return TRUE;
}

}  // namespace

BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    if (ShouldFail(Call::Arc)) return FALSE;
    return ArcOrPie(dc, false, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

BOOL Pie(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    if (ShouldFail(Call::Pie)) return FALSE;
    return ArcOrPie(dc, true, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

// ---------------------------------------------------------------- regions and pixels

namespace {

HRGN NewRegion(raster::Spans spans) {
    raster::Normalize(spans);
    return static_cast<HRGN>(AddObject(OBJ_REGION, Region{std::move(spans)}));
}

// Regions are kept within the coordinates a surface can have.
constexpr raster::Clip kRegionClip{-(1 << 30), -(1 << 30), 1 << 30, 1 << 30};

// Region geometry is generated for the rows and columns a surface could
// hold; a region taller than this would be mostly empty rows anyway.
raster::Clip RegionClip(const raster::Box& box) {
    // Bound the number of rows kept: at most 1 << 16 around what a surface can show.
    raster::Clip clip = kRegionClip;
    clip.top = static_cast<int32_t>(std::max<int64_t>(box.top, -(1 << 16)));
    clip.bottom = static_cast<int32_t>(std::min<int64_t>(box.bottom, 1 << 16));
    clip.left = static_cast<int32_t>(std::max<int64_t>(box.left, -(1 << 30)));
    clip.right = static_cast<int32_t>(std::min<int64_t>(box.right, 1 << 30));
    if (clip.bottom < clip.top) clip.bottom = clip.top;
    if (clip.right < clip.left) clip.right = clip.left;
    return clip;
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    if (ShouldFail(Call::CreateRectRgn)) return nullptr;
    raster::Box box = raster::Ordered(left, top, right, bottom);
    raster::Spans spans;
    raster::RectSpans(box, RegionClip(box), spans);
    return NewRegion(std::move(spans));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    if (ShouldFail(Call::CreateEllipticRgn)) return nullptr;
    raster::Box box = raster::Ordered(left, top, right, bottom);
    // A region covers the figure of the box one pixel smaller, as GDI makes
    // it; a box without width or height shrinks past itself and is put in
    // order again (one column or row before it).
    raster::Box inner = raster::Ordered(box.left, box.top, box.right - 1, box.bottom - 1);
    raster::Spans spans;
    raster::RoundedRegionSpans(inner, inner.right - inner.left, inner.bottom - inner.top, RegionClip(inner), spans);
    return NewRegion(std::move(spans));
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height) {
    if (ShouldFail(Call::CreateRoundRectRgn)) return nullptr;
    raster::Box box = raster::Ordered(left, top, right, bottom);
    // As for elliptic regions: the figure of the box one pixel smaller.
    raster::Box inner = raster::Ordered(box.left, box.top, box.right - 1, box.bottom - 1);
    raster::Spans spans;
    raster::RoundedRegionSpans(inner, std::abs(static_cast<int64_t>(width)), std::abs(static_cast<int64_t>(height)),
                               RegionClip(inner), spans);
    return NewRegion(std::move(spans));
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    if (ShouldFail(Call::CreatePolygonRgn)) return nullptr;
    if (!points || count < 0 || (fillMode != ALTERNATE && fillMode != WINDING)) return nullptr;
    raster::Spans spans;
    if (count >= 3) {
        int64_t top = points[0].y, bottom = points[0].y, left = points[0].x, right = points[0].x;
        for (int i = 1; i < count; ++i) {
            top = std::min<int64_t>(top, points[i].y);
            bottom = std::max<int64_t>(bottom, points[i].y);
            left = std::min<int64_t>(left, points[i].x);
            right = std::max<int64_t>(right, points[i].x);
        }
        raster::PolygonSpans(points, static_cast<size_t>(count), fillMode,
                             RegionClip(raster::Box{left, top, right, bottom}), spans);
    }
    return NewRegion(std::move(spans));
}

BOOL InvertRgn(HDC dc, HRGN region) {
    if (ShouldFail(Call::InvertRgn)) return FALSE;
    Target target;
    Region* rgn = LookupRegion(region);
    if (!Open(dc, target) || !rgn) return FALSE;
    if (target.surface) raster::PaintSpans(*target.surface, rgn->spans, 0, R2_NOT);
    Finish(target);
    return TRUE;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    if (ShouldFail(Call::SetPixel)) return CLR_INVALID;
    Target target;
    if (!Open(dc, target) || !target.surface || !target.surface->Contains(x, y)) return CLR_INVALID;
    target.surface->Row(y)[x] = PixelFromColorref(color & 0xFFFFFFu);
    Finish(target);
    return color & 0xFFFFFFu;
}

COLORREF GetPixel(HDC dc, int x, int y) {
    Target target;
    if (!Open(dc, target) || !target.surface || !target.surface->Contains(x, y)) return CLR_INVALID;
    return ColorrefFromPixel(target.surface->Row(y)[x]);
}
