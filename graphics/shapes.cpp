// Shape primitives of a window: point, line, rectangles, triangle, polygon,
// circle, ellipse, arc or pie, and Bezier curve, each drawn once into
// dcActive with the window's pen and brush in the style it is asked for.
//
// Every primitive first runs one message pump step. A style a primitive does
// not accept is reported and nothing is drawn. A platform call that fails is
// reported and the primitive goes on (the restore step always runs).
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <type_traits>

#include "diagnostics.h"
#include "graphics_internal.h"
#include "whole_numbers.h"

namespace {

const char* const kInvalidStyle = "Fatal Error: You have tried to use an invalid or unimplemented drawstyle!";

// Converts the angles of DrawArc given in degrees.
constexpr double kRadiansPerDegree = 3.141592653589793 / 180.0;

// Pens are inside-frame and the platform counts only 1 as success.
bool Drew(BOOL result) { return result == 1; }

// The report of a shape that the platform refused to draw in a style:
// "Fatal Error: Failed to draw filled style in DrawCircle!".
void ReportFailedDraw(drawstyle style, const char* operation) {
    const char* word = style == STYLE_FILLED ? "filled" : style == STYLE_FRAME ? "frame" : "inverted";
    FatalError((std::string("Fatal Error: Failed to draw ") + word + " style in " + operation + "!").c_str());
}

// Marks a shape whose inverted style is drawn like the others, through the
// inverting pen and brush, rather than through a region.
struct NoRegion {};

// The box a shape is drawn in, for the warning about shapes drawn white on
// white.
struct Box {
    int32_t left, top, right, bottom;
};

// The box around `count` points.
Box BoxAround(const POINT* points, int count) {
    Box box = {0, 0, -1, -1};
    for (int i = 0; i < count; ++i) {
        const int32_t x = points[i].x, y = points[i].y;
        if (i == 0) {
            box = {x, y, x, y};
            continue;
        }
        box = {x < box.left ? x : box.left, y < box.top ? y : box.top, x > box.right ? x : box.right,
               y > box.bottom ? y : box.bottom};
    }
    return box;
}

// Warns when the shape about to be drawn in `style` would be white on white.
void WarnIfInvisible(window& w, drawstyle style, const Box& box) {
    if (style == STYLE_INVERTED || box.right < box.left) return;
    const bool brush = style == STYLE_FILLED;
    if (graphics_diagnostics::MayBeInvisible(w, brush))
        graphics_diagnostics::CheckVisible(w, brush, box.left, box.top, box.right, box.bottom);
}

// Draws one closed shape in `style`. Filled and frame (and inverted without
// a region) select the style into dcActive, draw with draw(dc), report a
// refusal and put back what the selection displaced; inverted with a region
// inverts every pixel of the region that makeRegion() creates and lets the
// region go again. Any other style is reported and nothing is drawn.
template <class Draw, class MakeRegion = NoRegion>
void DrawInStyle(window& w, drawstyle style, const char* operation, const Box& box, Draw draw,
                 MakeRegion makeRegion = NoRegion()) {
    if (style != STYLE_FILLED && style != STYLE_FRAME && style != STYLE_INVERTED) {
        FatalError(kInvalidStyle);
        return;
    }
    WarnIfInvisible(w, style, box);
    HDC dc = GraphicsInternals::ActiveDC(w);
    if constexpr (!std::is_same_v<MakeRegion, NoRegion>) {
        if (style == STYLE_INVERTED) {
            HRGN region = makeRegion();
            if (InvertRgn(dc, region) != 1) ReportFailedDraw(style, operation);
            DeleteObject(region);
            return;
        }
    }
    GraphicsInternals::SelectStyle(w, style);
    if (!Drew(draw(dc))) ReportFailedDraw(style, operation);
    GraphicsInternals::RestoreStyle(w);
}

// Sums and differences of coordinates are taken in 64 bits and wrapped back
// to 32 like the machine's own arithmetic, so wild coordinates cannot make
// them undefined.
int32_t Wrapped(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

COLORREF Packed(const color& c) {
    return static_cast<COLORREF>(c.red) | (static_cast<COLORREF>(c.green) << 8) |
           (static_cast<COLORREF>(c.blue) << 16);
}

}  // namespace

void window::DrawPoint(int32_t x, int32_t y) {
    const graphics_diagnostics::Call call("DrawPoint", KIVA_CALLER());
    HPEN setAside = penObject;
    penObject = nullptr;
    penObject = CreatePen(PS_INSIDEFRAME, 1, Packed(penColor));
    // The line leaves out its last pixel, so exactly (x, y) is set.
    DrawLine(x, y, Wrapped(int64_t{x} + 1), Wrapped(int64_t{y} + 1), STYLE_FRAME);
    if (penObject != nullptr) DeleteOrReport(penObject, "Fatal Error: Failed to delete penObject in SetPen!");
    penObject = setAside;
}

void window::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, drawstyle style) {
    const graphics_diagnostics::Call call("DrawLine", KIVA_CALLER());
    ProcessOneMessage();
    if (style != STYLE_FRAME) {
        FatalError(kInvalidStyle);
        return;
    }
    const POINT ends[2] = {{x1, y1}, {x2, y2}};
    WarnIfInvisible(*this, style, BoxAround(ends, 2));
    SelectStyle(style);
    if (MoveToEx(dcActive, x1, y1, nullptr) != 1) FatalError("Fatal Error: Failed to MoveToEx in DrawLine!");
    if (!Drew(LineTo(dcActive, x2, y2))) FatalError("Fatal Error: Failed to draw in DrawLine!");
    RestoreStyle();
}

