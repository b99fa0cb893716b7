// Shape primitives of a window: point, line, rectangles, triangle, polygon,
// circle, ellipse, arc or pie, and Bezier curve, each drawn once into
// dcActive with the window's pen and brush in the style it is asked for.
//
// Every primitive first runs one message pump step. A style a primitive does
// not accept is reported and nothing is drawn. A platform call that fails is
// reported and the primitive goes on (the restore step always runs).
#include <cmath>
#include <cstdint>
#include <new>

#include "graphics.h"
#include "whole_numbers.h"

namespace {

const char* const kInvalidStyle = "Fatal Error: You have tried to use an invalid or unimplemented drawstyle!";

// Pens are inside-frame and the platform counts only 1 as success.
bool Drew(BOOL result) { return result == 1; }

// Inverts every pixel of a region on dc and lets the region go again.
void InvertRegion(HDC dc, HRGN region, const char* message) {
    if (InvertRgn(dc, region) != 1) FatalError(message);
    DeleteObject(region);
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
    HPEN setAside = penObject;
    penObject = nullptr;
    penObject = CreatePen(PS_INSIDEFRAME, 1, Packed(penColor));
    // The line leaves out its last pixel, so exactly (x, y) is set.
    DrawLine(x, y, Wrapped(int64_t{x} + 1), Wrapped(int64_t{y} + 1), STYLE_FRAME);
    if (penObject != nullptr) {
        if (DeleteObject(penObject) != 1) FatalError("Fatal Error: Failed to delete penObject in SetPen!");
        penObject = nullptr;
    }
    penObject = setAside;
}

void window::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, drawstyle style) {
    ProcessOneMessage();
    if (style != STYLE_FRAME) {
        FatalError(kInvalidStyle);
        return;
    }
    SelectStyle(style);
    if (MoveToEx(dcActive, x1, y1, nullptr) != 1) FatalError("Fatal Error: Failed to MoveToEx in DrawLine!");
    if (!Drew(LineTo(dcActive, x2, y2))) FatalError("Fatal Error: Failed to draw in DrawLine!");
    RestoreStyle();
}

void window::DrawRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, drawstyle style,
                           int32_t cornerWidth, int32_t cornerHeight) {
    ProcessOneMessage();
    bool rounded = cornerWidth != 0 || cornerHeight != 0;
    if (!rounded) {
        const char* message = nullptr;
        switch (style) {
            case STYLE_FILLED: message = "Fatal Error: Failed to draw filled style in DrawRectangle!"; break;
            case STYLE_FRAME: message = "Fatal Error: Failed to draw frame style in DrawRectangle!"; break;
            case STYLE_INVERTED: message = "Fatal Error: Failed to draw inverted style in DrawRectangle!"; break;
            default: FatalError(kInvalidStyle); return;
        }
        SelectStyle(style);
        if (!Drew(Rectangle(dcActive, x1, y1, x2, y2))) FatalError(message);
        RestoreStyle();
        return;
    }
    switch (style) {
        case STYLE_FILLED:
        case STYLE_FRAME:
            SelectStyle(style);
            if (!Drew(RoundRect(dcActive, x1, y1, x2, y2, cornerWidth, cornerHeight))) {
                FatalError(style == STYLE_FILLED
                               ? "Fatal Error: Failed to draw filled style in DrawRectangle (rounded)!"
                               : "Fatal Error: Failed to draw frame style in DrawRectangle (rounded)!");
            }
            RestoreStyle();
            break;
        case STYLE_INVERTED:
            InvertRegion(dcActive, CreateRoundRectRgn(x1, y1, x2, y2, cornerWidth, cornerHeight),
                         "Fatal Error: Failed to draw inverted style in DrawRectangle (rounded)!");
            break;
        default: FatalError(kInvalidStyle); break;
    }
}

