// The canvas: shapes as cairo paths, painted on a cairo image surface.
#include "canvas.h"

#include <cmath>
#include <cstdint>
#include <utility>

namespace {

const double kPi = 3.14159265358979;

void SetFillRule(cairo_t* cr, bool evenOdd) {
    cairo_set_fill_rule(cr, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
}

// The points within r of the segment from a to b, traced the way circles go.
void TraceStadium(cairo_t* cr, Point a, Point b, float r) {
    double angle = std::atan2(b.y - a.y, b.x - a.x);
    cairo_new_sub_path(cr);
    cairo_arc(cr, b.x, b.y, r, angle - kPi / 2, angle + kPi / 2);
    cairo_arc(cr, a.x, a.y, r, angle + kPi / 2, angle + 3 * kPi / 2);
    cairo_close_path(cr);
}

Shape Traced(std::function<void(cairo_t*)> trace, bool evenOdd = false) {
    Shape shape;
    shape.trace = std::move(trace);
    shape.evenOdd = evenOdd;
    return shape;
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

Shape Rect(float x0, float y0, float x1, float y1) {
    return Traced([=](cairo_t* cr) { cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0); });
}

Shape Ellipse(float cx, float cy, float rx, float ry) {
    return Traced([=](cairo_t* cr) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, rx, ry);
        cairo_new_sub_path(cr);
        cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
        cairo_close_path(cr);
        cairo_restore(cr);
    });
}

Shape Circle(float cx, float cy, float r) { return Ellipse(cx, cy, r, r); }

Shape Polygon(std::vector<Point> points) {
    return Traced(
        [points = std::move(points)](cairo_t* cr) {
            cairo_new_sub_path(cr);
            for (const Point& p : points) cairo_line_to(cr, p.x, p.y);
            cairo_close_path(cr);
        },
        true);
}

Shape Stroke(Point a, Point b, float width) { return Path({a, b}, width); }

Shape Path(std::vector<Point> points, float width) {
    return Traced([points = std::move(points), r = width / 2](cairo_t* cr) {
        for (size_t i = 0; i + 1 < points.size(); ++i) TraceStadium(cr, points[i], points[i + 1], r);
        if (points.size() == 1) TraceStadium(cr, points[0], points[0], r);
    });
}

Shape Union(std::vector<Shape> shapes) {
    return Traced([shapes = std::move(shapes)](cairo_t* cr) {
        for (const Shape& shape : shapes) shape.trace(cr);
    });
}

Shape Hollow(Shape outer, Shape inner) {
    return Traced(
        [outer = std::move(outer.trace), inner = std::move(inner.trace)](cairo_t* cr) {
            outer(cr);
            inner(cr);
        },
        true);
}

Shape Intersect(Shape a, Shape b) {
    b.clip = [a = std::move(a), before = std::move(b.clip)](cairo_t* cr) {
        if (before) before(cr);
        if (a.clip) a.clip(cr);
        cairo_new_path(cr);
        a.trace(cr);
        SetFillRule(cr, a.evenOdd);
        cairo_clip(cr);
    };
    return b;
}

Shape Moved(Shape shape, float dx, float dy) {
    auto moved = [dx, dy](std::function<void(cairo_t*)> draw) -> std::function<void(cairo_t*)> {
        if (!draw) return draw;
        return [draw = std::move(draw), dx, dy](cairo_t* cr) {
            cairo_translate(cr, dx, dy);
            draw(cr);
            cairo_translate(cr, -dx, -dy);
        };
    };
    shape.trace = moved(std::move(shape.trace));
    shape.clip = moved(std::move(shape.clip));
    return shape;
}

Gradient Vertical(float y0, float y1, Rgb top, Rgb bottom) { return {{0, y0}, {0, y1}, {{0, top, 1}, {1, bottom, 1}}}; }

Canvas::Canvas(int width, int height)
    : width(width),
      height(height),
      surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height), cairo_surface_destroy),
      cr(cairo_create(surface.get()), cairo_destroy) {
    cairo_set_source_rgb(cr.get(), 1, 1, 1);
    cairo_paint(cr.get());
}

void Canvas::Paint(const Shape& shape, Rgb colour, float opacity) {
    cairo_pattern_t* pattern = cairo_pattern_create_rgba(colour.r / 255, colour.g / 255, colour.b / 255, opacity);
    Fill(shape, pattern);
    cairo_pattern_destroy(pattern);
}

void Canvas::Paint(const Shape& shape, const Gradient& gradient, float opacity) {
    cairo_pattern_t* pattern =
        cairo_pattern_create_linear(gradient.from.x, gradient.from.y, gradient.to.x, gradient.to.y);
    for (const Gradient::Stop& stop : gradient.stops)
        cairo_pattern_add_color_stop_rgba(pattern, stop.at, stop.colour.r / 255, stop.colour.g / 255,
                                          stop.colour.b / 255, stop.opacity * opacity);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    Fill(shape, pattern);
    cairo_pattern_destroy(pattern);
}

void Canvas::Fill(const Shape& shape, cairo_pattern_t* pattern) {
    cairo_t* c = cr.get();
    cairo_save(c);
    if (shape.clip) shape.clip(c);
    cairo_new_path(c);
    shape.trace(c);
    SetFillRule(c, shape.evenOdd);
    cairo_set_source(c, pattern);
    cairo_fill(c);
    cairo_restore(c);
}

void Canvas::Place(const Canvas& source, int x, int y) {
    cairo_surface_flush(source.surface.get());
    cairo_save(cr.get());
    cairo_set_source_surface(cr.get(), source.surface.get(), x, y);
    cairo_rectangle(cr.get(), x, y, source.width, source.height);
    cairo_fill(cr.get());
    cairo_restore(cr.get());
}

std::vector<unsigned char> Canvas::Bytes() const {
    cairo_surface_flush(surface.get());
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    int stride = cairo_image_surface_get_stride(surface.get());
    std::vector<unsigned char> bytes;
    bytes.reserve(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < width; ++x) {  // 0x00RRGGBB
            bytes.push_back(static_cast<unsigned char>(row[x] >> 16));
            bytes.push_back(static_cast<unsigned char>(row[x] >> 8));
            bytes.push_back(static_cast<unsigned char>(row[x]));
        }
    }
    return bytes;
}