void window::DrawRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, drawstyle style,
                           int32_t cornerWidth, int32_t cornerHeight) {
    const graphics_diagnostics::Call call("DrawRectangle", KIVA_CALLER());
    ProcessOneMessage();
    const Box box = {x1, y1, x2, y2};
    if (cornerWidth == 0 && cornerHeight == 0) {
        DrawInStyle(*this, style, "DrawRectangle", box,
                    [&](HDC dc) { return Rectangle(dc, x1, y1, x2, y2); });
        return;
    }
    DrawInStyle(
        *this, style, "DrawRectangle (rounded)", box,
        [&](HDC dc) { return RoundRect(dc, x1, y1, x2, y2, cornerWidth, cornerHeight); },
        [&] { return CreateRoundRectRgn(x1, y1, x2, y2, cornerWidth, cornerHeight); });
}

void window::DrawTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                          drawstyle style) {
    const graphics_diagnostics::Call call("DrawTriangle", KIVA_CALLER());
    ProcessOneMessage();
    POINT points[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
    DrawInStyle(*this, style, "DrawTriangle", BoxAround(points, 3), [&](HDC dc) { return Polygon(dc, points, 3); },
                [&] { return CreatePolygonRgn(points, 3, WINDING); });
}

void window::DrawPolygon(const int32_t* xs, const int32_t* ys, int count, drawstyle style) {
    const graphics_diagnostics::Call call("DrawPolygon", KIVA_CALLER());
    // Counts below zero make an empty array (the platform refuses it as it
    // refuses one point); counts above 65,535 are cut to 65,535. Missing
    // arrays hold no points.
    int used = count < 0 ? 0 : (count > 65535 ? 65535 : count);
    if (xs == nullptr || ys == nullptr) used = 0;
    // Owned here, so that the array is freed whichever way the drawing ends
    // (an error report from the message step or the drawing throws).
    std::unique_ptr<POINT[]> points(new (std::nothrow) POINT[used > 0 ? used : 1]);
    if (points == nullptr) throw ERR_ALLOCATION;
    for (int i = 0; i < used; ++i) {
        points[i].x = xs[i];
        points[i].y = ys[i];
    }
    ProcessOneMessage();
    DrawInStyle(
        *this, style, "DrawPolygon", BoxAround(points.get(), used),
        [&](HDC dc) { return Polygon(dc, points.get(), used); },
        [&] { return CreatePolygonRgn(points.get(), used, WINDING); });
}

void window::DrawCircle(int32_t cx, int32_t cy, int32_t radius, drawstyle style) {
    const graphics_diagnostics::Call call("DrawCircle", KIVA_CALLER());
    ProcessOneMessage();
    int32_t left = Wrapped(int64_t{cx} - radius), top = Wrapped(int64_t{cy} - radius);
    int32_t right = Wrapped(int64_t{cx} + radius), bottom = Wrapped(int64_t{cy} + radius);
    DrawInStyle(
        *this, style, "DrawCircle", {left, top, right, bottom},
        [&](HDC dc) { return Ellipse(dc, left, top, right, bottom); },
        [&] { return CreateEllipticRgn(left, top, right, bottom); });
}

void window::DrawEllipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2, drawstyle style) {
    const graphics_diagnostics::Call call("DrawEllipse", KIVA_CALLER());
    ProcessOneMessage();
    DrawInStyle(*this, style, "DrawEllipse", {x1, y1, x2, y2}, [&](HDC dc) { return Ellipse(dc, x1, y1, x2, y2); },
                [&] { return CreateEllipticRgn(x1, y1, x2, y2); });
}

void window::DrawArc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, double start, double end,
                     drawstyle style, int unit) {
    const graphics_diagnostics::Call call("DrawArc", KIVA_CALLER());
    ProcessOneMessage();
    int32_t rx = Wrapped((int64_t{x2} - x1) / 2);
    int32_t ry = Wrapped((int64_t{y2} - y1) / 2);
    int32_t cx = Wrapped((int64_t{x1} + x2) / 2);
    int32_t cy = Wrapped((int64_t{y1} + y2) / 2);
    if (unit != 1) {
        start = start * kRadiansPerDegree;
        end = end * kRadiansPerDegree;
    }
    int32_t xs = Wrapped(int64_t{cx} + Truncated(rx * std::cos(start)));
    int32_t ys = Wrapped(int64_t{cy} - Truncated(ry * std::sin(start)));
    int32_t xe = Wrapped(int64_t{cx} + Truncated(rx * std::cos(end)));
    int32_t ye = Wrapped(int64_t{cy} - Truncated(ry * std::sin(end)));
    // Filled and inverted draw the pie, frame only its arc.
    DrawInStyle(*this, style, "DrawArc", {x1, y1, x2, y2}, [&](HDC dc) {
        return style == STYLE_FRAME ? Arc(dc, x1, y1, x2, y2, xs, ys, xe, ye)
                                    : Pie(dc, x1, y1, x2, y2, xs, ys, xe, ye);
    });
}

void window::DrawBezier(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                        int32_t x4, int32_t y4, drawstyle style) {
    const graphics_diagnostics::Call call("DrawBezier", KIVA_CALLER());
    ProcessOneMessage();
    if (style != STYLE_FRAME) {
        FatalError(kInvalidStyle);
        return;
    }
    POINT points[4] = {{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}};
    WarnIfInvisible(*this, style, BoxAround(points, 4));
    SelectStyle(style);
    if (!Drew(PolyBezier(dcActive, points, 4))) FatalError("Fatal Error: Failed to draw in DrawBezier!");
    RestoreStyle();
}