void window::DrawTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                          drawstyle style) {
    ProcessOneMessage();
    POINT points[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
    switch (style) {
        case STYLE_FILLED:
        case STYLE_FRAME:
            SelectStyle(style);
            if (!Drew(Polygon(dcActive, points, 3))) {
                FatalError(style == STYLE_FILLED ? "Fatal Error: Failed to draw filled style in DrawTriangle!"
                                                 : "Fatal Error: Failed to draw frame style in DrawTriangle!");
            }
            RestoreStyle();
            break;
        case STYLE_INVERTED:
            InvertRegion(dcActive, CreatePolygonRgn(points, 3, WINDING),
                         "Fatal Error: Failed to draw inverted style in DrawTriangle!");
            break;
        default: FatalError(kInvalidStyle); break;
    }
}

void window::DrawPolygon(const int32_t* xs, const int32_t* ys, int count, drawstyle style) {
    // Counts below zero make an empty array (the platform refuses it as it
    // refuses one point); counts above 65,535 are cut to 65,535. Missing
    // arrays hold no points.
    int used = count < 0 ? 0 : (count > 65535 ? 65535 : count);
    if (xs == nullptr || ys == nullptr) used = 0;
    POINT* points = new (std::nothrow) POINT[used > 0 ? used : 1];
    if (points == nullptr) throw ERR_ALLOCATION;
    for (int i = 0; i < used; ++i) {
        points[i].x = xs[i];
        points[i].y = ys[i];
    }
    ProcessOneMessage();
    switch (style) {
        case STYLE_FILLED:
        case STYLE_FRAME:
            SelectStyle(style);
            if (!Drew(Polygon(dcActive, points, used))) {
                FatalError(style == STYLE_FILLED ? "Fatal Error: Failed to draw filled style in DrawPolygon!"
                                                 : "Fatal Error: Failed to draw frame style in DrawPolygon!");
            }
            RestoreStyle();
            break;
        case STYLE_INVERTED:
            InvertRegion(dcActive, CreatePolygonRgn(points, used, WINDING),
                         "Fatal Error: Failed to draw inverted style in DrawPolygon!");
            break;
        default: FatalError(kInvalidStyle); break;
    }
    delete[] points;
}

void window::DrawCircle(int32_t cx, int32_t cy, int32_t radius, drawstyle style) {
    ProcessOneMessage();
    int32_t left = Wrapped(int64_t{cx} - radius), top = Wrapped(int64_t{cy} - radius);
    int32_t right = Wrapped(int64_t{cx} + radius), bottom = Wrapped(int64_t{cy} + radius);
    switch (style) {
        case STYLE_FILLED:
        case STYLE_FRAME:
            SelectStyle(style);
            if (!Drew(Ellipse(dcActive, left, top, right, bottom))) {
                FatalError(style == STYLE_FILLED ? "Fatal Error: Failed to draw filled style in DrawCircle!"
                                                 : "Fatal Error: Failed to draw frame style in DrawCircle!");
            }
            RestoreStyle();
            break;
        case STYLE_INVERTED:
            InvertRegion(dcActive, CreateEllipticRgn(left, top, right, bottom),
                         "Fatal Error: Failed to draw inverted style in DrawCircle!");
            break;
        default: FatalError(kInvalidStyle); break;
    }
}

void window::DrawEllipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2, drawstyle style) {
    ProcessOneMessage();
    switch (style) {
        case STYLE_FILLED:
        case STYLE_FRAME:
            SelectStyle(style);
            if (!Drew(Ellipse(dcActive, x1, y1, x2, y2))) {
                FatalError(style == STYLE_FILLED ? "Fatal Error: Failed to draw filled style in DrawEllipse!"
                                                 : "Fatal Error: Failed to draw frame style in DrawEllipse!");
            }
            RestoreStyle();
            break;
        case STYLE_INVERTED:
            InvertRegion(dcActive, CreateEllipticRgn(x1, y1, x2, y2),
                         "Fatal Error: Failed to draw inverted style in DrawEllipse!");
            break;
        default: FatalError(kInvalidStyle); break;
    }
}

void window::DrawArc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, double start, double end,
                     drawstyle style, int unit) {
    ProcessOneMessage();
    int32_t rx = Wrapped((int64_t{x2} - x1) / 2);
    int32_t ry = Wrapped((int64_t{y2} - y1) / 2);
    int32_t cx = Wrapped((int64_t{x1} + x2) / 2);
    int32_t cy = Wrapped((int64_t{y1} + y2) / 2);
    if (unit != 1) {
        start = start * (3.141592653589793 / 180.0);
        end = end * (3.141592653589793 / 180.0);
    }
    int32_t xs = Wrapped(int64_t{cx} + Truncated(rx * std::cos(start)));
    int32_t ys = Wrapped(int64_t{cy} - Truncated(ry * std::sin(start)));
    int32_t xe = Wrapped(int64_t{cx} + Truncated(rx * std::cos(end)));
    int32_t ye = Wrapped(int64_t{cy} - Truncated(ry * std::sin(end)));
    switch (style) {
        case STYLE_FILLED:
            SelectStyle(style);
            if (!Drew(Pie(dcActive, x1, y1, x2, y2, xs, ys, xe, ye)))
                FatalError("Fatal Error: Failed to draw filled style in DrawArc!");
            RestoreStyle();
            break;
        case STYLE_FRAME:
            SelectStyle(style);
            if (!Drew(Arc(dcActive, x1, y1, x2, y2, xs, ys, xe, ye)))
                FatalError("Fatal Error: Failed to draw frame style in DrawArc!");
            RestoreStyle();
            break;
        case STYLE_INVERTED:
            SelectStyle(style);
            if (!Drew(Pie(dcActive, x1, y1, x2, y2, xs, ys, xe, ye)))
                FatalError("Fatal Error: Failed to draw inverted style in DrawArc!");
            RestoreStyle();
            break;
        default: FatalError(kInvalidStyle); break;
    }
}

void window::DrawBezier(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                        int32_t x4, int32_t y4, drawstyle style) {
    ProcessOneMessage();
    if (style != STYLE_FRAME) {
        FatalError(kInvalidStyle);
        return;
    }
    POINT points[4] = {{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}};
    SelectStyle(style);
    if (!Drew(PolyBezier(dcActive, points, 4))) FatalError("Fatal Error: Failed to draw in DrawBezier!");
    RestoreStyle();
}
